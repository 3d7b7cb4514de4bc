// The whole life of one declaration through the real windows, on a private X server with a
// window manager (openbox) started by this program: declmod's main window and the host's window
// "Velquira" live in this process and are driven with keys and clicks; the host's "Enviar" runs
// the real declchk and declrep, and at the end the separate velquira program meets the same
// database.
//
// The declaration has a reorganization with two companies, the box-105 assistant and a payment
// by cheque. It is entered, checked ("&Validar"), saved ("&Grabar"), sent ("Enviar"), its
// summary shown, its order number registered, printed as sent into a PDF, recovered, changed,
// saved again and deleted. After each step the stored rows, the state, the record control codes
// of every row and the files in RPT and TMP are checked.
//
// With QZ_GUIDE_IMAGES=folder the main steps are saved there as pictures for the user guide
// (scripts/guide-images.sh).
#include "core/components/doctypes.h"
#include "core/components/textutility.h"
#include "core/data/controlcode.h"
#include "core/data/sqltext.h"
#include "core/host/sending.h"
#include "gui/declaration/frm731.h"
#include "gui/declaration/frmanexo105.h"
#include "gui/host/hostwindow.h"
#include "gui/management/frmcontabrir.h"
#include "gui/management/frmcontabrirenv.h"
#include "gui/management/frmrecuperar.h"
#include "gui/management/managementuifixture.h"
#include "gui/printing/frmimpxpag.h"
#include "gui/printing/frmpreview.h"
#include "gui/printing/frmtipprnr.h"
#include "gui/shell/mdifrm.h"
#include "gui/validation/frmageper.h"
#include "gui/validation/frmconsist.h"
#include "gui/widgets/boxedit.h"
#include "gui/widgets/messageservice.h"
#include "support/pdftext.h"
#include "support/xvfbmain.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <set>

// Texts in failure messages as text.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace qz {
namespace {

using test::WhenModal;

QString gNoWindowManager;

// Where the life has got to, on stderr: a step that hangs is named in the test's output.
void trace(const char *step)
{
    std::fprintf(stderr, "life: %s\n", step);
} // why the window manager did not start; empty when it runs

// The pictures of the user guide, when QZ_GUIDE_IMAGES names a folder.
void picture(QWidget *w, const char *name)
{
    const QString dir = qEnvironmentVariable("QZ_GUIDE_IMAGES");
    if (dir.isEmpty() || !w) {
        return;
    }
    QApplication::processEvents();
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString file = QDir(dir).filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    ASSERT_TRUE(w->grab().save(file)) << file.toStdString();
}

// Answers the host window's message boxes (real QMessageBoxes, as velquira shows them) with
// their default button, keeping their titles and texts; the boxes named in pictures_ are saved
// as pictures first.
class BoxAnswerer final {
public:
    struct Box {
        QString title;
        QString text;
    };
    BoxAnswerer()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) {
                return;
            }
            boxes.push_back({box->windowTitle(), box->text()});
            if (auto it = pictures.find(box->windowTitle()); it != pictures.end()) {
                picture(box, it->second);
            }
            QAbstractButton *b =
                box->defaultButton() ? box->defaultButton() : box->buttons().value(0);
            if (b) {
                b->click();
            } else {
                box->done(0);
            }
        });
        timer_.start();
    }
    std::vector<Box> boxes;
    std::map<QString, const char *> pictures;

private:
    QTimer timer_;
};

// True once a window manager has announced itself on the root window of the display.
bool windowManagerAnnounced(const QByteArray &display)
{
    xcb_connection_t *c = xcb_connect(display.constData(), nullptr);
    bool found = false;
    if (!xcb_connection_has_error(c)) {
        static const char kName[] = "_NET_SUPPORTING_WM_CHECK";
        xcb_intern_atom_reply_t *atom =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof kName - 1, kName), nullptr);
        if (atom && atom->atom != XCB_ATOM_NONE) {
            const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
            xcb_get_property_reply_t *p = xcb_get_property_reply(
                c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
            found = p && xcb_get_property_value_length(p) > 0;
            std::free(p);
        }
        std::free(atom);
    }
    xcb_disconnect(c);
    return found;
}

// openbox on the test's display, started before the application and stopped when the tests
// end (before the display goes).
class WindowManager final : public ::testing::Environment {
public:
    WindowManager(const test::XvfbServer &server, const QString &program)
    {
        process_.setProcessEnvironment(server.environment());
        process_.setProgram(program);
        process_.setArguments({QStringLiteral("--sm-disable")});
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.start();
        if (!process_.waitForStarted(10000)) {
            error_ = QStringLiteral("openbox did not start: ") + process_.errorString();
            return;
        }
        // Windows shown before it manages the screen are never activated: wait for it.
        QDeadlineTimer deadline(10000);
        while (!windowManagerAnnounced(server.display()) && !deadline.hasExpired() &&
               process_.state() == QProcess::Running) {
            QThread::msleep(20);
        }
        if (!windowManagerAnnounced(server.display())) {
            error_ = QStringLiteral("openbox did not take over the display");
        }
    }
    ~WindowManager() override { TearDown(); }
    bool running() const { return error_.isEmpty(); }
    QString errorString() const { return error_; }
    void TearDown() override
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(5000)) {
                process_.kill();
                process_.waitForFinished(5000);
            }
        }
    }

