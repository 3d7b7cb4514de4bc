// The print dialog FrmTipPrnR on the offscreen platform: both lists, a new registered report
// for every press of "&Preliminar" (button, Enter) and "&Imprimir", the annex choosing the code
// and the page count, printing on the printer it is given, and the status bar on "&Salir".
#include "gui/management/managementuifixture.h"

#include "core/data/paths.h"
#include "gui/printing/frmimpxpag.h"
#include "gui/printing/frmtipprnr.h"
#include "support/pdftext.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace qz {
namespace {

using test::WhenModal;

class FrmTipPrnRTest : public test::ManagementUiTest {
protected:
    void SetUp() override
    {
        ManagementUiTest::SetUp();
        rpt_ = joinPath(inst_.dir(), "RPT");
        db_.execute("DELETE * FROM SPOOL");
    }

    std::unique_ptr<FrmTipPrnR> dialog(bool bHistorico)
    {
        auto d = std::make_unique<FrmTipPrnR>(context(1), bHistorico, rpt_, nullptr);
        EXPECT_TRUE(d->load());
        d->show();
        return d;
    }
    // The SPOOL rows in order: code and file name.
    QStringList spool()
    {
        const QueryResult r = db_.query("SELECT CodRep, Archivo FROM SPOOL ORDER BY Archivo");
        QStringList rows;
        for (int i = 0; i < r.rowCount(); ++i) {
            rows << r.at(i, 0).toText() + ' ' + r.at(i, 1).toText();
        }
        return rows;
    }
    QString reportText(const QString &name)
    {
        QFile file(joinPath(rpt_, name));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }
    // Presses a button of the dialog and returns the page-range dialog's caption (empty when
    // none opened); the page-range dialog is cancelled.
    QString pressAndCancel(const std::function<void()> &press)
    {
        QString caption;
        WhenModal<FrmImpxPag> range([&caption](FrmImpxPag &w) {
            caption = w.windowTitle();
            w.reject();
        });
        press();
        return caption;
    }

    QString rpt_;
    QTemporaryDir out_;
};

TEST_F(FrmTipPrnRTest, RegisteredListShowsItsFourColumnsInTheFrame)
{
    registered(ruc_, "2006");
    const auto d = dialog(false);
    EXPECT_EQ(d->windowTitle(), "Imprimir Declaraciones");
    ASSERT_NE(d->findChild<QGroupBox *>(), nullptr);
    EXPECT_EQ(d->findChild<QGroupBox *>()->title(), "Declaraciones Registradas");
    ASSERT_EQ(d->model()->columnCount(), 8);
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(d->grid()->isColumnHidden(c), c >= 4) << c;
    }
    EXPECT_EQ(d->button(0)->text(), "&Preliminar");
    EXPECT_EQ(d->button(2)->text(), "&Salir");
    // Tab goes from the list to the check box, then to the buttons, as they stand.
    QApplication::setActiveWindow(d.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
    d->grid()->setFocus();
    QTest::keyClick(d->grid(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), d->anexo());
    QTest::keyClick(d->anexo(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), d->button(0));
}

// Each press makes a new report and spool row; the annex chooses OKR003 and three pages. Enter
// in the list does what "&Preliminar" does.
TEST_F(FrmTipPrnRTest, EveryPreliminarRegistersANewReport)
{
    registered(ruc_, "2006");
    const auto d = dialog(false);
    select(*d, rowOf(*d, ruc_, "2006"));
    d->anexo()->setChecked(true);
    EXPECT_EQ(pressAndCancel([&] { d->button(0)->click(); }), "Impresión de 3 páginas");
    d->anexo()->setChecked(false);
    EXPECT_EQ(pressAndCancel([&] { QTest::keyClick(d->grid(), Qt::Key_Return); }),
              "Impresión de 2 páginas");
    ASSERT_EQ(spool(), QStringList({"OKR003 00000001.PRN", "OKR001 00000002.PRN"}));
    EXPECT_TRUE(reportText("00000001.PRN").contains("ASISTENTE DE LA CASILLA 105"));
    EXPECT_FALSE(reportText("00000002.PRN").contains("ASISTENTE DE LA CASILLA 105"));
    EXPECT_TRUE(reportText("00000002.PRN").contains("<!nHojas!>2<!/nHojas!>"));
    EXPECT_TRUE(messages_.shown.empty());
    // The declaration stays selected for the next request.
    EXPECT_EQ(d->selectedRow(), rowOf(*d, ruc_, "2006"));
}

// "&Imprimir" prints every page at once on the printer; without a printer the defined message.
TEST_F(FrmTipPrnRTest, ImprimirPrintsTheSentDeclarationOnThePrinter)
{
    sent(ruc_, "2006", "002");
    const auto d = dialog(true);
    EXPECT_EQ(d->windowTitle(), "Imprimir Declaraciones Enviadas");
    const QString pdf = out_.filePath("sent.pdf");
    d->setPrinterSource([pdf] { return pdfFilePrinter(pdf); });
    select(*d, rowOf(*d, ruc_, "2006", "002"));
    d->button(1)->click();
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(test::pdfPageCount(pdf), 2);
    const QString text = test::pdfText(pdf, 1, 1);
    EXPECT_TRUE(text.contains("Nro. Control:")) << text.toStdString();
    EXPECT_TRUE(text.contains("C002")) << text.toStdString();

    d->setPrinterSource([] { return std::unique_ptr<QPrinter>(); });
    d->button(1)->click();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].title, "Impresión");
    EXPECT_EQ(messages_.shown[0].text, "No existe una impresora seleccionada.Verifique.");
    EXPECT_EQ(spool().size(), 2);
}

TEST_F(FrmTipPrnRTest, AnEmptyListDoesNothingAndSalirPublishesThePeriod)
{
    const auto empty = dialog(false);
    EXPECT_FALSE(empty->grid()->isEnabled());
    empty->button(0)->click();
    empty->button(1)->click();
    EXPECT_TRUE(spool().isEmpty());
    EXPECT_TRUE(messages_.shown.empty());

    registered(ruc_, "2007");
    const auto d = dialog(false);
    select(*d, rowOf(*d, ruc_, "2007"));
    EXPECT_EQ(bar_.taxpayerNumber(), ruc_);
    d->button(2)->click();
    EXPECT_TRUE(bar_.taxpayerNumber().isEmpty());
    EXPECT_EQ(bar_.period(), "2007");
    EXPECT_EQ(bar_.formCode(), "0731");
    EXPECT_FALSE(d->isVisible());
}

} // namespace
} // namespace qz
