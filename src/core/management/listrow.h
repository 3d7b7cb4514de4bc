// What the management dialogs read from the selected row of their lists, each value read as
// the host reads it (trimmed or as stored), and the error box of FrmContAbrirEnv's list.
#pragma once

#include "core/data/dberror.h"
#include "core/management/declarationlists.h"
#include "core/management/dialogmessage.h"
#include "core/management/recovery.h"

#include <QString>

namespace qz {

// The four fields of the status-bar publisher, in its order.
struct StatusFields {
    QString ruc;
    QString nombre;
    QString periodo;
    QString formulario;

    bool operator==(const StatusFields &) const = default;
};

// A row change in either dialog: number, name and period trimmed, and the form code.
StatusFields rowStatus(const ListRow &row, const QString &formulario);
// "&Salir" of FrmContAbrir: empty number and name, the row's period as stored, the form code.
// Without a row (an empty list) the period is empty.
StatusFields FrmContAbrirSalirStatus(const ListRow *row, const QString &formulario);
// "&Salir" of FrmContAbrirEnv: empty number and name, then the form code in the period's place
// and the row's period (trimmed) in the form code's: the host passes them in this order.
StatusFields FrmContAbrirEnvSalirStatus(const ListRow *row, const QString &formulario);

// The declaration "&Modificar" opens: number, name and period of the row as stored.
struct RegisteredOpening {
    QString ruc;
    QString razon;
    QString periodo;
};
RegisteredOpening registeredOpening(const ListRow &row);

// The shared routine that shows a sent declaration takes five values in this order: number
// (trimmed), name (trimmed), the sent flag (true), the sending number (column 7) and the control
// number (trimmed). The declaration form's load also reads the row's period and order number.
struct SentOpening {
    QString ruc;
    QString razon;
    bool historico = true;
    QString correl;
    QString numControl;
    QString periodo;
    QString numOrden;
};
SentOpening sentOpening(const ListRow &row);

// FrmRecuperar's "Datos Origen": number, name, order number and sending date (trimmed text).
struct RecoverySource {
    QString ruc;
    QString razon;
    QString nroOrden;
    QString fechaEnvio;
};
RecoverySource recoverySource(const ListRow &row);
// The sending "&Recuperar" copies: the number trimmed (the "RUC :" field), the period
// (column 2) and the sending number (column 7), both trimmed.
SentDeclaration recoveryTarget(const ListRow &row, const QString &formulario);

// A date as the host turns it into text: "dd/mm/yyyy", with " hh:mm:ss" after it unless the
// time is midnight; any other value as its text, trimmed.
QString hostDateText(const Value &value);

// The box of an error while FrmContAbrirEnv loads its list: title "Error", the engine's
// description, a line feed and the number after one blank (the host's text of a number).
DialogMessage listLoadErrorBox(const DbError &error);

} // namespace qz
