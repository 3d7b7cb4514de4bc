// declmod's main window on a fresh installation (offscreen): menus, toolbar and its icons, the
// load, the version, the consultations and their formats, the about box, help (through the
// desktop or the built-in viewer) and the exit.
#include "core/shell/helppages.h"
#include "core/shell/mainmenu.h"
#include "core/shell/versioninfo.h"
#include "gui/management/frmcontabrir.h"
#include "gui/shell/frmacercade.h"
#include "gui/shell/frmconsultas.h"
#include "gui/shell/helpviewer.h"
#include "gui/shell/mdifrm.h"
#include "gui/shell/resulttablemodel.h"
#include "gui/shell/toolbaricons.h"
#include "gui/widgets/statusbar.h"
#include "support/scriptedmessenger.h"
#include "support/tempinstall.h"
#include "support/whenmodal.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace qz {
namespace {

using test::ScriptedMessenger;

// Runs action on the list dialog a command opens modally.
void whenListDialog(std::function<void(ManagementListDialog &)> action)
{
    test::whenModal<ManagementListDialog>(std::move(action));
}

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
            return desktopOpens_;
        });
        ASSERT_TRUE(window_.load());
    }

    test::TempInstall inst_;
    RunState state_;
    ScriptedMessenger messages_;
    MDIFrm window_{state_, messages_};
    std::vector<QUrl> opened_;
    bool desktopOpens_ = true; // false: a desktop without a browser
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

    // Buttons by index; 6, 8 and 9 are separators (8 and 9, side by side, drawn as one), any
    // other index has no command.
    EXPECT_EQ(captions(window_.toolbar()->actions()),
              QStringList({"Nueva", "Modificar", "Eliminar", "Imprimir", "Salir", "-", "Num. Orden",
                           "-", "Ayuda"}));
    EXPECT_EQ(window_.toolbarAction(7)->toolTip(),
              QString::fromUtf8("Registrar el número de orden de una declaración enviada"));
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

// Every button shows an icon and says what it does, with or without an icon theme: the drawn
// icons are real pictures, one different from another.
TEST_F(MainWindowTest, ToolbarButtonsHaveIconsAndTips)
{
    EXPECT_EQ(window_.toolbar()->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    std::vector<QImage> drawn;
    for (const ToolButton &b : toolbarButtons()) {
        if (b.command == Command::None) {
            continue;
        }
        const QAction *a = window_.toolbarAction(b.index);
        ASSERT_NE(a, nullptr) << b.index;
        EXPECT_FALSE(a->icon().isNull()) << b.index;
        EXPECT_GT(a->toolTip().size(), a->text().size()) << b.index;
        EXPECT_FALSE(commandIconName(b.command).isEmpty()) << b.index;

        const QImage image = drawnCommandIcon(b.command).pixmap(24).toImage();
        ASSERT_FALSE(image.isNull()) << b.index;
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
            }
        }
        EXPECT_GT(opaque, 24 * 24 / 5) << b.index << ": the picture is nearly empty";
        for (const QImage &other : drawn) {
            EXPECT_NE(image, other) << b.index << " looks like another button";
        }
        drawn.push_back(image);
    }
    EXPECT_EQ(drawn.size(), 7u);
    EXPECT_TRUE(drawnCommandIcon(Command::None).isNull());
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
    EXPECT_EQ(banks.grid()->model(), m);

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
    EXPECT_EQ(uit.model()->index(0, 0).data(ResultTableModel::kRawTextRole).toString(), newest);
    int row3300 = -1;
    for (int r = 0; r < uit.model()->rowCount(); ++r) {
        if (uit.model()->index(r, 0).data(ResultTableModel::kRawTextRole).toString() ==
            "20050101") {
            row3300 = r;
        }
    }
    ASSERT_GE(row3300, 0);
    // The value as a whole amount with its thousands separator; the date day first.
    EXPECT_EQ(uit.model()->index(row3300, 1).data().toString(), "3,300");
    EXPECT_EQ(uit.model()->index(row3300, 0).data().toString(), "01/01/2005");

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

