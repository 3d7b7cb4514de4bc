// The registered-declarations dialog.
#include "gui/management/frmcontabrir.h"

#include "core/management/declarationdelete.h"
#include "gui/declaration/frm731.h"
#include "gui/widgets/windowroutines.h"

namespace qz {

FrmContAbrir::FrmContAbrir(const ManagementContext &context, int iOpcion, QWidget *mainWindow)
    : ManagementListDialog(context,
                           {"FrmContAbrir",
                            DeclarationList::Registered,
                            FrmContAbrirHeadings(),
                            {},
                            4530,
                            7755,
                            kHelpTopic},
                           mainWindow),
      iOpcion_(iOpcion)
{
    setTexts(FrmContAbrirTexts(iOpcion));
}

void FrmContAbrir::action(int index)
{
    if (index != 0) {
        return;
    }
    if (iOpcion_ == 1) {
        modificar();
    } else if (iOpcion_ == 3) {
        eliminar();
    }
}

void FrmContAbrir::modificar()
{
    const ListRow *row = selectedValues();
    if (!row) {
        return;
    }
    const RegisteredOpening o = registeredOpening(*row);
    showDeclaration([&o](Frm731 &form) { form.openRegistered(o.ruc, o.razon, o.periodo); });
}

void FrmContAbrir::eliminar()
{
    deleteSelected(
        [](const ListRow &row) {
            return registeredDeleteQuestion(row.at(registeredcol::kNombre).toText());
        },
        [this](const ListRow &row) {
            deleteRegisteredRow(context().db, row, context().formulario);
        });
}

StatusFields FrmContAbrir::salirStatus(const ListRow *row) const
{
    return FrmContAbrirSalirStatus(row, context().formulario);
}

DialogMessage FrmContAbrir::loadErrorBox(const DbError &error) const
{
    return errorBox(error.number(), error.description());
}

} // namespace qz
