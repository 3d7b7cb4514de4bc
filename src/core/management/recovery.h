// FrmRecuperar without its window: the recovery of one sent declaration into the working
// tables, its statements, its messages and the check of the "Periodo Destino" entry.
//
// The tables are the rows of envio_t for the form except "control" (any letter case); for each
// working table T the history table is "H" & T. The deletes of the declaration's rows and the
// copy run as one BEGIN IMMEDIATE transaction: a failure rolls everything back and is reported
// (the host skipped errors and still reported success). A column of the history table that the
// working table lacks (CORREL, and in CAB also CONTROL) is not copied: that is intended.
//
// The destination period is checked but not used: the copy goes to the sending's own period.
#pragma once

#include "core/components/textutility.h"
#include "core/data/database.h"
#include "core/data/messenger.h"
#include "core/management/dialogmessage.h"

#include <QDate>
#include <QString>

#include <optional>

namespace qz {

// The sent declaration to recover: form, taxpayer number, period and sending number.
struct SentDeclaration {
    QString formulario;
    QString ruc;
    QString periodo;
    QString correl;
};

// The statements of the recovery, as the host writes them.
QString activeDeclarationSql(const SentDeclaration &d); // SELECT * FROM CAB of the period
QString recoveryTablesSql(const QString &formulario);   // tabla_o of envio_t but "control"
QString recoveryDeleteSql(const QString &table, const SentDeclaration &d);
QString recoveryHistorySql(const QString &table, const SentDeclaration &d);
QString recoveryTargetSql(const QString &table, const SentDeclaration &d);

// "Periodo destino ya tiene una declaración activa. ¿Desea sobreescribirla?", question icon,
// Yes/No, title "Recuperar".
DialogMessage overwriteQuestion();

// Recover: when CAB already holds the declaration, asks overwriteQuestion and returns false on
// No; otherwise deletes and copies every table in one transaction and returns true. Throws
// DbError (everything rolled back) when a statement fails or envio_t names a table that is not
// a plain name.
bool Recover(Database &db, Messenger &messenger, const SentDeclaration &d);

// "&Recuperar" from the approval on: asks the text utility's recovery approval (no: nothing
// happens, false), runs Recover and shows its outcome with the caption "Recuperar Declaración":
// "Se termino de recuperar la información satisfactoriamente." when it ran; "No se recupero la
// información." when the user declined, and, followed by the error's number and description,
// when it failed. Returns true only when the declaration was recovered.
bool RecuperarDeclaracion(Database &db, Messenger &messenger, const TextUtility &utility,
                          const SentDeclaration &d);

// The caption of FrmRecuperar, the title of its messages.
QString FrmRecuperarCaption();

// True when the "Periodo Destino" text (mask "##/####") has no "_" left; only then is it checked.
bool periodoDestinoCompleto(const QString &text);
// The host's check of a complete "MM/YYYY": invalid when YYYYMM is after the month of today,
// when it compares lower than the text "1993001" character by character (any month before
// January 1993), or when the month is not 1 to 12.
bool periodoDestinoValido(const QString &text, const QDate &today);
// For the window: the critical "El periodo no es valido." box when the complete text is
// invalid today (qz::today()); nullopt when it is valid or not complete yet.
std::optional<DialogMessage> checkPeriodoDestino(const QString &text);

} // namespace qz