// What the grids show: the model formats and aligns, the view only shows.
TEST_F(MainWindowTest, ConsultationGridsFormatAndAlignNumbers)
{
    auto alignment = [](const QModelIndex &index) {
        return Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
    };
    FrmConsultas banks(state_.db, 1, messages_, &window_);
    const ResultTableModel *b = banks.model();
    ASSERT_GT(b->rowCount(), 0);
    EXPECT_EQ(b->index(0, 0).data().toString(), "01"); // a code keeps its two digits
    EXPECT_TRUE(alignment(b->index(0, 0)) & Qt::AlignRight);
    EXPECT_EQ(b->index(0, 1).data().toString().trimmed(), "BANCO DE LA NACION");
    EXPECT_TRUE(alignment(b->index(0, 1)) & Qt::AlignLeft);

    // Values of every size, a date that is none, and an amount stored with its decimals.
    state_.db.execute("DELETE FROM PARAM WHERE Numero='404'");
    state_.db.execute("INSERT INTO PARAM (Numero, Argumento, Funcion, Correl_param) VALUES "
                      "('404', '20240101', '00005150.00', ''), "
                      "('404', '20231301', '00004950.00', ''), "
                      "('404', '19990101', '00001234567.49', ''), "
                      "('404', '19980101', '00000000.00', '')");
    FrmConsultas uit(state_.db, 3, messages_, &window_);
    QAbstractItemModelTester tester(uit.model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    const ResultTableModel *u = uit.model();
    ASSERT_EQ(u->rowCount(), 4);
    const QStringList expected[] = {{"01/01/2024", "5,150"},
                                    {"20231301", "4,950"}, // month 13: shown as stored
                                    {"01/01/1999", "1,234,567"},
                                    {"01/01/1998", "0"}};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(QStringList({u->index(r, 0).data().toString(), u->index(r, 1).data().toString()}),
                  expected[r])
            << r;
        EXPECT_TRUE(alignment(u->index(r, 1)) & Qt::AlignRight) << r;
        EXPECT_FALSE(alignment(u->index(r, 0)) & Qt::AlignRight) << r;
    }
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

// Every window that asks for help has its page, and each page says something: a title and a
// few sentences.
TEST_F(MainWindowTest, EveryHelpTopicHasAPage)
{
    ASSERT_TRUE(installHelpPages(state_.sSysPath));
    for (int topic : {1008, 1011, 1012, 1019, 1020, 1021, 1022, 1023, 0}) {
        const QString path =
            topic ? helpTopicPath(state_.sSysPath, topic) : helpFilePath(state_.sSysPath);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << topic;
        QTextDocument page;
        page.setHtml(QString::fromUtf8(file.readAll()));
        EXPECT_FALSE(page.metaInformation(QTextDocument::DocumentTitle).isEmpty()) << topic;
        EXPECT_GT(page.toPlainText().simplified().size(), 400) << topic;
        EXPECT_GE(page.toPlainText().count(u'.'), 3) << topic;
    }
}

// A desktop that cannot open the page: the built-in viewer shows it, and its links lead to the
// other pages.
TEST_F(MainWindowTest, HelpWithoutABrowserShowsTheBuiltInViewer)
{
    desktopOpens_ = false;
    window_.MostrarHelp(FrmConsultas::kHelpTopic);
    ASSERT_EQ(opened_.size(), 1u); // the desktop was asked first
    HelpViewer *viewer = window_.helpViewer();
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([viewer] { return viewer->isVisible(); }));
    EXPECT_EQ(viewer->browser()->source(),
              QUrl::fromLocalFile(helpTopicPath(state_.sSysPath, FrmConsultas::kHelpTopic)));
    EXPECT_TRUE(viewer->browser()->toPlainText().contains("Bancos"));
    EXPECT_EQ(viewer->windowTitle(), "Consultas - Formulario 0731");

    // A fresh viewer for the contents; its link to a topic opens that page.
    window_.MostrarHelp();
    ASSERT_NE(window_.helpViewer(), nullptr);
    QTextBrowser *browser = window_.helpViewer()->browser();
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(helpFilePath(state_.sSysPath)));
    browser->setSource(QUrl("t1011.htm")); // as the page's link gives it
    EXPECT_EQ(browser->documentTitle(), "Declaraciones grabadas - Formulario 0731");
    EXPECT_TRUE(browser->toPlainText().contains("Modificar"));
    window_.helpViewer()->close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window_.helpViewer() == nullptr; }));
}

