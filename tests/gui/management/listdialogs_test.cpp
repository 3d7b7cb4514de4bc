// FrmContAbrir and FrmContAbrirEnv on the offscreen platform: the texts of each mode, the empty
// list, double click, the deletes, the declaration window opened for the chosen row, the status
// bar, help, the selected declaration kept across a refresh, and lists that cannot be read.
#include "managementuifixture.h"

#include "gui/declaration/frm731.h"
#include "gui/management/frmrecuperar.h"
#include "support/failingwrites.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace qz {
namespace {

using test::demoRuc;
using test::WhenModal;

class ListDialogsTest : public test::ManagementUiTest {
protected:
    static QStringList headings(const ManagementListDialog &d)
    {
        QStringList h;
        for (int c = 0; c < d.model()->columnCount(); ++c) {
            h << d.model()->headerData(c, Qt::Horizontal).toString();
        }
        return h;
    }
    // Double-clicks a row of the grid as the user does.
    static void doubleClick(ManagementListDialog &d, int row)
    {
        QWidget *viewport = d.grid()->viewport();
        const QPoint at = d.grid()->visualRect(d.model()->index(row, 1)).center();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    }
    // n declarations of 2009 of taxpayers "10000000000"... listed before the demo taxpayers.
    void manyBefore(int n)
    {
        for (int i = 0; i < n; ++i) {
            const QString ruc = QString("10%1").arg(i, 9, 10, QChar('0'));
            db_.execute("INSERT INTO CONT VALUES (6, '" + ruc + "', 2, 'EMPRESA', 'USUARIO1')");
            registered(ruc, "2009");
        }
    }
    qint64 rowsOfPeriod(const QString &table, const QString &ruc, const QString &periodo)
    {
        return count("SELECT count(*) FROM " + table + " WHERE doc_id_d=" + sqlQuoted(ruc) +
                     " AND periodo=" + sqlQuoted(periodo));
    }
};

TEST_F(ListDialogsTest, TextsColumnsAndButtonsOfEachMode)
{
    registered(ruc_, "2009");
    sent(ruc_, "2009", "002");
    const struct {
        std::function<std::unique_ptr<ManagementListDialog>()> open;
        const char *caption, *prompt, *action;
        bool visualizar;
        int help;
    } modes[] = {
        {[&] { return registeredList(1); }, "Modificar Declaraciones",
         "Seleccione la Declaración que desea modificar :", "&Modificar", false, 1011},
        {[&] { return registeredList(3); }, "Eliminar Declaraciones",
         "Seleccione la Declaración que desea eliminar :", "&Eliminar", false, 1011},
        {[&] { return sentList(1, true); }, "Registrar número de orden",
         "Seleccione la Declaración en la que desea registrar el número de orden asignado por "
         "KORVA :",
         "&Registrar", false, 1012},
        {[&] { return sentList(3); }, "Eliminar Declaraciones Enviadas",
         "Seleccione la Declaración que desea eliminar :", "&Eliminar", false, 1012},
        {[&] { return sentList(1, false, true); }, "Registrar número de orden",
         "Seleccione la Declaración en la que desea registrar el número de orden asignado por "
         "KORVA :",
         "Recuperar", true, 1012},
    };
    for (const auto &m : modes) {
        SCOPED_TRACE(m.caption);
        const auto d = m.open();
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8(m.caption));
        EXPECT_EQ(d->prompt()->text(), QString::fromUtf8(m.prompt));
        EXPECT_EQ(d->button(0)->text(), m.action);
        EXPECT_EQ(d->button(1)->text(), "&Salir");
        EXPECT_EQ(d->button(2)->text(), "&Visualizar");
        EXPECT_EQ(d->button(2)->isVisible(), m.visualizar);
        EXPECT_EQ(d->helpTopic(), m.help);
        EXPECT_EQ(d->model()->rowCount(), 1);
        EXPECT_EQ(d->selectedRow(), 0);
        EXPECT_TRUE(d->grid()->isEnabled());
        QSignalSpy help(d.get(), &ManagementListDialog::helpRequested);
        QTest::keyClick(d.get(), Qt::Key_F1);
        ASSERT_EQ(help.size(), 1);
        EXPECT_EQ(help.at(0).at(0).toInt(), m.help);
        if (m.help == 1011) {
            EXPECT_EQ(headings(*d), FrmContAbrirHeadings());
        } else {
            EXPECT_EQ(headings(*d), FrmContAbrirEnvHeadings());
            EXPECT_TRUE(d->grid()->isColumnHidden(sentcol::kCorrel));
            EXPECT_FALSE(d->grid()->isColumnHidden(sentcol::kControl));
            EXPECT_EQ(d->model()->index(0, sentcol::kFecEnv).data().toString(), "02/05/2026");
        }
    }
}