private:
    QProcess process_;
    QString error_;
};

class LifeOnX11 : public test::ModelTest {
protected:
    void SetUp() override
    {
        if (!gNoWindowManager.isEmpty()) {
            GTEST_SKIP() << gNoWindowManager.toStdString();
        }
        test::ModelTest::SetUp();
        ruc_ = test::demoRuc(db_, kNombre);
        ASSERT_EQ(ruc_.size(), 11);
    }

    // The rows of a table for the declaration.
    std::vector<Record> rows(const QString &table)
    {
        return db_.selectForUpdate(QStringLiteral("SELECT * FROM ") + table +
                                   QStringLiteral(" WHERE doc_id_d=") + sqlQuoted(ruc_) +
                                   QStringLiteral(" AND periodo='2009'"));
    }
    qint64 count(const QString &table) { return static_cast<qint64>(rows(table).size()); }
    // Every row of a table carries the record control code computed over it (its last column).
    void expectControlCodes(const QString &table, int keys)
    {
        for (const Record &r : rows(table)) {
            EXPECT_EQ(r.value(r.columnCount() - 1).toText(), recordControlCode(r, keys))
                << table.toStdString() << " " << r.value(keys - 1).toText().toStdString();
        }
    }
    void expectWorkingCodes()
    {
        expectControlCodes(QStringLiteral("CAB"), 5);
        expectControlCodes(QStringLiteral("DET"), 6);
        expectControlCodes(QStringLiteral("F731EMPRESAS"), 6);
    }
    // The control codes of the working rows by their key, to follow them into the history.
    std::map<QString, QString> workingCodes()
    {
        std::map<QString, QString> codes;
        for (const Record &r : rows(QStringLiteral("CAB"))) {
            codes[QStringLiteral("CAB")] = r.value(QStringLiteral("cNumero")).toText();
        }
        for (const Record &r : rows(QStringLiteral("DET"))) {
            codes[QStringLiteral("DET ") + r.value(QStringLiteral("Casilla")).toText()] =
                r.value(QStringLiteral("cNumero")).toText();
        }
        for (const Record &r : rows(QStringLiteral("F731EMPRESAS"))) {
            codes[QStringLiteral("EMP ") + r.value(QStringLiteral("num_doc_emp")).toText()] =
                r.value(QStringLiteral("cnumero")).toText();
        }
        return codes;
    }
    std::map<QString, QString> historyCodes()
    {
        std::map<QString, QString> codes;
        for (const Record &r : rows(QStringLiteral("HCAB"))) {
            codes[QStringLiteral("CAB")] = r.value(QStringLiteral("cNumero")).toText();
        }
        for (const Record &r : rows(QStringLiteral("HDET"))) {
            codes[QStringLiteral("DET ") + r.value(QStringLiteral("Casilla")).toText()] =
                r.value(QStringLiteral("cNumero")).toText();
        }
        for (const Record &r : rows(QStringLiteral("HF731EMPRESAS"))) {
            codes[QStringLiteral("EMP ") + r.value(QStringLiteral("num_doc_emp")).toText()] =
                r.value(QStringLiteral("cnumero")).toText();
        }
        return codes;
    }
    QString value(const QString &sql) { return db_.scalar(sql).toText(); }
    QString box(const char *table, const char *casilla)
    {
        return value(QStringLiteral("SELECT i_valor FROM ") + QString::fromLatin1(table) +
                     QStringLiteral(" WHERE doc_id_d=") + sqlQuoted(ruc_) +
                     QStringLiteral(" AND Casilla='") + QString::fromLatin1(casilla) + u'\'');
    }
    std::set<QString> files(const char *folder)
    {
        const QStringList names =
            QDir(inst_.dir() + u'/' + QString::fromLatin1(folder)).entryList(QDir::Files);
        return {names.begin(), names.end()};
    }
    static std::set<QString> added(const std::set<QString> &before, const std::set<QString> &after)
    {
        std::set<QString> out;
        for (const QString &f : after) {
            if (!before.count(f)) {
                out.insert(f);
            }
        }
        return out;
    }

