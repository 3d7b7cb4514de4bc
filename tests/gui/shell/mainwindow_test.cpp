// declmod's main window on a fresh installation (offscreen): menus, toolbar, the load, the
// version, the consultations, the about box, help and the exit.
#include "core/shell/helppages.h"
#include "core/shell/mainmenu.h"
#include "core/shell/versioninfo.h"
#include "gui/shell/frmacercade.h"
#include "gui/shell/frmconsultas.h"
#include "gui/shell/mdifrm.h"
#include "gui/shell/resulttablemodel.h"
#include "gui/widgets/statusbar.h"
#include "support/scriptedmessenger.h"
#include "support/tempinstall.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTableView>
#include <QToolBar>

#include <gtest/gtest.h>

namespace qz {
namespace {

using test::ScriptedMessenger;

QStringList captions(const QList<QAction *> &actions)
{
    QStringList l;
    for (const QAction *a : actions) {
        l << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return l;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString();
        window_.setUrlOpener([this](const QUrl &url) {
            opened_.push_back(url);
            return true;
        });
        ASSERT_TRUE(window_.load());
    }

    test::TempInstall inst_;
    RunState state_;
    ScriptedMessenger messages_;
    MDIFrm window_{state_, messages_};
    std::vector<QUrl> opened_;
};

TEST_F(MainWindowTest, MenusToolbarAndFrame)
{
    const QList<QAction *> menus = window_.menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(captions(menus),
              QStringList({"&Declaraciones", "Declaraciones &Enviadas", "&Consultas", "&Ayuda"}));
    EXPECT_EQ(captions(menus[0]->menu()->actions()),
              QStringList({"&Nueva", "&Modificar", "&Eliminar", "-", "&Imprimir", "-", "&Salir"}));
    EXPECT_EQ(captions(menus[1]->menu()->actions()),
              QStringList({QString::fromUtf8("&Registrar número de orden"), "&Eliminar", "-",
                           QString::fromUtf8("&Recuperar Declaración"), "-", "&Imprimir"}));
    EXPECT_EQ(captions(menus[2]->menu()->actions()), QStringList({"&Bancos", "&UIT"}));
    EXPECT_EQ(captions(menus[3]->menu()->actions()),
              QStringList(
                  {"&Contenido", "-", "Acerca &de ZEB", QString::fromUtf8("&Verificar Versión")}));

    // Buttons by index; 6, 8 and 9 are separators, any other index has no command.
    EXPECT_EQ(captions(window_.toolbar()->actions()),
              QStringList({"Nueva", "Modificar", "Eliminar", "Imprimir", "Salir", "-", "Num. Orden",
                           "-", "-", "Ayuda"}));
    EXPECT_EQ(window_.toolbarAction(7)->toolTip(), "Num. Orden");
    EXPECT_EQ(toolbarCommand(7), Command::RegistrarOrden);
    EXPECT_EQ(toolbarCommand(10), Command::Contenido);
    for (int none : {0, 6, 8, 9, 11}) {
        EXPECT_EQ(toolbarCommand(none), Command::None) << none;
    }
    for (int keeps : {1, 2, 3, 4, 6, 8}) {
        EXPECT_FALSE(toolbarMoveClearsMessage(keeps)) << keeps;
    }
    for (int clears : {0, 5, 7, 9, 10}) {
        EXPECT_TRUE(toolbarMoveClearsMessage(clears)) << clears;
    }

    EXPECT_EQ(window_.windowTitle(), "731 Vexilar - v 1.3");
    EXPECT_FALSE(window_.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window_.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(MainWindowTest, LoadFillsTheRunStateAndStatusBar)
{
    EXPECT_EQ(state_.sSysPath, inst_.sysPath());
    EXPECT_EQ(state_.sUsuario, "USUARIO1");
    EXPECT_TRUE(state_.db.isOpen());
    EXPECT_EQ(state_.sDirReportes, inst_.dir() + "/RPT");
    BarradeEstadoZEB *bar = window_.statusBarControl();
    EXPECT_EQ(bar->numericSetting(), 1);
    EXPECT_EQ(bar->formCode(), "0731");
    EXPECT_EQ(bar->period(), "");
    // decltab has not run: no '856' row, so the defaults hold.
    EXPECT_EQ(state_.sVersion, "1.3");
    EXPECT_EQ(state_.sFechaVersion, "25/08/2011");

    window_.run(Command::VerificarVersion);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0].toString(),
              QString::fromLatin1(kDefaultDownloadHost) +
                  "/zeb/zebdown/independientes/independientes.htm?p=0731&v=1.3&f=25082011#p731");

    state_.db.execute("INSERT INTO PARAM (Numero, Argumento, Funcion, Correl_param) VALUES "
                      "('856', '0731', '1.4 09/10/2023     790', '')");
    IniciaVersion(state_);
    EXPECT_EQ(state_.sVersion, "1.4");
    EXPECT_EQ(state_.sFechaVersion, "09/10/2023");
    EXPECT_EQ(versionCheckUrl("https://x.example", state_.sVersion, state_.sFechaVersion).query(),
              "p=0731&v=1.4&f=09102023");
    EXPECT_EQ(actualizadoAl(state_.db), "Actualizado al 09/10/2023");
}

TEST_F(MainWindowTest, AboutBoxUpdateLine)
{
    FrmAcercade without(actualizadoAl(state_.db), &window_);
    EXPECT_EQ(without.windowTitle(), "Acerca de Velquira ");
    EXPECT_EQ(without.updateLine()->text(), "Actualizado al ");
    QStringList texts;
    for (const QLabel *l : without.findChildren<QLabel *>()) {
        texts << l->text();
    }
    EXPECT_TRUE(texts.contains("Velquira"));
    EXPECT_TRUE(texts.contains("Vexilar"));
    EXPECT_TRUE(texts.contains(QString::fromUtf8("Versión 1.3")));
}

TEST_F(MainWindowTest, ConsultationsListBanksAndTaxUnits)
{
    FrmConsultas banks(state_.db, 1, messages_, &window_);
    // Fatal: a broken model contract ends the test program, which CTest reports as failed.
    QAbstractItemModelTester tester(banks.model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(banks.windowTitle(), "Bancos");
    ResultTableModel *m = banks.model();
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("Código"));
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("Descripción"));
    ASSERT_EQ(m->rowCount(), 6); // seven demo banks less "00"
    for (int r = 0; r < m->rowCount(); ++r) {
        EXPECT_NE(m->index(r, 0).data().toString(), "00");
    }
    EXPECT_TRUE(banks.grid()->isEnabled());

