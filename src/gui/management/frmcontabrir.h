// FrmContAbrir: the registered (saved, not yet sent) declarations of the form, to modify one
// in the declaration window (iOpcion 1, "&Modificar") or to delete one with all its rows
// (iOpcion 3, "&Eliminar").
#pragma once

#include "gui/management/listdialog.h"

namespace qz {

class FrmContAbrir final : public ManagementListDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 1011;

    FrmContAbrir(const ManagementContext &context, int iOpcion, QWidget *mainWindow);

    int iOpcion() const { return iOpcion_; }

protected:
    void action(int index) override;
    StatusFields salirStatus(const ListRow *row) const override;
    DialogMessage loadErrorBox(const DbError &error) const override;

private:
    void modificar();
    void eliminar();

    int iOpcion_;
};

} // namespace qz