// With nothing listed every action does nothing and the dialog stays; the sent list's grid is
// disabled.
TEST_F(ListDialogsTest, EmptyListsDoNothing)
{
    // The list dialogs here are shown, not run: any other modal window would be one they opened.
    WhenModal<Frm731> form([](Frm731 &w) { w.done(0); });
    WhenModal<FrmRecuperar> recovery([](FrmRecuperar &w) { w.done(0); });
    for (int iOpcion : {1, 3}) {
        const auto d = registeredList(iOpcion);
        EXPECT_EQ(d->model()->rowCount(), 0);
        d->CmdAccion_Click(0);
        EXPECT_TRUE(d->isVisible());
        EXPECT_TRUE(d->isEnabled());
    }
    for (int iModo : {1, 3}) {
        const auto d = sentList(iModo, true, iModo == 1);
        EXPECT_FALSE(d->grid()->isEnabled());
        d->CmdAccion_Click(0);
        d->CmdAccion_Click(2);
        EXPECT_TRUE(d->isVisible());
    }
    QApplication::processEvents();
    EXPECT_FALSE(form.opened());
    EXPECT_FALSE(recovery.opened());
    EXPECT_TRUE(messages_.shown.empty());
}

// Double click is button 0: here the delete, which asks first; No keeps everything, Yes
// removes the declaration with all its rows and nothing of another period or taxpayer.
TEST_F(ListDialogsTest, RegisteredDeleteAsksAndRemoves)
{
    registered(ruc_, "2008");
    registered(ruc_, "2009");
    registered(other_, "2009");
    const auto d = registeredList(3);
    QAbstractItemModelTester tester(d->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    const int row = rowOf(*d, ruc_, "2008");
    ASSERT_EQ(rowOf(*d, ruc_, "2009"), row + 1);
    const QList<qint64> before = allCounts();

    messages_.answer = MessageAnswer::No;
    doubleClick(*d, row);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(messages_.shown[0].title, "Eliminar Declaraciones");
    EXPECT_EQ(messages_.shown[0].text,
              QString::fromUtf8("¿Confirma que va a eliminar la declaración de\r\n\r\n"
                                "INVERSIONES D'ALESSANDRO S.A.C.?"));
    EXPECT_EQ(allCounts(), before);

    messages_.answer = MessageAnswer::Yes;
    doubleClick(*d, row);
    EXPECT_EQ(messages_.shown.size(), 2u);
    for (const char *table : {"CAB", "DET", "F731EMPRESAS", "F731PORCENTAJE"}) {
        EXPECT_EQ(rowsOfPeriod(table, ruc_, "2008"), 0) << table;
        EXPECT_EQ(rowsOfPeriod(table, ruc_, "2009"), 1 + (QString(table) == "DET")) << table;
        EXPECT_GT(rowsOf(table, other_), 0) << table;
    }
    EXPECT_EQ(d->model()->rowCount(), 2);
    EXPECT_EQ(rowOf(*d, ruc_, "2008"), -1);
    EXPECT_EQ(d->selectedRow(), row); // the next declaration moved into its place
    EXPECT_EQ(rowOf(*d, ruc_, "2009"), row);
    EXPECT_TRUE(d->isVisible());
}

// A delete that fails in the middle shows the standard box; every row stays, and the dialog
// stays usable: the next delete works.
TEST_F(ListDialogsTest, FailedDeleteShowsTheErrorAndLeavesTheDialogUsable)
{
    registered(ruc_, "2009");
    const auto d = registeredList(3);
    test::FailingWrites fail(db_, "fail", "F731EMPRESAS", "DELETE", {}, "disco lleno");
    const QList<qint64> before = allCounts();
    messages_.answer = MessageAnswer::Yes;
    d->button(0)->click();
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[1].title, "Error");
    EXPECT_EQ(messages_.shown[1].icon, MessageIcon::Critical);
    EXPECT_TRUE(messages_.shown[1].text.contains(QRegularExpression("^\\d+\\n.*disco lleno")))
        << messages_.shown[1].text.toStdString();
    EXPECT_EQ(allCounts(), before);
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(d->isEnabled());
    EXPECT_EQ(d->model()->rowCount(), 1);

    fail.stop();
    d->button(0)->click();
    EXPECT_EQ(rowsOf("CAB", ruc_), 0);
    EXPECT_EQ(d->model()->rowCount(), 0);
}