    // Drives the declaration window: keys into a widget that has the focus.
    // Puts the focus in a widget and waits until it is there.
    static void focus(QWidget *w)
    {
        w->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([w] { return w->hasFocus(); }))
            << w->objectName().toStdString();
    }
    static void typeInto(QWidget *w, const QString &keys)
    {
        focus(w);
        if (auto *e = qobject_cast<QLineEdit *>(w)) {
            e->selectAll();
        }
        QTest::keyClicks(w, keys);
    }
    static void leave(QWidget *w) { QTest::keyClick(w, Qt::Key_Tab); }
    // Moves a combo box with the arrow keys until its entry satisfies wanted.
    static bool chooseByKeys(QComboBox *combo, const std::function<bool(int)> &wanted)
    {
        combo->setFocus();
        if (combo->currentIndex() >= 0 && wanted(combo->currentIndex())) {
            return true;
        }
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i <= combo->count(); ++i) {
            if (combo->currentIndex() >= 0 && wanted(combo->currentIndex())) {
                return true;
            }
            QTest::keyClick(combo, Qt::Key_Down);
        }
        return false;
    }
    static void page(Frm731 &f, int index)
    {
        QTabWidget *tabs = f.tabs();
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                          tabs->tabBar()->tabRect(index).center());
        ASSERT_TRUE(QTest::qWaitFor([&] { return tabs->currentIndex() == index; }))
            << "page " << index << " stays " << tabs->currentIndex();
    }
    static void click(QAbstractButton *b)
    {
        ASSERT_NE(b, nullptr);
        ASSERT_TRUE(b->isEnabled()) << b->text().toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // The row of a management list whose taxpayer is ours, selected by a click.
    void selectOurs(ManagementListDialog &d)
    {
        int row = -1;
        for (int r = 0; r < d.model()->rowCount(); ++r) {
            if (d.model()->row(r).at(0).toText().trimmed() == ruc_) {
                row = r;
            }
        }
        ASSERT_GE(row, 0) << "not listed";
        QTableView *grid = d.grid();
        grid->scrollTo(d.model()->index(row, 0));
        const QRect cell = grid->visualRect(d.model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        ASSERT_EQ(d.selectedRow(), row);
    }
    // Messages shown by declmod since the last call.
    QStringList newMessages()
    {
        QStringList texts;
        for (size_t i = seenMessages_; i < messages_.shown.size(); ++i) {
            texts << messages_.shown[i].text;
        }
        seenMessages_ = messages_.shown.size();
        return texts;
    }
    // A message that reports a fault, among those shown since the last call.
    ::testing::AssertionResult noErrors()
    {
        for (size_t i = seenMessages_; i < messages_.shown.size(); ++i) {
            if (messages_.shown[i].icon == MessageIcon::Critical) {
                return ::testing::AssertionFailure() << messages_.shown[i].text.toStdString();
            }
        }
        return ::testing::AssertionSuccess();
    }

    // Step 1: the whole declaration typed into the window "&Nueva" opened.
    void enter(Frm731 &f);
    // One company typed into its dialog and accepted.
    static void enterCompany(FrmAgePer &d, const char *ruc, const char *razon, bool picture);

    static constexpr const char *kNombre = "COMERCIAL ANDINA S.A.";
    QString ruc_;
    size_t seenMessages_ = 0;
};

void LifeOnX11::enterCompany(FrmAgePer &d, const char *ruc, const char *razon, bool withPicture)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    typeInto(d.edit(CompanyField::Ruc), TextUtility::completeRuc(QString::fromLatin1(ruc)));
    QTest::keyClick(d.edit(CompanyField::Ruc), Qt::Key_Return);
    typeInto(d.edit(CompanyField::Razon), QString::fromLatin1(razon));
    typeInto(d.edit(CompanyField::Activos), "2000000");
    typeInto(d.edit(CompanyField::Adiciones), "0");
    typeInto(d.edit(CompanyField::Deducciones), "0");
    QTest::keyClick(d.edit(CompanyField::Deducciones), Qt::Key_Return);
    if (withPicture) {
        picture(&d, "03-sociedad");
    }
    click(d.aceptarButton());
}

