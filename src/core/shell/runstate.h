// declmod's run state: the few values the main window sets at start and the other windows
// read for the whole run (configuration paths, user, form code, version, the command mode and
// flags), the one database connection and the one text-utility component.
#pragma once

#include "core/components/textutility.h"
#include "core/data/database.h"

#include <QString>

namespace qz {

struct RunState {
    QString sSysPath;     // SysPath, also the current directory
    QString sBaseDatos;   // the shared database file
    QString sDirReportes; // SysPath & "RPT"
    QString sUsuario;     // SysUser
    QString sFormulario = QStringLiteral("0731");
    QString sPeriodoActual; // the period shown on the status bar
    QString sVersion = QStringLiteral("1.3");
    QString sFechaVersion = QStringLiteral("25/08/2011"); // "dd/mm/yyyy"
    int iModo = 0;                                        // which command opened the dialog
    bool bRegistraOrden = false;
    bool bRecuperar = false;
    bool bImprimeEnviada = false;
    Database db;             // open from the main window's load to the exit
    TextUtility textUtility; // created before anything else
};

} // namespace qz
