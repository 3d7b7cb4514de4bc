// A report file printed through Qt's print system on the default printer of a private CUPS
// server (a PDF printer), and the same report written by Qt as a PDF file: both outputs are
// read back with poppler and held to one layout check.
#include "core/data/paths.h"
#include "core/reports/reportfile.h"
#include "core/reports/reportwriter.h"
#include "gui/management/declarationlistmodel.h"
#include "gui/printing/frmtipprnr.h"
#include "gui/printing/reportprint.h"

#include "support/cupsserver.h"
#include "support/moduleinstall.h"
#include "support/pdfprinter.h"
#include "support/pdftext.h"
#include "support/scriptedmessenger.h"
#include "support/storeddeclaration.h"

#include <QPushButton>

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

using qz::test::CupsServer;
using qz::test::PdfWord;

constexpr double kTolerance = 1.0; // points
constexpr int kAmountX = 9000;     // twips
constexpr int kAmountSize = 10;    // points
// Amounts as the reports write them: right-justified in 16 characters of a monospace font.
const QStringList kAmounts = {QStringLiteral("         123,456"),
                              QStringLiteral("       (123,456)"),
                              QStringLiteral("           7,890")};

// The test report: two pages of texts and boxes, with its header tags at the end as the
// declaration report writes them.
bool writeTestReport(const QString &path)
{
    qz::ReportWriter w;
    if (!w.create(path)) {
        return false;
    }
    w.fontTag();
    w.pLineaPos(300, 350, QStringLiteral("KORVA"), true, 16, 0);
    w.pLineaPos(3450, 400, QStringLiteral("VEXILAR"), true, 9, 0);
    w.pLineaCuadro(150, 300, 1700, 1640, 0);
    for (int i = 0; i < kAmounts.size(); ++i) {
        w.pLineaPos(kAmountX, 2000 + 300 * i, kAmounts[i], false, kAmountSize, 0);
    }
    w.pLineaCuadro(8900, 1900, 11100, 2900, 0);
    w.pNuevaHoja();
    w.pLineaPos(300, 350, QStringLiteral("SEGUNDA HOJA"), false, 10, 1);
    w.pLineaPos(300, 650, QStringLiteral("Declaración"), false, 10, 1);
    w.pageCountTag(2);
    w.orientationTag();
    w.colorTag(qz::kColorWindowBackground);
    return w.close();
}

const PdfWord *findWord(const std::vector<PdfWord> &words, int page, const QString &text)
{
    for (const PdfWord &w : words) {
        if (w.page == page && w.text == text) {
            return &w;
        }
    }
    return nullptr;
}

// The words of a PDF, one a line, for a failure message.
std::string describe(const std::vector<PdfWord> &words)
{
    QString text;
    for (const PdfWord &w : words) {
        text += QStringLiteral("page %1 (%2, %3)-(%4, %5) '%6'\n")
                    .arg(w.page)
                    .arg(w.xMin)
                    .arg(w.yMin)
                    .arg(w.xMax)
                    .arg(w.yMax)
                    .arg(w.text);
    }
    return text.toStdString();
}

// The printable area's top-left corner on the page, in points: the report's origin.
QPointF reportOrigin(const QPrinter &printer)
{
    return printer.pageLayout().paintRect(QPageLayout::Point).topLeft();
}