void LifeOnX11::enter(Frm731 &f)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    // The activation puts the focus in the taxpayer list.
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.taxpayerList()->hasFocus(); }));
    trace("1 identification");
    // Identification: the taxpayer, the exercise, the telephone and the answers.
    ASSERT_TRUE(chooseByKeys(
        f.taxpayerList(), [&](int i) { return f.taxpayerList()->itemText(i).startsWith(ruc_); }));
    ASSERT_EQ(f.model().taxpayerRuc().trimmed(), ruc_);
    QLineEdit *periodo = f.fieldEdit(Field::Periodo);
    focus(periodo);
    periodo->setCursorPosition(0);
    QTest::keyClicks(periodo, "2009");
    leave(periodo);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.model().sPeriodo() == "2009"; }))
        << periodo->text().toStdString() << " " << f.model().sPeriodo().toStdString() << " "
        << newMessages().join(" | ").toStdString() << " focus "
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                        : "none")
        << " active " << (QApplication::activeWindow() == &f);
    typeInto(f.fieldEdit(Field::Telefono), "4455667");
    leave(f.fieldEdit(Field::Telefono));
    for (Answer a : {Answer::Rectifica, Answer::Liquid, Answer::Coop}) {
        click(f.answerGroup(a)->button(0)); // "No"
    }
    click(f.answerGroup(Answer::Reorg)->button(1)); // "Sí": a reorganization
    auto *reorgType = f.findChild<QComboBox *>(QStringLiteral("CmbModPer"));
    ASSERT_NE(reorgType, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return reorgType->isEnabled(); }));
    ASSERT_TRUE(chooseByKeys(reorgType, [&](int) { return f.model().tipoReorg().startsWith('1'); }))
        << f.model().tipoReorg().toStdString();
    picture(&f, "01-identificacion");

    trace("1 companies");
    // The companies of the reorganization, each through "&Nuevo" and its dialog.
    page(f, 1);
    typeInto(f.fieldEdit(Field::FechaReorg), "15032009");
    leave(f.fieldEdit(Field::FechaReorg));
    typeInto(f.fieldEdit(Field::CantEmpresas), "2");
    leave(f.fieldEdit(Field::CantEmpresas));
    struct Company {
        const char *firstTen; // the RUC without its check digit
        const char *razon;
    };
    const Company companies[] = {{"2010007970", "MINERA LOS ALAMOS SA"},
                                 {"2010000001", "TRANSPORTES RAPIDOS DEL SUR SAC"}};
    int stored = 0;
    for (const Company &c : companies) {
        WhenModal<FrmAgePer> company([&](FrmAgePer &d) {
            enterCompany(d, c.firstTen, c.razon, stored == 1);
            if (d.isVisible()) {
                d.done(QDialog::Rejected); // a failed step must not leave the dialog open
            }
        });
        click(f.findChild<QPushButton *>(QStringLiteral("CmdOpciones_0")));
        ASSERT_TRUE(QTest::qWaitFor([&] { return company.opened(); }));
        ASSERT_TRUE(noErrors());
        ++stored;
        ASSERT_TRUE(QTest::qWaitFor([&] { return f.companyList()->rowCount() == stored; }))
            << f.companyList()->rowCount();
    }
    picture(&f, "02-sociedades");

    trace("1 base");
    // The base: net assets and box 105 through its assistant (Enter in the box opens it).
    page(f, 2);
    typeInto(f.boxEdit(101), "2500000");
    leave(f.boxEdit(101));
    QString assistantTotal;
    WhenModal<FrmAnexo105> assistant([&](FrmAnexo105 &w) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        typeInto(w.amountEdit(0), "300000");
        typeInto(w.amountEdit(10), "200000");
        assistantTotal = w.totalEdit()->text();
        picture(&w, "04-asistente-105");
        click(w.aceptarButton());
    });
    focus(f.boxEdit(105));
    QTest::keyClick(f.boxEdit(105), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return assistant.opened(); }))
        << f.boxEdit(105)->isEnabled() << f.boxEdit(105)->isReadOnly();
    EXPECT_EQ(assistantTotal, "500,000");
    // The box shows the deduction in parentheses.
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.boxEdit(105)->text() == "(500,000)"; }))
        << f.boxEdit(105)->text().toStdString();

    trace("1 debt");
    // The debt: the payment of the whole tax by cheque.
    page(f, 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.boxEdit(160)->isReadOnly(); }));
    typeInto(f.boxEdit(160), "1");
    leave(f.boxEdit(160));
    const QString debt = f.boxEdit(146)->text();
    // The declarant's tax (2,500,000 - 500,000 - 1,000,000) x 0.4 % = 4,000, and the absorbed
    // companies' (2,000,000 - 1,000,000) x 0.4 % = 4,000 each in box 115.
    EXPECT_EQ(f.boxEdit(114)->text(), "4,000");
    EXPECT_EQ(f.boxEdit(115)->text(), "8,000");
    EXPECT_EQ(debt, "12,000");
    typeInto(f.boxEdit(180), QString(debt).remove(u','));
    leave(f.boxEdit(180));
    auto *cheque = f.findChild<QRadioButton *>(QStringLiteral("optCheque"));
    auto *bank = f.findChild<QComboBox *>(QStringLiteral("cboBanco"));
    auto *chequeNumber = f.findChild<QLineEdit *>(QStringLiteral("txtNumCheque"));
    ASSERT_TRUE(cheque && bank && chequeNumber);
    click(cheque);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bank->isEnabled(); }));
    ASSERT_TRUE(chooseByKeys(bank, [&](int) { return f.model().payment().bankCode() != "XX"; }));
    typeInto(chequeNumber, "00012345");
    leave(chequeNumber);
    ASSERT_EQ(f.model().payment().paymentType(), "C");
    picture(&f, "05-pago-cheque");

    trace("1 representative");
    // The representative.
    page(f, 4);
    auto *docType = f.findChild<QComboBox *>(QStringLiteral("cboTipDocRepLegal"));
    ASSERT_NE(docType, nullptr);
    ASSERT_TRUE(chooseByKeys(docType, [&](int i) {
        return entryTypeCode(docType->itemData(i).toString()) == QStringLiteral("01");
    }));
    typeInto(f.boxEdit(226), "12345678");
    leave(f.boxEdit(226));
    typeInto(f.fieldEdit(Field::ApellidoRepresentante), "diaz");
    leave(f.fieldEdit(Field::ApellidoRepresentante));
    ASSERT_TRUE(noErrors());
}

