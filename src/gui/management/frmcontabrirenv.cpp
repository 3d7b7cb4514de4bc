// The sent-declarations dialog.
#include "gui/management/frmcontabrirenv.h"

#include "core/management/declarationdelete.h"
#include "gui/declaration/frm731.h"
#include "gui/management/frmrecuperar.h"
#include "gui/widgets/windowroutines.h"

#include <QTableView>

namespace qz {

FrmContAbrirEnv::FrmContAbrirEnv(const ManagementContext &context, QWidget *mainWindow)
    : ManagementListDialog(context,
                           {"FrmContAbrirEnv",
                            DeclarationList::Sent,
                            FrmContAbrirEnvHeadings(),
                            {{}, {}, {}, {}, {}, {QStringLiteral("dd/mm/yyyy")}},
                            4530,
                            9195,
                            kHelpTopic},
                           mainWindow)
{
    setTexts(FrmContAbrirEnvTexts(context.iModo, context.bRecuperar));
    grid()->setColumnHidden(sentcol::kCorrel, true);
}

void FrmContAbrirEnv::action(int index)
{
    if (index == 2) {
        showSent(); // "&Visualizar": shown only in recovery mode
    } else if (context().bRecuperar) {
        recuperar();
    } else if (context().iModo == 1) {
        showSent(); // the order number is registered from the declaration window
    } else if (context().iModo == 3) {
        eliminar();
    }
}

void FrmContAbrirEnv::showSent()
{
    const ListRow *row = selectedValues();
    if (!row) {
        return;
    }
    const SentOpening o = sentOpening(*row);
    showDeclaration([&o](Frm731 &form) {
        form.openSent(o.ruc, o.razon, o.periodo, o.correl, o.numControl, o.numOrden);
    });
}

void FrmContAbrirEnv::recuperar()
{
    const ListRow *row = selectedValues();
    if (!row) {
        return;
    }
    const ListRow chosen = *row;
    whileDisabled([&] {
        FrmRecuperar dialog(context().db, context().messenger, context().textUtility,
                            context().formulario, chosen, mainWindow());
        connect(&dialog, &FrmRecuperar::helpRequested, this, &ManagementListDialog::helpRequested);
        dialog.exec();
    });
    const WaitCursor wait;
    refresh();
}

void FrmContAbrirEnv::eliminar()
{
    deleteSelected(
        [](const ListRow &) { return sentDeleteQuestion(); },
        [this](const ListRow &row) { deleteSentRow(context().db, row, context().formulario); });
}

StatusFields FrmContAbrirEnv::salirStatus(const ListRow *row) const
{
    return FrmContAbrirEnvSalirStatus(row, context().formulario);
}

DialogMessage FrmContAbrirEnv::loadErrorBox(const DbError &error) const
{
    return listLoadErrorBox(error);
}

} // namespace qz