// "&Modificar" opens the declaration window for the chosen row, the list disabled meanwhile;
// afterwards the list is read again with the same declaration selected, although another
// program deleted declarations before it in the meantime.
TEST_F(ListDialogsTest, ModificarOpensTheChosenDeclarationAndKeepsItSelected)
{
    manyBefore(300); // listed before the chosen one
    registered(ruc_, "2008");
    registered(ruc_, "2009");
    db_.execute("INSERT INTO CONT VALUES (6, '99999999999', 2, 'ULTIMA S.A.', 'USUARIO1')");
    registered("99999999999", "2009"); // listed after the chosen one
    const auto d = registeredList(1);
    // The grid reads the next batch when the user scrolls to its end. (The model tester reads
    // one itself, so it comes after.)
    EXPECT_EQ(d->model()->rowCount(), DeclarationListModel::kBatchSize);
    QScrollBar *bar = d->grid()->verticalScrollBar();
    bar->setValue(bar->maximum());
    ASSERT_TRUE(QTest::qWaitFor([&] { return rowOf(*d, ruc_, "2009") >= 0; }));
    EXPECT_EQ(d->model()->rowCount(), 303);
    QAbstractItemModelTester tester(d->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    const int row = rowOf(*d, ruc_, "2009");
    ASSERT_GT(row, DeclarationListModel::kBatchSize);
    select(*d, row);
    EXPECT_EQ(bar_.taxpayerNumber(), ruc_);
    EXPECT_EQ(bar_.period(), "2009");

    bool disabled = false;
    QString shownRuc, shownPeriod, shownName;
    WhenModal<Frm731> form([&](Frm731 &f) {
        disabled = !d->isEnabled();
        shownRuc = f.findChild<QLineEdit *>("TxtNumRuc")->text();
        shownPeriod = f.fieldEdit(Field::Periodo)->text();
        shownName = f.fieldEdit(Field::Razon)->text();
        db_.execute("DELETE FROM CAB WHERE doc_id_d IN ('10000000000', '10000000001')");
        f.salirButton()->click();
    });
    d->button(0)->click();
    ASSERT_TRUE(form.opened());
    EXPECT_TRUE(disabled);
    EXPECT_EQ(shownRuc, ruc_);
    EXPECT_EQ(shownPeriod, "2009");
    EXPECT_EQ(shownName, "INVERSIONES D'ALESSANDRO S.A.C.");
    EXPECT_TRUE(d->isEnabled());
    EXPECT_EQ(d->selectedRow(), row - 2);
    EXPECT_EQ(rowOf(*d, ruc_, "2009"), row - 2);
    EXPECT_EQ(bar_.taxpayerNumber(), ruc_); // published again on the restored row
}

// "&Registrar" and "&Visualizar" show the sent declaration through the shared routine: its
// number, name, sending and control numbers, and its order number.
TEST_F(ListDialogsTest, SentDeclarationOpensWithItsFiveValues)
{
    sent(ruc_, "2009", "001");
    sent(ruc_, "2009", "002");
    for (bool recuperar : {false, true}) {
        SCOPED_TRACE(recuperar);
        const auto d = sentList(1, true, recuperar);
        select(*d, rowOf(*d, ruc_, "2009", "002"));
        DeclarationRun seen;
        QString numOrden;
        bool orderEnabled = false;
        WhenModal<Frm731> form([&](Frm731 &f) {
            seen = {f.model().iModo(), f.model().sUsuario(), f.model().bHistorico(),
                    f.model().sCorrel(), f.model().sNumControl()};
            numOrden = f.model().field(Field::NumOrden);
            orderEnabled = f.fieldEdit(Field::NumOrden)->isEnabled();
            f.salirButton()->click();
        });
        d->CmdAccion_Click(recuperar ? 2 : 0);
        ASSERT_TRUE(form.opened());
        EXPECT_EQ(seen.iModo, 1);
        EXPECT_TRUE(seen.bHistorico);
        EXPECT_EQ(seen.sCorrel, "002");
        EXPECT_EQ(seen.sNumControl, "C002");
        EXPECT_EQ(numOrden, "77");
        EXPECT_EQ(orderEnabled, !recuperar); // viewing registers nothing
        EXPECT_TRUE(d->isEnabled());
        EXPECT_EQ(d->selectedRow(), rowOf(*d, ruc_, "2009", "002"));
    }
}

// In recovery mode button 0 opens FrmRecuperar for the chosen sending, the list disabled until
// it closes.
TEST_F(ListDialogsTest, RecuperarOpensTheRecoveryDialog)
{
    sent(ruc_, "2009", "002");
    const auto d = sentList(1, false, true);
    bool disabled = false;
    QString shownRuc;
    WhenModal<FrmRecuperar> recovery([&](FrmRecuperar &r) {
        disabled = !d->isEnabled();
        shownRuc = r.field(FrmRecuperar::Field::Ruc)->text();
        r.salirButton()->click();
    });
    doubleClick(*d, 0);
    ASSERT_TRUE(recovery.opened());
    EXPECT_TRUE(disabled);
    EXPECT_EQ(shownRuc, ruc_);
    EXPECT_TRUE(d->isEnabled());
    EXPECT_TRUE(d->isVisible());
}

// A row change publishes the row trimmed while the dialog is enabled; "&Salir", Escape and
// the close box publish as defined and close.
TEST_F(ListDialogsTest, StatusBarOnRowChangeAndSalir)
{
    db_.execute("INSERT INTO CONT VALUES (6, ' 20999999999 ', 2, ' BLANCOS S.A. ', 'USUARIO0')");
    registered(" 20999999999 ", " 2009 ");
    registered(ruc_, "2008");
    sent(" 20999999999 ", " 2009 ", "001");
    sent(ruc_, "2008", "001");
    {
        const auto d = registeredList(1);
        select(*d, rowOf(*d, " 20999999999 ", " 2009 "));
        EXPECT_EQ(bar_.taxpayerNumber(), "20999999999");
        EXPECT_EQ(bar_.taxpayerName(), "BLANCOS S.A.");
        EXPECT_EQ(bar_.period(), "2009");
        EXPECT_EQ(bar_.formCode(), "0731");
        d->setEnabled(false);
        select(*d, rowOf(*d, ruc_, "2008"));
        EXPECT_EQ(bar_.taxpayerNumber(), "20999999999"); // not while disabled
        d->setEnabled(true);
        select(*d, rowOf(*d, " 20999999999 ", " 2009 "));
        d->button(1)->click();
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(bar_.taxpayerNumber(), "");
        EXPECT_EQ(bar_.taxpayerName(), "");
        EXPECT_EQ(bar_.period(), " 2009 "); // as stored
        EXPECT_EQ(bar_.formCode(), "0731");
        EXPECT_EQ(d->model()->rowCount(), 0); // the data source detached
    }
    {
        const auto d = sentList(3);
        select(*d, rowOf(*d, " 20999999999 ", " 2009 "));
        QTest::keyClick(d->grid(), Qt::Key_Escape);
        EXPECT_FALSE(d->isVisible());
        // As defined, the form code goes to the period and the period (trimmed) to the form.
        EXPECT_EQ(bar_.period(), "0731");
        EXPECT_EQ(bar_.formCode(), "2009");
    }
    {
        const auto d = registeredList(3);
        select(*d, rowOf(*d, ruc_, "2008"));
        d->close();
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(bar_.period(), "2008");
    }
}

// A list that cannot be read is tried kLoadAttempts times, a box each time, and the dialog is
// not shown; a refresh that cannot read it closes the dialog.
TEST_F(ListDialogsTest, AListThatCannotBeReadIsTriedABoundedNumberOfTimes)
{
    registered(ruc_, "2009");
    sent(ruc_, "2009", "001");
    db_.execute("ALTER TABLE CONT RENAME TO CONT_OLD");
    FrmContAbrir reg(context(1), 1, nullptr);
    EXPECT_FALSE(reg.load());
    ASSERT_EQ(messages_.shown.size(), size_t(ManagementListDialog::kLoadAttempts));
    for (const auto &m : messages_.shown) {
        EXPECT_EQ(m.title, "Error");
        EXPECT_TRUE(m.text.startsWith("3078\n")) << m.text.toStdString();
    }
    messages_.shown.clear();
    FrmContAbrirEnv env(context(3), nullptr);
    EXPECT_FALSE(env.load());
    ASSERT_EQ(messages_.shown.size(), size_t(ManagementListDialog::kLoadAttempts));
    EXPECT_TRUE(messages_.shown[0].text.endsWith("\n 3078"))
        << messages_.shown[0].text.toStdString();
    db_.execute("ALTER TABLE CONT_OLD RENAME TO CONT");

    // The list goes away while the dialog is open: the refresh after a delete gives up.
    messages_.shown.clear();
    const auto d = registeredList(3);
    ASSERT_EQ(d->model()->rowCount(), 1);
    db_.execute("ALTER TABLE CONT RENAME TO CONT_OLD"); // the delete itself does not read it
    messages_.answer = MessageAnswer::Yes;
    d->button(0)->click();
    EXPECT_EQ(messages_.shown.size(), 1u + ManagementListDialog::kLoadAttempts);
    EXPECT_FALSE(d->isVisible());
}

// A batch that cannot be read while the user scrolls is reported in the standard box; the rows
// read stay and the dialog stays usable.
TEST_F(ListDialogsTest, ABatchThatCannotBeReadIsReported)
{
    manyBefore(300);
    const auto d = registeredList(1);
    ASSERT_EQ(d->model()->rowCount(), DeclarationListModel::kBatchSize);
    db_.execute("ALTER TABLE CONT RENAME TO CONT_OLD");
    QScrollBar *bar = d->grid()->verticalScrollBar();
    bar->setValue(bar->maximum());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages_.shown.empty(); }));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].title, "Error");
    EXPECT_TRUE(messages_.shown[0].text.startsWith("3078\n"))
        << messages_.shown[0].text.toStdString();
    EXPECT_EQ(d->model()->rowCount(), DeclarationListModel::kBatchSize);
    EXPECT_FALSE(d->model()->canFetchMore({}));
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(d->isEnabled());
}