TEST_F(LifeOnX11, OneDeclarationFromEntryToDeletion)
{
    const QString binDir = qEnvironmentVariable("QZ_BIN_DIR");
    ASSERT_FALSE(binDir.isEmpty());
    messages_.answer = MessageAnswer::Yes; // the questions of the recovery and the delete
    const std::set<QString> rpt0 = files("RPT"), tmp0 = files("TMP");

    // The host window first: declmod is the host's module.
    DialogMessenger hostMessages;
    HostWindow host(hostMessages, binDir);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));

    RunState state;
    MDIFrm main(state, messages_);
    ASSERT_TRUE(main.load());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main)) << "the window manager gives no activation";
    ASSERT_TRUE(noErrors());

    // 1-3: entered, checked and saved in the window "&Nueva" opens.
    bool validated = false, saved = false;
    QStringList afterValidar, afterGrabar;
    bool inconsistent = false;
    WhenModal<Frm731> nueva([&](Frm731 &f) {
        [&] {
            enter(f);
            if (HasFatalFailure()) {
                return;
            }
            newMessages();
            WhenModal<FrmConsist> inconsistencies([&](FrmConsist &list) {
                inconsistent = true;
                list.reject();
            });
            trace("2 validar");
            click(f.validarButton()); // 2
            ASSERT_FALSE(inconsistent) << "the review listed inconsistencies";
            afterValidar = newMessages();
            validated = true;
            picture(&f, "06-validar");
            trace("3 grabar");
            click(f.grabarButton()); // 3
            afterGrabar = newMessages();
            saved = f.saveState() == 1;
        }();
        click(f.salirButton());
    });
    main.action(Command::Nueva)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return nueva.opened(); }));
    EXPECT_FALSE(inconsistent);
    ASSERT_TRUE(validated);
    ASSERT_TRUE(saved) << afterGrabar.join(" | ").toStdString();
    EXPECT_TRUE(afterValidar.contains(
        QStringLiteral("La información de la declaración no presenta inconsistencias.")))
        << afterValidar.join(" | ").toStdString();
    EXPECT_TRUE(
        afterGrabar.contains(QStringLiteral("La declaración fue grabada satisfactoriamente.")))
        << afterGrabar.join(" | ").toStdString();

    // Stored: the header (state 0, cheque), the boxes, the assistant's rows, the companies.
    ASSERT_EQ(count("CAB"), 1);
    EXPECT_EQ(value("SELECT estado FROM CAB WHERE doc_id_d=" + sqlQuoted(ruc_)), "0");
    EXPECT_EQ(value("SELECT trim(nrocheque) FROM CAB WHERE doc_id_d=" + sqlQuoted(ruc_)),
              "00012345");
    EXPECT_EQ(value("SELECT cheque FROM CAB WHERE doc_id_d=" + sqlQuoted(ruc_)), "12000");
    EXPECT_EQ(box("DET", "101"), "2500000");
    EXPECT_EQ(box("DET", "105"), "-500000");
    EXPECT_EQ(box("DET", "546"), "300000");
    EXPECT_EQ(box("DET", "556"), "200000");
    EXPECT_EQ(box("DET", "180"), "12000");
    EXPECT_EQ(count("F731EMPRESAS"), 2);
    EXPECT_EQ(count("HCAB") + count("HDET") + count("HF731EMPRESAS"), 0);
    expectWorkingCodes();
    const std::map<QString, QString> savedCodes = workingCodes();
    const qint64 savedDet = count("DET");
    EXPECT_EQ(files("RPT"), rpt0);
    EXPECT_EQ(files("TMP"), tmp0);

    trace("4-5 enviar");
    // 4-5: sent by the host's "Enviar"; the summary and the receipt are its boxes.
    host.refreshDeclarations();
    auto *list = host.findChild<QTableWidget *>(QStringLiteral("declarations"));
    ASSERT_NE(list, nullptr);
    int hostRow = -1;
    for (int r = 0; r < list->rowCount(); ++r) {
        if (list->item(r, 0)->text() == ruc_) {
            hostRow = r;
        }
    }
    ASSERT_GE(hostRow, 0) << "not in the host's list";
    EXPECT_EQ(list->item(hostRow, 3)->text(), "0 - Consistente");
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(hostRow, 0)).center());
    ASSERT_EQ(list->currentRow(), hostRow);
    picture(&host, "07-velquira");
    BoxAnswerer boxes;
    boxes.pictures[QStringLiteral("Resumen de Declaración Generada")] = "08-resumen";
    boxes.pictures[QStringLiteral("Constancia de recepción")] = "09-constancia";
    click(host.findChild<QPushButton *>(QStringLiteral("send")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.boxes.size() >= 2; }, 120000));
    ASSERT_EQ(boxes.boxes.size(), 2u) << boxes.boxes.front().text.toStdString();
    EXPECT_EQ(boxes.boxes[0].title, "Resumen de Declaración Generada");
    EXPECT_TRUE(boxes.boxes[0].text.contains(ruc_)) << boxes.boxes[0].text.toStdString();
    EXPECT_EQ(boxes.boxes[1].title, "Constancia de recepción");
    const QRegularExpressionMatch receipt =
        QRegularExpression(
            QStringLiteral("Número de orden: (\\d+)\\nCódigo de verificación: (\\w+)"))
            .match(boxes.boxes[1].text);
    ASSERT_TRUE(receipt.hasMatch()) << boxes.boxes[1].text.toStdString();
    const QString orden = receipt.captured(1), codigo = receipt.captured(2);

    // Moved into the history with the working rows' codes; declrep's copy in TMP holds the
    // summary shown; its report is in RPT and SPOOL.
    EXPECT_EQ(count("CAB") + count("DET") + count("F731EMPRESAS"), 0);
    ASSERT_EQ(count("HCAB"), 1);
    EXPECT_EQ(count("HDET"), savedDet);
    EXPECT_EQ(count("HF731EMPRESAS"), 2);
    EXPECT_EQ(value("SELECT CORREL FROM HCAB WHERE doc_id_d=" + sqlQuoted(ruc_)), "001");
    EXPECT_EQ(value("SELECT estado FROM HCAB WHERE doc_id_d=" + sqlQuoted(ruc_)), "0");
    EXPECT_TRUE(db_.scalar("SELECT NORDEN FROM HCAB WHERE doc_id_d=" + sqlQuoted(ruc_)).isNull());
    const QString control = value("SELECT CONTROL FROM HCAB WHERE doc_id_d=" + sqlQuoted(ruc_));
    EXPECT_EQ(control.size(), 8);
    EXPECT_TRUE(verifyOrderNumber(control, orden, codigo));
    EXPECT_EQ(historyCodes(), savedCodes);
    // declrep's hand-over: the summary in TMP (the text shown), its report in RPT registered
    // in SPOOL, and its copies in RPT.
    const QString base = QStringLiteral("0731200900E") + control;
    const std::set<QString> tmpSent = files("TMP");
    EXPECT_EQ(added(tmp0, tmpSent), std::set<QString>{base + QStringLiteral(".TXT")});
    QFile summary(inst_.dir() + QStringLiteral("/TMP/") + base + QStringLiteral(".TXT"));
    ASSERT_TRUE(summary.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLatin1(summary.readAll())
                  .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                  .trimmed(),
              boxes.boxes[0].text.trimmed());
    const std::set<QString> rptSent = files("RPT");
    EXPECT_EQ(added(rpt0, rptSent),
              (std::set<QString>{QStringLiteral("00000001.PRN"), base + QStringLiteral(".PRN"),
                                 base + QStringLiteral(".txt")}));
    EXPECT_EQ(value("SELECT Archivo FROM SPOOL"), "00000001.PRN");

    trace("6 order number");
    // 6: the order number registered through the sent list and the sent view.
    bool registered = false;
    WhenModal<FrmContAbrirEnv> sentList([&](FrmContAbrirEnv &d) {
        [&] {
            selectOurs(d);
            WhenModal<Frm731> view([&](Frm731 &f) {
                [&] {
                    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
                    typeInto(f.fieldEdit(Field::NumOrden), orden);
                    leave(f.fieldEdit(Field::NumOrden));
                    typeInto(f.fieldEdit(Field::NumOrdenCheck), codigo);
                    leave(f.fieldEdit(Field::NumOrdenCheck));
                    picture(&f, "10-numero-orden");
                    click(f.grabarButton());
                    registered = newMessages().contains(
                        QStringLiteral("El número de orden fue registrado satisfactoriamente."));
                }();
                click(f.salirButton());
            });
            click(d.button(0));
            ASSERT_TRUE(QTest::qWaitFor([&] { return view.opened(); }));
        }();
        click(d.button(1)); // "&Salir"
    });
    main.action(Command::RegistrarOrden)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sentList.opened(); }));
    ASSERT_TRUE(registered);
    EXPECT_EQ(value("SELECT NORDEN FROM HCAB WHERE doc_id_d=" + sqlQuoted(ruc_)),
              QString::number(orden.toLongLong()));
    EXPECT_EQ(box("HDET", "806"), codigo);
    for (Record &r : rows(QStringLiteral("HDET"))) {
        if (r.value(QStringLiteral("Casilla")).toText() == "806") {
            EXPECT_EQ(r.value(QStringLiteral("cNumero")).toText(), recordControlCode(r, 7));
        }
    }
    std::map<QString, QString> sentCodes = historyCodes();
    sentCodes.erase(QStringLiteral("DET 806"));
    EXPECT_EQ(sentCodes, savedCodes);
    EXPECT_EQ(count("HDET"), savedDet + 1);
    EXPECT_EQ(files("RPT"), rptSent); // the registration writes no file
    EXPECT_EQ(files("TMP"), tmpSent);

    trace("7 print as sent");
    // 7: printed as sent: "&Preliminar", all pages, and the preview's PDF.
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString pdf = out.filePath(QStringLiteral("enviada.pdf"));
    int previewPages = -1, rangePages = -1;
    const std::set<QString> rptBeforePrint = files("RPT");
    WhenModal<FrmTipPrnR> printList([&](FrmTipPrnR &d) {
        [&] {
            selectOurs(d);
            QTest::mouseClick(d.anexo(), Qt::LeftButton, {}, QPoint(4, d.anexo()->height() / 2));
            WhenModal<FrmImpxPag> range([&](FrmImpxPag &r) {
                rangePages = r.total()->text().toInt();
                typeInto(r.hasta(), r.total()->text());
                WhenModal<FrmPreview> preview([&](FrmPreview &p) {
                    previewPages = p.pageCount();
                    picture(&p, "11-preliminar");
                    WhenModal<QFileDialog> save([&](QFileDialog &fd) {
                        auto *name = fd.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                        ASSERT_NE(name, nullptr);
                        name->setText(pdf);
                        static_cast<QDialog &>(fd).accept(); // as its Save button does
                    });
                    p.action("pdf")->trigger();
                    p.action("salir")->trigger();
                });
                click(r.preliminar());
                click(r.cancelar());
            });
            click(d.button(0)); // "&Preliminar"
            ASSERT_TRUE(QTest::qWaitFor([&] { return range.opened(); }));
        }();
        click(d.button(2)); // "&Salir"
    });
    main.action(Command::ImprimirEnviada)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return printList.opened(); }));
    ASSERT_TRUE(noErrors());
    EXPECT_EQ(rangePages, 3);
    EXPECT_EQ(previewPages, 3);
    EXPECT_EQ(test::pdfPageCount(pdf), 3);
    EXPECT_TRUE(test::pdfText(pdf, 1, 1).contains(ruc_));
    EXPECT_EQ(added(rptBeforePrint, files("RPT")).size(), 1u);
    EXPECT_EQ(value("SELECT count(*) FROM SPOOL"), "2");

    trace("8 recover");
    // 8: recovered into the working tables; the sending stays.
    bool recovered = false;
    WhenModal<FrmContAbrirEnv> recoverList([&](FrmContAbrirEnv &d) {
        [&] {
            selectOurs(d);
            WhenModal<FrmRecuperar> recover([&](FrmRecuperar &r) {
                picture(&r, "12-recuperar");
                click(r.recuperarButton());
                recovered = newMessages().contains(
                    QStringLiteral("Se termino de recuperar la información satisfactoriamente."));
                click(r.salirButton());
            });
            click(d.button(0));
            ASSERT_TRUE(QTest::qWaitFor([&] { return recover.opened(); }));
        }();
        click(d.button(1));
    });
    main.action(Command::Recuperar)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recoverList.opened(); }));
    ASSERT_TRUE(recovered) << messages_.shown.back().text.toStdString();
    ASSERT_EQ(count("CAB"), 1);
    EXPECT_EQ(value("SELECT estado FROM CAB WHERE doc_id_d=" + sqlQuoted(ruc_)), "9");
    EXPECT_EQ(count("F731EMPRESAS"), 2);
    EXPECT_EQ(box("DET", "101"), "2500000");
    EXPECT_EQ(count("HCAB"), 1);
    // The rows come back with the codes they were sent with (the order number's code row of
    // HDET too, into DET); the header comes back in state 9, saved with inconsistencies until
    // it is saved again, under its code of state 0. So every row but those two satisfies its
    // code now, and all of them once saved again (step 10).
    std::map<QString, QString> recoveredCodes = workingCodes();
    EXPECT_EQ(recoveredCodes, historyCodes());
    for (const char *t : {"CAB", "DET", "F731EMPRESAS"}) {
        for (const Record &r : rows(QString::fromLatin1(t))) {
            const bool header = QLatin1String(t) == QLatin1String("CAB");
            const bool order = QLatin1String(t) == QLatin1String("DET") &&
                               r.value(QStringLiteral("Casilla")).toText() == "806";
            const QString code = r.value(r.columnCount() - 1).toText();
            const QString computed = recordControlCode(r, header ? 5 : 6);
            if (header || order) {
                EXPECT_NE(code, computed) << t;
            } else {
                EXPECT_EQ(code, computed) << t << " " << r.value(5).toText().toStdString();
            }
        }
    }

    trace("9-10 modify and save");
    // 9-10: changed and saved again through "&Modificar".
    bool resaved = false;
    WhenModal<FrmContAbrir> modify([&](FrmContAbrir &d) {
        [&] {
            selectOurs(d);
            WhenModal<Frm731> form([&](Frm731 &f) {
                [&] {
                    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
                    page(f, 2);
                    typeInto(f.boxEdit(101), "3000000");
                    leave(f.boxEdit(101));
                    page(f, 3);
                    // (3,000,000 - 500,000 - 1,000,000) x 0.4 % = 6,000, and 8,000 of the
                    // companies.
                    EXPECT_EQ(f.boxEdit(146)->text(), "14,000");
                    typeInto(f.boxEdit(180), "14000");
                    leave(f.boxEdit(180));
                    picture(&f, "13-modificar");
                    click(f.grabarButton());
                    resaved = f.saveState() == 1;
                }();
                click(f.salirButton());
            });
            click(d.button(0));
            ASSERT_TRUE(QTest::qWaitFor([&] { return form.opened(); }));
        }();
        click(d.button(1));
    });
    main.action(Command::Modificar)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return modify.opened(); }));
    ASSERT_TRUE(resaved);
    ASSERT_TRUE(noErrors());
    EXPECT_EQ(box("DET", "101"), "3000000");
    EXPECT_EQ(box("DET", "180"), "14000");
    EXPECT_EQ(value("SELECT estado FROM CAB WHERE doc_id_d=" + sqlQuoted(ruc_)), "0");
    EXPECT_EQ(value("SELECT cheque FROM CAB WHERE doc_id_d=" + sqlQuoted(ruc_)), "14000");
    EXPECT_EQ(count("F731EMPRESAS"), 2);
    expectWorkingCodes();
    EXPECT_NE(workingCodes(), savedCodes);

    trace("11 delete");
    // 11: deleted through "&Eliminar"; the sending stays in the history.
    WhenModal<FrmContAbrir> remove([&](FrmContAbrir &d) {
        [&] {
            selectOurs(d);
            picture(&d, "14-eliminar");
            click(d.button(0));
        }();
        click(d.button(1));
    });
    main.action(Command::Eliminar)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return remove.opened(); }));
    ASSERT_TRUE(noErrors());
    EXPECT_EQ(count("CAB") + count("DET") + count("F731EMPRESAS"), 0);
    EXPECT_EQ(count("HCAB"), 1);
    EXPECT_EQ(count("HF731EMPRESAS"), 2);
    EXPECT_EQ(count("HDET"), savedDet + 1);

    trace("velquira --send");
    // The separate host program meets the same database: nothing is left to send.
    const QList<qint64> before = {count("HCAB"), count("HDET"), count("CAB")};
    QProcess velquira;
    velquira.start(QDir(binDir).filePath(QStringLiteral("velquira")),
                   {QStringLiteral("--send"), ruc_, QStringLiteral("2009")});
    ASSERT_TRUE(velquira.waitForFinished(60000));
    EXPECT_EQ(velquira.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(velquira.exitCode(), 0) << velquira.readAllStandardOutput().toStdString();
    EXPECT_EQ(before, (QList<qint64>{count("HCAB"), count("HDET"), count("CAB")}));
}

} // namespace
} // namespace qz

int main(int argc, char **argv)
{
    return qz::test::runTestsOnXvfb(argc, argv, [](qz::test::XvfbServer &server) {
        const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (openbox.isEmpty()) {
            qz::gNoWindowManager = QStringLiteral("openbox is not installed");
            return;
        }
        auto *wm = new qz::WindowManager(server, openbox);
        testing::AddGlobalTestEnvironment(wm); // stopped before the server, when the tests end
        if (!wm->running()) {
            qz::gNoWindowManager = wm->errorString();
        }
    });
}
