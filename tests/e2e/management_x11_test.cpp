// The management commands through the real menus on a private X server: "&Modificar" lists the
// saved declaration and opens it in the declaration window with its boxes, "&Eliminar" asks
// and removes it with all its rows.
#include "gui/declaration/frm731.h"
#include "gui/management/managementuifixture.h"
#include "gui/shell/mdifrm.h"
#include "gui/widgets/boxedit.h"
#include "support/storeddeclaration.h"
#include "support/xvfbmain.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace qz {
namespace {

using test::WhenModal;

class ManagementOnX11 : public test::ManagementTest {};

TEST_F(ManagementOnX11, ModificarOpensAndEliminarRemovesThroughTheMenus)
{
    const QString ruc = test::demoRuc(db_, "COMERCIAL ANDINA S.A.");
    registered(ruc, "2009");
    ASSERT_EQ(rowsOf("CAB", ruc), 1);
    ASSERT_GT(rowsOf("DET", ruc), 0);

    RunState state;
    MDIFrm main(state, messages_);
    ASSERT_TRUE(main.load());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));

    // "&Modificar": the list, then the declaration window on the chosen row.
    QString listed, shown101, shownRuc;
    WhenModal<FrmContAbrir> modify([&](FrmContAbrir &d) {
        if (d.model()->rowCount() > 0) {
            listed = d.model()->index(0, 0).data().toString().trimmed();
        }
        WhenModal<Frm731> form([&](Frm731 &f) {
            shownRuc = f.findChild<QLineEdit *>("TxtNumRuc")->text();
            shown101 = f.boxEdit(101)->text();
            f.salirButton()->click();
        });
        d.button(0)->click();
        d.button(1)->click(); // "&Salir"
    });
    main.action(Command::Modificar)->trigger();
    ASSERT_TRUE(modify.opened());
    EXPECT_EQ(listed, ruc);
    EXPECT_EQ(shownRuc, ruc);
    EXPECT_EQ(shown101, "1,000");

    // "&Eliminar": the question answered Yes removes every row of the declaration.
    messages_.answer = MessageAnswer::Yes;
    messages_.shown.clear();
    int rowsAfter = -1;
    WhenModal<FrmContAbrir> remove([&](FrmContAbrir &d) {
        d.button(0)->click();
        rowsAfter = d.model()->rowCount();
        d.button(1)->click();
    });
    main.action(Command::Eliminar)->trigger();
    ASSERT_TRUE(remove.opened());
    ASSERT_FALSE(messages_.shown.empty());
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(rowsAfter, 0);
    for (const char *table : {"CAB", "DET", "F731EMPRESAS"}) {
        EXPECT_EQ(rowsOf(table, ruc), 0) << table;
    }
}

} // namespace
} // namespace qz

int main(int argc, char **argv)
{
    return qz::test::runTestsOnXvfb(argc, argv);
}
