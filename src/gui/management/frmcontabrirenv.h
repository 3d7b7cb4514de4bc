// FrmContAbrirEnv: the sent declarations of the form. By the command that opened it: register
// the order number KORVA gave (iModo 1, "&Registrar", through the declaration window's sent
// view), delete one sending (iModo 3), or, with bRecuperar, recover one into the working tables
// ("Recuperar", FrmRecuperar) or view it ("&Visualizar").
#pragma once

#include "gui/management/listdialog.h"

namespace qz {

class FrmContAbrirEnv final : public ManagementListDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 1012;

    FrmContAbrirEnv(const ManagementContext &context, QWidget *mainWindow);

protected:
    void action(int index) override;
    StatusFields salirStatus(const ListRow *row) const override;
    DialogMessage loadErrorBox(const DbError &error) const override;

private:
    // The shared routine that shows the selected sent declaration in the declaration window.
    void showSent();
    void recuperar();
    void eliminar();
};

} // namespace qz
