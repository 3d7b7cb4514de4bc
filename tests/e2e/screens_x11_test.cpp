// Every window at its default size on a real X server at 96 DPI: the main window, each page of
// the declaration window, the assistants, the companies dialog, the inconsistency list, the
// consultations and the about box. Each is saved as a picture under QZ_SCREENS_DIR (default
// build/screens) for a person to look at, and checked for texts that do not fit and for a
// frame off the screen.
#include "core/data/clock.h"
#include "core/validation/companyform.h"
#include "gui/declaration/frm731.h"
#include "gui/declaration/frmanexo105.h"
#include "gui/declaration/frmanexo110.h"
#include "gui/management/frmcontabrir.h"
#include "gui/management/frmcontabrirenv.h"
#include "gui/shell/frmacercade.h"
#include "gui/shell/frmconsultas.h"
#include "gui/shell/mdifrm.h"
#include "gui/validation/frmageper.h"
#include "gui/validation/frmconsist.h"
#include "gui/widgets/statusbar.h"
#include "support/clipping.h"
#include "support/moduleinstall.h"
#include "support/scriptedmessenger.h"
#include "support/xvfbmain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace qz {
namespace {

// Absolute, taken before any window changes the current folder (the main window moves to
// the installation's folder, which is gone after its test).
QString gScreensDir;

QString screensDir()
{
    QDir().mkpath(gScreensDir);
    return gScreensDir;
}

// Shows the window, saves its picture and checks it.
void look(QWidget &w, const QString &name)
{
    if (!w.isVisible()) {
        w.show();
    }
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w)) << name.toStdString();
    QApplication::processEvents();
    const QString file = QDir(screensDir()).filePath(name + QStringLiteral(".png"));
    EXPECT_TRUE(w.grab().save(file)) << file.toStdString();
    const QStringList clipped = test::clippedTexts(w);
    EXPECT_TRUE(clipped.isEmpty()) << name.toStdString() << ":\n"
                                   << clipped.join(u'\n').toStdString();
    const QString off = test::offScreen(w);
    EXPECT_TRUE(off.isEmpty()) << name.toStdString() << ": " << off.toStdString();
}

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString(); }

    PinnedClock clock_{QDateTime(QDate(2026, 6, 1), QTime(10, 0))};
    test::ModuleInstall inst_;
    test::ScriptedMessenger messages_;
};

TEST_F(ScreensTest, MainWindowAndItsDialogs)
{
    RunState state;
    MDIFrm main(state, messages_);
    ASSERT_TRUE(main.load());
    look(main, QStringLiteral("main-window"));
    for (int mode : {1, 3}) {
        FrmConsultas list(state.db, mode, messages_, &main);
        look(list, QStringLiteral("consultas-%1").arg(mode));
    }
    FrmAcercade about(QStringLiteral("Actualizado al 01/06/2026"), &main);
    look(about, QStringLiteral("about"));
    const TextUtility utility;
    const ManagementContext context{state.db,
                                    messages_,
                                    utility,
                                    nullptr,
                                    nullptr,
                                    QStringLiteral("0731"),
                                    QStringLiteral("USUARIO0"),
                                    1,
                                    true};
    for (int option : {1, 3}) {
        FrmContAbrir registered(context, option, &main);
        ASSERT_TRUE(registered.load());
        look(registered, QStringLiteral("frmcontabrir-%1").arg(option));
    }
    FrmContAbrirEnv sent(context, &main);
    ASSERT_TRUE(sent.load());
    look(sent, QStringLiteral("frmcontabrirenv"));
}

TEST_F(ScreensTest, DeclarationWindowPageByPage)
{
    BarradeEstadoZEB bar;
    QString periodo;
    const Frm731::Context c{inst_.db(), messages_, &bar, &periodo, 0, "USUARIO0", false, false};
    Frm731 f(c, nullptr);
    f.load();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QTest::keyClick(f.taxpayerList(), Qt::Key_Down);
    QLineEdit *year = f.fieldEdit(Field::Periodo);
    year->setCursorPosition(0);
    QTest::keyClicks(year, "2009");
    f.model().leaveExercise();
    for (Answer a : {Answer::Rectifica, Answer::Liquid, Answer::Coop}) {
        f.answerGroup(a)->button(0)->click();
    }
    f.answerGroup(Answer::Reorg)->button(1)->click();
    f.model().chooseReorgType(0);
    const char *const pages[] = {"identificacion", "reorganizacion", "base", "deuda",
                                 "complementaria"};
    for (int page = 0; page < 5; ++page) {
        f.tabs()->setCurrentIndex(page);
        ASSERT_EQ(f.tabs()->currentIndex(), page) << messages_.shown.back().text.toStdString();
        look(f, QStringLiteral("frm731-%1-%2").arg(page).arg(QString::fromLatin1(pages[page])));
    }
    messages_.answer = MessageAnswer::No;
    f.salirButton()->click();
}

TEST_F(ScreensTest, AssistantsCompaniesAndTheList)
{
    FrmAnexo105 a105(inst_.db(), messages_);
    a105.sRuc = QStringLiteral("20100079705");
    a105.periodo = QStringLiteral("2009");
    ASSERT_TRUE(a105.load());
    look(a105, QStringLiteral("anexo105"));

    FrmAnexo110 a110;
    a110.load(QStringLiteral("0.36"), QStringLiteral("360"), QStringLiteral("1000"));
    look(a110, QStringLiteral("anexo110"));

    const CompanyFormContext ctx{QStringLiteral("0"),
                                 QStringLiteral("20100079705"),
                                 QStringLiteral("2009"),
                                 QStringLiteral("1"),
                                 QString(),
                                 false};
    FrmAgePer companies(inst_.db(), messages_, ctx);
    companies.load();
    look(companies, QStringLiteral("frmageper"));

    QTemporaryDir dir;
    const QString mens = dir.filePath(QStringLiteral("Mens.txt"));
    QFile file(mens);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Determinaci\xf3n de la Deuda : Ingrese el importe a pagar (casilla 180)\r\n");
    file.close();
    FrmConsist list(mens, messages_, nullptr);
    look(list, QStringLiteral("frmconsist"));
}

} // namespace
} // namespace qz

int main(int argc, char **argv)
{
    return qz::test::runTestsOnXvfb(argc, argv, [](qz::test::XvfbServer &) {
        qputenv("QT_FONT_DPI", "96");
        qz::gScreensDir =
            QDir(qEnvironmentVariable("QZ_SCREENS_DIR", QStringLiteral("screens"))).absolutePath();
    });
}