// Checks a PDF of the test report, whole (2 pages) or its first page only (1).
void expectReportLayout(const QString &pdf, const QPointF &origin, int pages)
{
    EXPECT_EQ(qz::test::pdfPageCount(pdf), pages);
    const std::vector<PdfWord> words = qz::test::pdfWords(pdf);
    ASSERT_FALSE(words.empty()) << "no words in " << pdf.toStdString();

    // Texts stand at their twips (20 to the point) from the printable area's corner. A word's
    // box starts at the font's ascent above the baseline, which is the text's top; a writer
    // that describes a subset font by the bounds of its glyphs (cairo) puts it lower, at most
    // by the gap between the ascent and the capitals (about 0.17 em in Courier New).
    const auto expectAt = [&](const QString &text, int xTwips, int yTwips, int size) {
        const PdfWord *w = findWord(words, 1, text);
        ASSERT_NE(w, nullptr) << text.toStdString() << " not on page 1 of\n" << describe(words);
        EXPECT_NEAR(w->xMin, origin.x() + xTwips / 20.0, kTolerance) << text.toStdString();
        const double top = origin.y() + yTwips / 20.0;
        EXPECT_GE(w->yMin, top - kTolerance) << text.toStdString();
        EXPECT_LE(w->yMin, top + 0.2 * size + kTolerance) << text.toStdString();
    };
    expectAt(QStringLiteral("KORVA"), 300, 350, 16);
    expectAt(QStringLiteral("VEXILAR"), 3450, 400, 9);

    // The amounts: their digits start after the leading blanks (0.6 em each, 12 twips a
    // point) and all end at the same place, 16 characters from x; one line is 300 twips.
    const double right = origin.x() + kAmountX / 20.0 + 16 * 0.6 * kAmountSize;
    const PdfWord *first = findWord(words, 1, kAmounts[0].trimmed());
    for (int i = 0; i < kAmounts.size(); ++i) {
        const QString digits = kAmounts[i].trimmed();
        const int blanks = int(kAmounts[i].size() - digits.size());
        expectAt(digits, kAmountX + blanks * 12 * kAmountSize, 2000 + 300 * i, kAmountSize);
        const PdfWord *w = findWord(words, 1, digits);
        if (w != nullptr && first != nullptr) {
            EXPECT_NEAR(w->xMax, right, kTolerance) << digits.toStdString();
            EXPECT_NEAR(w->yMin - first->yMin, 15.0 * i, 0.5) << digits.toStdString();
        }
    }

    EXPECT_EQ(findWord(words, 1, QStringLiteral("SEGUNDA")), nullptr);
    if (pages == 2) {
        EXPECT_NE(findWord(words, 2, QStringLiteral("SEGUNDA")), nullptr);
        EXPECT_NE(findWord(words, 2, QStringLiteral("Declaración")), nullptr);
        EXPECT_EQ(findWord(words, 2, QStringLiteral("KORVA")), nullptr);
    } else {
        for (const PdfWord &w : words) {
            EXPECT_EQ(w.page, 1) << w.text.toStdString();
        }
    }
}

class CupsPrinting : public ::testing::Test {
protected:
    // One server for the suite: it takes about a second to set up.
    static void SetUpTestSuite()
    {
        serverDir_ = std::make_unique<QTemporaryDir>();
        server_ = std::make_unique<CupsServer>();
        if (serverDir_->isValid()) {
            server_->start(serverDir_->path());
        }
    }
    static void TearDownTestSuite()
    {
        server_.reset();
        serverDir_.reset();
    }

    void SetUp() override
    {
        if (!server_->isRunning()) {
            GTEST_SKIP() << "no private CUPS server: " << server_->reason().toStdString();
        }
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(writeTestReport(dir_.filePath(QStringLiteral("report.prn"))));
        report_ = qz::readReportFile(dir_.filePath(QStringLiteral("report.prn")));
        ASSERT_TRUE(report_.ok()) << report_.errorText.toStdString();
    }

    // The PDF of the job printReport just sent; fails the test when none comes.
    QString printedPdf()
    {
        const QString pdf = server_->waitForPdf(30000);
        EXPECT_FALSE(pdf.isEmpty()) << "no PDF from the printer\n"
                                    << server_->logTail().toStdString();
        return pdf;
    }

    static std::unique_ptr<QTemporaryDir> serverDir_;
    static std::unique_ptr<CupsServer> server_;
    QTemporaryDir dir_;
    qz::ReportFile report_;
};

std::unique_ptr<QTemporaryDir> CupsPrinting::serverDir_;
std::unique_ptr<CupsServer> CupsPrinting::server_;

TEST_F(CupsPrinting, TheTestQueueIsTheOnlyAndDefaultPrinter)
{
    EXPECT_EQ(QPrinterInfo::defaultPrinterName().toStdString(), CupsServer::kQueue);
    EXPECT_EQ(QPrinterInfo::availablePrinterNames().join(u',').toStdString(), CupsServer::kQueue);
}

TEST_F(CupsPrinting, ReportOnTheDefaultPrinter)
{
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    ASSERT_EQ(printer.outputFormat(), QPrinter::NativeFormat);
    printer.setDocName(QStringLiteral("whole report"));
    const qz::PrintResult r = qz::printReport(report_, printer);
    ASSERT_TRUE(r.ok()) << r.description.toStdString();
    EXPECT_EQ(r.pages, 2);
    const QString pdf = printedPdf();
    ASSERT_FALSE(pdf.isEmpty());
    expectReportLayout(pdf, reportOrigin(printer), 2);
}