// Pages that cannot be written under SysPath are shown from the program's own copy.
TEST_F(MainWindowTest, HelpPagesThatCannotBeWrittenComeFromTheProgram)
{
    ASSERT_TRUE(QDir(inst_.dir() + "/0731").removeRecursively());
    QFile blocker(inst_.dir() + "/0731"); // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    window_.MostrarHelp(1022);
    EXPECT_TRUE(opened_.empty()); // the desktop cannot open a page inside the program
    ASSERT_NE(window_.helpViewer(), nullptr);
    EXPECT_EQ(window_.helpViewer()->browser()->source(), QUrl("qrc:/help/t1022.htm"));
    EXPECT_TRUE(window_.helpViewer()->browser()->toPlainText().contains("ejercicio"));
}

TEST_F(MainWindowTest, VersionCheckWithoutABrowserShowsTheLink)
{
    window_.run(Command::VerificarVersion);
    EXPECT_TRUE(messages_.shown.empty()); // the desktop opened it

    desktopOpens_ = false;
    window_.run(Command::VerificarVersion);
    ASSERT_EQ(opened_.size(), 2u);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Information);
    EXPECT_TRUE(messages_.shown[0].text.contains(opened_[1].toString()))
        << messages_.shown[0].text.toStdString();
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

// Each management command opens its list dialog in the command's mode and flags (the register
// flag stays for the rest of the run, the recovery flag only while its dialog is open), and F1
// there opens that dialog's help page.
TEST_F(MainWindowTest, ManagementCommandsOpenTheirDialogs)
{
    const struct {
        Command command;
        const char *caption;
        const char *action;
        int iModo;
        bool recuperar;
        int help;
    } cases[] = {
        {Command::Modificar, "Modificar Declaraciones", "&Modificar", 1, false, 1011},
        {Command::RegistrarOrden, "Registrar número de orden", "&Registrar", 1, false, 1012},
        {Command::EliminarEnviada, "Eliminar Declaraciones Enviadas", "&Eliminar", 3, false, 1012},
        {Command::Eliminar, "Eliminar Declaraciones", "&Eliminar", 3, false, 1011}, // iModo kept
        {Command::Recuperar, "Registrar número de orden", "Recuperar", 1, true, 1012},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.caption);
        QString caption, action;
        bool recuperar = false, opened = false;
        whenListDialog([&](ManagementListDialog &d) {
            opened = true;
            caption = d.windowTitle();
            action = d.button(0)->text();
            recuperar = state_.bRecuperar;
            QTest::keyClick(&d, Qt::Key_F1);
            d.button(1)->click();
        });
        window_.run(c.command);
        ASSERT_TRUE(opened);
        EXPECT_EQ(caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(action, c.action);
        EXPECT_EQ(recuperar, c.recuperar);
        EXPECT_FALSE(state_.bRecuperar);
        EXPECT_EQ(state_.iModo, c.iModo);
        ASSERT_FALSE(opened_.empty());
        EXPECT_EQ(opened_.back(), QUrl::fromLocalFile(helpTopicPath(state_.sSysPath, c.help)));
    }
    EXPECT_TRUE(state_.bRegistraOrden);
}

TEST_F(MainWindowTest, SalirClosesTheConnection)
{
    whenListDialog([](ManagementListDialog &d) { d.button(1)->click(); });
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
