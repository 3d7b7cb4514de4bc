// FrmRecuperar: the recovery of one sent declaration into the working tables. "Datos Origen"
// shows the chosen sending read-only; "Al Periodo" takes a destination period that is checked
// but, as defined, not used: the copy goes to the sending's own period. "&Recuperar" asks the
// text utility's approval and runs RecuperarDeclaracion (core/management/recovery.h); several
// recoveries may run one after another.
#pragma once

#include "core/components/textutility.h"
#include "core/data/database.h"
#include "core/data/messenger.h"
#include "core/management/declarationlists.h"

#include "gui/widgets/helpdialog.h"

#include <map>

class QLineEdit;
class QPushButton;

namespace qz {

class FrmRecuperar final : public HelpDialog {
    Q_OBJECT
public:
    enum class Field { Ruc, Razon, NroOrden, FechaEnvio, PeriodoOrigen };
    // The sent-declarations page, which describes the recovery.
    static constexpr int kHelpTopic = 1012;

    // row: the selected row of the sent-declarations list.
    FrmRecuperar(Database &db, Messenger &messenger, const TextUtility &utility, QString formulario,
                 ListRow row, QWidget *mainWindow);

    QLineEdit *field(Field f) const { return fields_.at(f); }
    QLineEdit *periodoDestino() const { return periodoDestino_; }
    QPushButton *recuperarButton() const { return recuperar_; }
    QPushButton *salirButton() const { return salir_; }

    // "&Recuperar": true when the declaration was recovered (its outcome has been shown).
    bool CmdRecuperar_Click();

private:
    void checkPeriodoDestino();

    Database &db_;
    Messenger &messenger_;
    const TextUtility &utility_;
    QString formulario_;
    ListRow row_;
    std::map<Field, QLineEdit *> fields_;
    QLineEdit *periodoDestino_ = nullptr;
    QPushButton *recuperar_ = nullptr;
    QPushButton *salir_ = nullptr;
};

} // namespace qz