    // decltab installs the tax unit of 2005.
    state_.db.execute("INSERT INTO PARAM (Numero, Argumento, Funcion, Correl_param) VALUES "
                      "('404', '20050101', '00003300.00', '')");
    FrmConsultas uit(state_.db, 3, messages_, &window_);
    EXPECT_EQ(uit.windowTitle(), "UIT");
    EXPECT_EQ(uit.model()->headerData(0, Qt::Horizontal).toString(), "Periodo");
    EXPECT_EQ(uit.model()->headerData(1, Qt::Horizontal).toString(), "Valor");
    const QString newest = state_.db
                               .scalar("SELECT max(Argumento) FROM PARAM WHERE "
                                       "Numero='404'")
                               .toText();
    EXPECT_EQ(uit.model()->index(0, 0).data().toString(), newest);
    int row3300 = -1;
    for (int r = 0; r < uit.model()->rowCount(); ++r) {
        if (uit.model()->index(r, 0).data().toString() == "20050101") {
            row3300 = r;
        }
    }
    ASSERT_GE(row3300, 0);
    EXPECT_EQ(uit.model()->index(row3300, 1).data().toString(), "3300");

    state_.db.execute("DELETE FROM PARAM WHERE Numero='404'");
    FrmConsultas empty(state_.db, 3, messages_, &window_);
    EXPECT_EQ(empty.model()->rowCount(), 0);
    EXPECT_FALSE(empty.grid()->isEnabled());

    state_.db.execute("DROP TABLE PARAM");
    FrmConsultas broken(state_.db, 1, messages_, &window_);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].title, "Error");
    EXPECT_TRUE(messages_.shown[0].text.startsWith("3078\n"))
        << messages_.shown[0].text.toStdString();
    EXPECT_FALSE(broken.grid()->isEnabled());
}

TEST_F(MainWindowTest, HelpInstallsItsPagesAndClearsTheMessage)
{
    window_.statusBarControl()->setTaxpayerName("un mensaje");
    window_.MostrarHelp();
    EXPECT_EQ(window_.statusBarControl()->taxpayerName(), "");
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], QUrl::fromLocalFile(inst_.dir() + "/0731/declmod.htm"));
    EXPECT_TRUE(QFile::exists(inst_.dir() + "/0731/declmod.htm"));
    EXPECT_TRUE(QFile::exists(helpTopicPath(state_.sSysPath, FrmConsultas::kHelpTopic)));
}

// A pointer move over the background or over the toolbar outside buttons 1-4, 6 and 8 clears
// the message field.
TEST_F(MainWindowTest, PointerMovesClearTheMessage)
{
    BarradeEstadoZEB *bar = window_.statusBarControl();
    auto moveOver = [](QWidget *w) {
        const QPoint at = w->rect().center();
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    };
    auto clearedBy = [&](QWidget *w) {
        bar->setTaxpayerName("mensaje");
        moveOver(w);
        return bar->taxpayerName().isEmpty();
    };
    EXPECT_TRUE(clearedBy(window_.centralWidget()));
    QToolBar *tb = window_.toolbar();
    EXPECT_FALSE(clearedBy(tb->widgetForAction(window_.toolbarAction(1))));
    EXPECT_FALSE(clearedBy(tb->widgetForAction(window_.toolbarAction(4))));
    EXPECT_TRUE(clearedBy(tb->widgetForAction(window_.toolbarAction(5))));
    EXPECT_TRUE(clearedBy(tb->widgetForAction(window_.toolbarAction(10))));
}

TEST_F(MainWindowTest, SalirClosesTheConnection)
{
    window_.run(Command::RegistrarOrden);
    EXPECT_EQ(state_.iModo, 1);
    EXPECT_TRUE(state_.bRegistraOrden);
    window_.run(Command::Salir);
    EXPECT_TRUE(window_.released());
    EXPECT_FALSE(state_.db.isOpen());
    EXPECT_FALSE(window_.isVisible());
}

TEST(MainWindowOpen, MissingDatabaseEndsTheLoad)
{
    test::TempInstall inst;
    ASSERT_TRUE(inst.ok());
    QFile::remove(inst.dbPath());
    RunState state;
    ScriptedMessenger messages;
    MDIFrm window(state, messages);
    EXPECT_FALSE(window.load());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, QString::fromUtf8("Error de Conección"));
    EXPECT_FALSE(state.db.isOpen());
}

} // namespace
} // namespace qz
