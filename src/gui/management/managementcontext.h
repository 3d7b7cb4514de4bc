// What the management dialogs read of declmod's run: the connection, the message service, the
// text-utility component, the main window's status bar (may be null in tests), the period the
// declaration form shares, the form code, the user, the command mode and flags.
#pragma once

#include "core/components/textutility.h"
#include "core/data/database.h"
#include "core/data/messenger.h"

#include <QString>

namespace qz {

class BarradeEstadoZEB;

struct ManagementContext {
    Database &db;
    Messenger &messenger;
    const TextUtility &textUtility;
    BarradeEstadoZEB *statusBar = nullptr;
    QString *sPeriodoActual = nullptr;
    QString formulario = QStringLiteral("0731");
    QString usuario;
    int iModo = 0;
    bool bRegistraOrden = false;
    bool bRecuperar = false;
};

} // namespace qz