TEST_F(CupsPrinting, FirstPageOnlyWithWideMargins)
{
    // Margins of the test's own, so that the origin is not the page's corner.
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("first page"));
    ASSERT_TRUE(printer.setPageMargins(QMarginsF(36, 54, 20, 20), QPageLayout::Point));
    const qz::PrintResult r = qz::printReport(report_, printer, qz::PageRange{1, 1});
    ASSERT_TRUE(r.ok()) << r.description.toStdString();
    EXPECT_EQ(r.pages, 1);
    const QString pdf = printedPdf();
    ASSERT_FALSE(pdf.isEmpty());
    EXPECT_EQ(reportOrigin(printer), QPointF(36, 54));
    expectReportLayout(pdf, reportOrigin(printer), 1);
}

// A stored declaration printed by the print dialog's "&Imprimir" on the default printer: the
// header texts at their places on page 1, and on page 2 the amounts right-aligned in their
// column, a negative one in parentheses one column further right.
TEST_F(CupsPrinting, DeclarationFromThePrintDialog)
{
    qz::test::ModuleInstall inst;
    ASSERT_TRUE(inst.ok()) << inst.message().toStdString();
    qz::Database &db = inst.db();
    const QString ruc = qz::test::demoRuc(db, QStringLiteral("COMERCIAL ANDINA S.A."));
    qz::test::StoredDeclaration d(db, ruc, QStringLiteral("2006"));
    d.header();
    d.box(QStringLiteral("101"), QStringLiteral("1234567"));
    d.box(QStringLiteral("104"), QStringLiteral("500"));
    d.box(QStringLiteral("105"), QStringLiteral("-70"));
    qz::test::ScriptedMessenger messages;
    const qz::TextUtility utility;
    const qz::ManagementContext context{db,     messages,   utility, nullptr, nullptr,
                                        "0731", "USUARIO0", 1,       false,   false};
    qz::FrmTipPrnR dialog(context, false, qz::joinPath(inst.dir(), QStringLiteral("RPT")), nullptr);
    ASSERT_TRUE(dialog.load());
    dialog.show();
    ASSERT_EQ(dialog.model()->rowCount(), 1);
    dialog.button(1)->click(); // the production printer source: the default printer
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.front().text.toStdString();
    const QString pdf = printedPdf();
    ASSERT_FALSE(pdf.isEmpty());
    EXPECT_EQ(qz::test::pdfPageCount(pdf), 2);

    const QPointF origin = reportOrigin(*qz::defaultSystemPrinter());
    const std::vector<PdfWord> words = qz::test::pdfWords(pdf);
    const auto at = [&](int page, const QString &text) {
        const PdfWord *w = findWord(words, page, text);
        EXPECT_NE(w, nullptr) << text.toStdString() << " not on page " << page << " of\n"
                              << describe(words);
        return w;
    };
    if (const PdfWord *korva = at(1, QStringLiteral("KORVA"))) {
        EXPECT_NEAR(korva->xMin, origin.x() + 300 / 20.0, kTolerance);
        EXPECT_NEAR(korva->yMin, origin.y() + 350 / 20.0 + 1.6, 1.6 + kTolerance);
    }
    if (const PdfWord *vexilar = at(1, QStringLiteral("VEXILAR"))) {
        EXPECT_NEAR(vexilar->xMin, origin.x() + 3450 / 20.0, kTolerance);
    }
    // Size 8: a character is 4.8 points wide; the field of 16 starts at x 9000.
    const double right = origin.x() + 9000 / 20.0 + 16 * 4.8;
    const PdfWord *big = at(2, QStringLiteral("1,234,567"));
    const PdfWord *small = at(2, QStringLiteral("500"));
    const PdfWord *negative = at(2, QStringLiteral("(70)"));
    if (big && small && negative) {
        EXPECT_NEAR(big->xMax, right, kTolerance);
        EXPECT_NEAR(small->xMax, right, kTolerance);
        EXPECT_NEAR(negative->xMax, right + 4.8, kTolerance);
    }
}

// The same report through Qt's own PDF writer: no server needed.
TEST(PdfFilePrinting, ReportIntoPdfFileHasTheSameLayout)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(writeTestReport(dir.filePath(QStringLiteral("report.prn"))));
    const qz::ReportFile report = qz::readReportFile(dir.filePath(QStringLiteral("report.prn")));
    ASSERT_TRUE(report.ok());
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    const auto printer = qz::test::pdfPrinter(pdf);
    const qz::PrintResult r = qz::printReport(report, *printer);
    ASSERT_TRUE(r.ok()) << r.description.toStdString();
    expectReportLayout(pdf, reportOrigin(*printer), 2);
}

} // namespace
