// A new declaration on a real X server: declmod's main window and its declaration window in
// this process on a private Xvfb, "&Nueva" chosen from the menu, a demo taxpayer picked, an
// exercise and amounts typed, and the derived boxes read off the window on the screen.
//
// Bare Xvfb has no window manager, so windows are never activated: the widgets are driven
// directly, and the modal declaration window is reached the way Qt's own tests do it, from a
// timer that looks for QApplication::activeModalWidget().
#include "core/data/clock.h"
#include "core/decltab/tableinstaller.h"
#include "core/platform/windowlist.h"
#include "gui/declaration/frm731.h"
#include "gui/shell/mdifrm.h"
#include "gui/widgets/boxedit.h"
#include "gui/widgets/statusbar.h"
#include "support/scriptedmessenger.h"
#include "support/tempinstall.h"
#include "support/windowowner.h"
#include "support/xvfbmain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

qz::test::XvfbServer *gServer = nullptr;

bool onScreen(const QString &title)
{
    for (const qz::TopLevelWindow &w :
         qz::topLevelWindows(gServer->display()).value_or(QList<qz::TopLevelWindow>{})) {
        if (w.viewable && w.title == title.toUtf8()) {
            return true;
        }
    }
    return false;
}

TEST(DeclarationOnX11, NewDeclarationTypedAndComputed)
{
    ASSERT_TRUE(gServer && gServer->isRunning());
    qz::test::TempInstall inst;
    ASSERT_TRUE(inst.ok()) << inst.message().toStdString();
    qz::test::ScriptedMessenger messages;
    ASSERT_EQ(qz::TableInstaller(messages).run(), 0);
    const qz::PinnedClock clock(QDateTime(QDate(2026, 6, 1), QTime(10, 0)));

    qz::RunState state;
    qz::MDIFrm main(state, messages);
    ASSERT_TRUE(main.load());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    ASSERT_TRUE(QTest::qWaitFor([] { return onScreen("731 Vexilar - v 1.3"); }));

    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto *form = qobject_cast<qz::Frm731 *>(QApplication::activeModalWidget());
        if (!form) {
            ADD_FAILURE() << "no declaration window";
            return;
        }
        [&] {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
            ASSERT_TRUE(QTest::qWaitFor([] { return onScreen("731 Vexilar"); }));
            QComboBox *ruc = form->taxpayerList();
            ASSERT_GT(ruc->count(), 0);
            QTest::keyClick(ruc, Qt::Key_Down);
            QLineEdit *periodo = form->fieldEdit(qz::Field::Periodo);
            periodo->setCursorPosition(0);
            QTest::keyClicks(periodo, "2009");
            form->answerGroup(qz::Answer::Coop)->button(0)->click();
            form->answerGroup(qz::Answer::Rectifica)->button(0)->click();
            form->tabs()->setCurrentIndex(2);
            ASSERT_EQ(form->tabs()->currentIndex(), 2);
            QTest::keyClicks(form->boxEdit(101), "2500000");
            QTest::keyClicks(form->boxEdit(104), "500000");
            form->tabs()->setCurrentIndex(3);
            ASSERT_EQ(form->tabs()->currentIndex(), 3);
            // The X server delivers focus and activation on its own time: box 160 opens for
            // typing once the tax of 2009 has reached box 139.
            ASSERT_TRUE(QTest::qWaitFor([&] { return !form->boxEdit(160)->isReadOnly(); }))
                << form->boxEdit(139)->text().toStdString() << " "
                << form->model().sPeriodo().toStdString();
            QTest::keyClicks(form->boxEdit(160), "1");
            QTest::keyClicks(form->boxEdit(144), "2000");
            for (int box : {108, 113, 114, 139, 161, 146}) {
                seen << form->boxEdit(box)->text();
            }
        }();
        form->salirButton()->click();
    });
    main.action(qz::Command::Nueva)->trigger();

    // 108 = 2,500,000 + 500,000 - 0; 114 = (3,000,000 - 1,000,000) x 0.004 = 8,000;
    // 146 = 8,000 - 2,000.
    EXPECT_EQ(seen, QStringList({"3,000,000", "3,000,000", "8,000", "8,000", "8,000", "6,000"}));
    EXPECT_EQ(main.statusBarControl()->period(), "2009");
    // Only "&Salir"'s question, answered No: the declaration was never saved.
    ASSERT_EQ(messages.shown.size(), 1u) << messages.shown.front().text.toStdString();
    EXPECT_EQ(messages.shown[0].text,
              QString::fromUtf8("¿La declaración ha sido modificada, desea guardar los cambios?"));
}

} // namespace

int main(int argc, char **argv)
{
    std::unique_ptr<qz::test::WindowOwner> host;
    return qz::test::runTestsOnXvfb(
        argc, argv, [](qz::test::XvfbServer &server) { gServer = &server; },
        [&host](qz::test::XvfbServer &server) {
            host = std::make_unique<qz::test::WindowOwner>(server, "Velquira", false);
        });
}