// A quote in a taxpayer's number and name, and in the user's: listed, shown on the status bar,
// deleted (of the sent ones, only the chosen sending).
TEST_F(ListDialogsTest, QuotesInNumberAndName)
{
    db_.execute("INSERT INTO CONT VALUES (6, '20''22222222', 2, 'O''NEIL E HIJOS', 'O''NEIL')");
    registered("20'22222222", "2009");
    sent("20'22222222", "2009", "001");
    sent("20'22222222", "2009", "002");
    usuario_ = "O'NEIL"; // without a CLAVES row: only their own taxpayers
    registered(ruc_, "2009");
    const auto d = registeredList(3);
    ASSERT_EQ(d->model()->rowCount(), 1);
    EXPECT_EQ(d->model()->index(0, 1).data().toString(), "O'NEIL E HIJOS");
    EXPECT_EQ(bar_.taxpayerNumber(), "20'22222222");
    messages_.answer = MessageAnswer::Yes;
    d->button(0)->click();
    EXPECT_EQ(rowsOf("CAB", "20'22222222"), 0);
    EXPECT_EQ(rowsOf("CAB", ruc_), 1);

    // The sent delete takes only the chosen sending.
    const auto e = sentList(3);
    ASSERT_EQ(e->model()->rowCount(), 2);
    select(*e, rowOf(*e, "20'22222222", "2009", "002"));
    e->button(0)->click();
    EXPECT_EQ(messages_.shown.back().title, "Eliminar Declaraciones Enviadas");
    EXPECT_EQ(count("SELECT count(*) FROM HCAB WHERE correl='002'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM HCAB WHERE correl='001'"), 1);
    EXPECT_EQ(e->model()->rowCount(), 1);
}

} // namespace
} // namespace qz
