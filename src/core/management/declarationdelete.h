// "&Eliminar" of FrmContAbrir (a registered declaration) and of FrmContAbrirEnv (one sending of
// a sent declaration): the questions the window asks, the statements in their defined order,
// and the deletes.
//
// Each delete runs its statements inside one BEGIN IMMEDIATE transaction: when one fails, the
// ones before it are rolled back, every row stays in place and the DbError reaches the window,
// which shows it in the standard error box (errorBox in dialogmessage.h).
#pragma once

#include "core/data/database.h"
#include "core/management/declarationlists.h"
#include "core/management/dialogmessage.h"

#include <QString>
#include <QStringList>

namespace qz {

// "¿Confirma que va a eliminar la declaración de", two CR LF, the name trimmed and "?"; question
// icon, Yes/No, No the default, title the dialog's caption "Eliminar Declaraciones".
DialogMessage registeredDeleteQuestion(const QString &nombre);
// "¿Confirma que va a eliminar la declaración seleccionada?", the same buttons, title
// "Eliminar Declaraciones Enviadas".
DialogMessage sentDeleteQuestion();

// DET, CAB, F731EMPRESAS and F731PORCENTAJE of one taxpayer, period and form, in that order.
QStringList registeredDeleteStatements(const QString &ruc, const QString &periodo,
                                       const QString &formulario);
// HDET, HCAB and HF731EMPRESAS of one sending (its CORREL), in that order.
QStringList sentDeleteStatements(const QString &ruc, const QString &periodo,
                                 const QString &formulario, const QString &correl);

// Run the statements above as one transaction; throw DbError after rolling back.
void deleteRegistered(Database &db, const QString &ruc, const QString &periodo,
                      const QString &formulario);
void deleteSent(Database &db, const QString &ruc, const QString &periodo, const QString &formulario,
                const QString &correl);

// The same with the values of a row of the dialog's list, read as the dialog reads them: the
// registered list's number (column 0) and period (column 2) as they stand; the sent list's
// number (column 0), period (column 2, trimmed) and sending number (column 7).
void deleteRegisteredRow(Database &db, const QueryResult &list, int row, const QString &formulario);
void deleteSentRow(Database &db, const QueryResult &list, int row, const QString &formulario);
// The same with a row of a batch (declarationlists.h), as the dialogs' grids hold them.
void deleteRegisteredRow(Database &db, const ListRow &row, const QString &formulario);
void deleteSentRow(Database &db, const ListRow &row, const QString &formulario);

} // namespace qz
