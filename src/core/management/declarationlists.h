// The lists of FrmContAbrir (registered declarations) and FrmContAbrirEnv (sent declarations):
// their statements, the user condition, the texts of each mode and the grid headings.
//
// The statements keep the host's text; the only values in them, the form code and the user,
// pass through sqlText. A user of type "0" sees every taxpayer; any other user, and a user
// without a CLAVES row, only the taxpayers whose CONT.Usuario is theirs.
#pragma once

#include "core/data/database.h"

#include <QString>
#include <QStringList>

namespace qz {

// Result columns of the registered list (FrmContAbrir).
namespace registeredcol {
constexpr int kRuc = 0, kNombre = 1, kPeriodo = 2, kFormulario = 3, kEstado = 4;
}
// Result columns of the sent list (FrmContAbrirEnv).
namespace sentcol {
constexpr int kRuc = 0, kNombre = 1, kPeriodo = 2, kFormulario = 3, kNorden = 4, kFecEnv = 5,
              kControl = 6, kCorrel = 7;
}

// " AND B.USUARIO='<usuario>'", or empty text when tipo is "0".
QString listUserCondition(const QString &usuario, const QString &tipo);
// The user's type for the lists: CLAVES.Tipo, "1" without a row or when CLAVES cannot be read
// (the narrower list).
QString listUserType(Database &db, const QString &usuario);

// The statements with a user of the given type.
QString FrmContAbrirSql(const QString &formulario, const QString &usuario, const QString &tipo);
QString FrmContAbrirEnvSql(const QString &formulario, const QString &usuario, const QString &tipo);

// The lists for a user, the type read from CLAVES. Throw DbError.
QueryResult registeredDeclarations(Database &db, const QString &formulario, const QString &usuario);
QueryResult sentDeclarations(Database &db, const QString &formulario, const QString &usuario);

// What a dialog shows in one mode.
struct ListDialogTexts {
    QString caption;
    QString prompt;
    QString actionButton;        // button 0
    bool showVisualizar = false; // button 2, FrmContAbrirEnv in recovery mode only
};

// FrmContAbrir by iOpcion (1 modify, 3 delete); other values give empty texts.
ListDialogTexts FrmContAbrirTexts(int iOpcion);
// FrmContAbrirEnv by iModo (1 register, 3 delete) and bRecuperar (button "Recuperar" and
// "&Visualizar" over the texts of mode 1); other modes give empty texts.
ListDialogTexts FrmContAbrirEnvTexts(int iModo, bool bRecuperar);

QStringList FrmContAbrirHeadings();
// Column 7 (Correl) is hidden in the grid; its heading is still listed.
QStringList FrmContAbrirEnvHeadings();

} // namespace qz
