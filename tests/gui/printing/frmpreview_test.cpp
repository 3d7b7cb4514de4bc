// The preview window on the offscreen platform: its toolbar, the images of a range, paging
// and the two vertical bars, zoom, printing and the PDF from it, the reading failures, and
// direct printing.
#include "core/reports/reportwriter.h"
#include "gui/printing/frmpreview.h"
#include "gui/printing/previewopen.h"
#include "gui/printing/previewpagearea.h"
#include "gui/printing/reportpainter.h"

#include "support/pdfprinter.h"
#include "support/pdftext.h"
#include "support/qtwarnings.h"
#include "support/scriptedmessenger.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace qz {
namespace {

using test::ScriptedMessenger;

class FrmPreviewTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QDir(dir_.path()).mkdir("RPT"));
    }

    QString rpt() const { return dir_.filePath("RPT"); }

    // A report of `pages` pages named name, page p holding the text "HOJA p" (1-based), with
    // the declaration report's tags after the last page.
    PreviewRequest writeReport(int pages, const QString &name = "00000012.PRN")
    {
        ReportWriter w;
        EXPECT_TRUE(w.create(QDir(rpt()).filePath(name)));
        w.fontTag();
        for (int p = 0; p < pages; ++p) {
            if (p > 0) {
                w.pNuevaHoja();
            }
            w.pLineaPos(1440, 1440, QStringLiteral("HOJA %1").arg(p + 1), true, 12, p);
            w.pLineaCuadro(720, 720, 17000, 14000, p);
        }
        w.pageCountTag(pages);
        w.orientationTag();
        w.colorTag(kColorWindowBackground);
        EXPECT_TRUE(w.close());
        return PreviewRequest{rpt(), name, "20100000001", "2006", false};
    }

    std::unique_ptr<FrmPreview> open(const PreviewRequest &request,
                                     std::optional<PageRange> range = std::nullopt)
    {
        auto w = std::make_unique<FrmPreview>(request, range, messages_);
        w->load();
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }

    static void click(FrmPreview &w, const char *action)
    {
        QAction *a = w.action(QString::fromLatin1(action));
        ASSERT_NE(a, nullptr) << action;
        QWidget *button = w.toolBar()->widgetForAction(a);
        ASSERT_NE(button, nullptr) << action;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    static QString shownText(const FrmPreview &w)
    {
        QStringList texts;
        for (const ReportCommand &c : w.shownPage().commands) {
            if (!c.text.isEmpty()) {
                texts << c.text;
            }
        }
        return texts.join(u' ');
    }

    QTemporaryDir dir_;
    ScriptedMessenger messages_;
};

TEST_F(FrmPreviewTest, CaptionToolbarAndHelpTopic)
{
    auto w = open(writeReport(1));
    EXPECT_EQ(w->objectName(), "frmPreview");
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("Presentación Preliminar"));
    const QList<QAction *> actions = w->toolBar()->actions();
    QStringList tips;
    for (QAction *a : actions) {
        if (!a->isSeparator() && !a->objectName().isEmpty()) {
            tips << a->toolTip();
        }
    }
    // The inert first button, the four commands, then the PDF.
    EXPECT_EQ(tips, QStringList(
                        {"", "Pag Anterior", "Pag Sgt", "Imprimir", "Salir", "Guardar como PDF"}));
    EXPECT_EQ(w->helpTopic(), 1011);
    EXPECT_TRUE(messages_.shown.empty());

    PreviewRequest sent = writeReport(1, "00000013.PRN");
    sent.bImprimeEnviada = true;
    auto s = open(sent);
    EXPECT_EQ(s->helpTopic(), 1012);
    QSignalSpy help(s.get(), &FrmPreview::helpRequested);
    QTest::keyClick(s.get(), Qt::Key_F1);
    ASSERT_EQ(help.count(), 1);
    EXPECT_EQ(help.at(0).at(0).toInt(), 1012);
}

TEST_F(FrmPreviewTest, ImagesOfARange)
{
    const PreviewRequest request = writeReport(2);
    struct Case {
        const char *name;
        std::optional<PageRange> range;
        int pageCount;
        const char *first;
    };
    const Case cases[] = {
        {"AllPages", std::nullopt, 2, "HOJA 1"},
        {"SecondOfTwoLandsOnImageZero", PageRange{2, 2}, 1, "HOJA 2"},
        {"PastTheEnd", PageRange{2, 9}, 1, "HOJA 2"},
    };
    for (const Case &c : cases) {
        auto w = open(request, c.range);
        EXPECT_EQ(w->pageCount(), c.pageCount) << c.name;
        EXPECT_EQ(w->iNroHoja(), 0) << c.name;
        EXPECT_EQ(shownText(*w), c.first) << c.name;
        click(*w, "pagSgt");
        if (c.pageCount == 1) {
            // "Pag Sgt" on the only image does nothing.
            EXPECT_EQ(w->iNroHoja(), 0) << c.name;
            EXPECT_EQ(shownText(*w), c.first) << c.name;
        } else {
            EXPECT_EQ(w->iNroHoja(), 1) << c.name;
            EXPECT_EQ(shownText(*w), "HOJA 2") << c.name;
        }
    }
}

TEST_F(FrmPreviewTest, ImageSizeAndBackground)
{
    auto w = open(writeReport(1));
    const QImage &image = w->pageArea()->image();
    const int dpi = w->logicalDpiX();
    EXPECT_EQ(image.width(), kPreviewPageWidth * dpi / kTwipsPerInch);
    EXPECT_EQ(image.height(), kPreviewPageHeight * dpi / kTwipsPerInch);
    // The colour tag says window background (white); without it light cyan.
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
    ReportWriter plain;
    ASSERT_TRUE(plain.create(QDir(rpt()).filePath("00000020.PRN")));
    plain.pLineaPos(100, 100, "X", false, 8, 0);
    ASSERT_TRUE(plain.close());
    auto c = open(PreviewRequest{rpt(), "00000020.PRN", {}, {}, false});
    EXPECT_EQ(c->pageArea()->image().pixelColor(5, 5), reportColor(kColorLightCyan));
}

TEST_F(FrmPreviewTest, BarsStayEqualAndPagingResetsThem)
{
    auto w = open(writeReport(3));
    PreviewPageArea *area = w->pageArea();
    QScrollBar *left = area->leftBar();
    QScrollBar *right = area->rightBar();
    w->resize(500, 400);
    ASSERT_TRUE(QTest::qWaitFor([&] { return left->maximum() > 150; }));
    EXPECT_EQ(right->maximum(), left->maximum());
    EXPECT_EQ(left->maximum(), area->image().height() - area->viewportSize().height());

    left->setValue(120);
    EXPECT_EQ(right->value(), 120);
    EXPECT_EQ(area->imageOffset(), QPoint(0, -120));
    right->setValue(60);
    EXPECT_EQ(left->value(), 60);
    area->horizontalBar()->setValue(30);
    EXPECT_EQ(area->imageOffset(), QPoint(-30, -60));

    // On the first image "Pag Anterior" changes nothing but the bars.
    click(*w, "pagAnterior");
    EXPECT_EQ(w->iNroHoja(), 0);
    EXPECT_EQ(left->value(), 0);
    EXPECT_EQ(right->value(), 0);

    click(*w, "pagSgt");
    click(*w, "pagSgt");
    EXPECT_EQ(w->iNroHoja(), 2);
    EXPECT_EQ(shownText(*w), "HOJA 3");
    right->setValue(80);
    click(*w, "pagSgt"); // the last image: stays, bars back at 0
    EXPECT_EQ(w->iNroHoja(), 2);
    EXPECT_EQ(left->value(), 0);
    EXPECT_EQ(right->value(), 0);
    EXPECT_EQ(area->horizontalBar()->value(), 30); // the horizontal bar is not reset

    right->setValue(80);
    w->pMostrar(kMostrarPrimera);
    EXPECT_EQ(w->iNroHoja(), 0);
    EXPECT_EQ(shownText(*w), "HOJA 1");
    EXPECT_EQ(left->value(), 0);
}

TEST_F(FrmPreviewTest, ZoomKeepsTheScrollRangesRight)
{
    auto w = open(writeReport(1));
    w->resize(600, 500);
    PreviewPageArea *area = w->pageArea();
    ASSERT_TRUE(QTest::qWaitFor([&] { return area->viewportSize().width() < 600; }));
    EXPECT_EQ(w->zoom(), FrmPreview::Zoom::Actual);
    const auto rangesFit = [area] {
        const QSize view = area->viewportSize();
        return area->horizontalBar()->maximum() ==
                   std::max(0, area->image().width() - view.width()) &&
               area->leftBar()->maximum() == std::max(0, area->image().height() - view.height());
    };
    EXPECT_TRUE(rangesFit());
    area->horizontalBar()->setValue(area->horizontalBar()->maximum());
    const int actualWidth = area->image().width();

    w->zoomBox()->setCurrentIndex(1); // fit width
    EXPECT_EQ(w->zoom(), FrmPreview::Zoom::FitWidth);
    EXPECT_LE(area->image().width(), area->viewportSize().width());
    EXPECT_GT(area->image().width(), area->viewportSize().width() * 9 / 10);
    EXPECT_EQ(area->horizontalBar()->maximum(), 0);
    EXPECT_EQ(area->horizontalBar()->value(), 0);
    EXPECT_TRUE(rangesFit());

    // A wider window draws the page wider.
    const int fitted = area->image().width();
    w->resize(800, 500);
    ASSERT_TRUE(QTest::qWaitFor([&] { return area->image().width() > fitted; }));
    EXPECT_TRUE(rangesFit());

    w->setZoom(FrmPreview::Zoom::Actual);
    EXPECT_EQ(w->zoomBox()->currentIndex(), 0);
    EXPECT_EQ(area->image().width(), actualWidth);
    EXPECT_TRUE(rangesFit());
}

TEST_F(FrmPreviewTest, PrintingUsesTheRangeAndKeepsTheWindow)
{
    auto w = open(writeReport(2), PageRange{1, 1});
    const QString pdf = dir_.filePath("printed.pdf");
    int asked = 0;
    w->setPrinterSource([&] {
        ++asked;
        return test::pdfPrinter(pdf);
    });
    click(*w, "imprimir");
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(test::pdfPageCount(pdf), 1); // no blank page after it
    EXPECT_TRUE(test::pdfText(pdf).contains("HOJA 1"));
    EXPECT_FALSE(test::pdfText(pdf).contains("HOJA 2"));

    // No default printer: error 482, and the window keeps its pages.
    w->setPrinterSource([] { return std::unique_ptr<QPrinter>(); });
    click(*w, "imprimir");
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(messages_.shown[0].title, QString::fromUtf8("Impresión"));
    EXPECT_EQ(messages_.shown[0].text, "No existe una impresora seleccionada.Verifique.");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->pageCount(), 1);
    EXPECT_EQ(shownText(*w), "HOJA 1");
}

TEST_F(FrmPreviewTest, PdfButtonWritesThePagesInRange)
{
    auto w = open(writeReport(3), PageRange{1, 2});
    const QString pdf = dir_.filePath("salida"); // ".pdf" is added
    QString suggested;
    w->setPdfFileQuestion([&](QWidget *, const QString &name) {
        suggested = name;
        return pdf;
    });
    click(*w, "pdf");
    EXPECT_EQ(suggested, "20100000001_2006_00000012.pdf");
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(test::pdfPageCount(pdf + ".pdf"), 2);
    EXPECT_TRUE(test::pdfText(pdf + ".pdf", 2, 2).contains("HOJA 2"));
    EXPECT_FALSE(test::pdfText(pdf + ".pdf").contains("HOJA 3"));

    // Cancelling the question writes nothing.
    w->setPdfFileQuestion([](QWidget *, const QString &) { return QString(); });
    click(*w, "pdf");
    EXPECT_EQ(QDir(dir_.path()).entryList({"*.pdf"}, QDir::Files).size(), 1);

    // A folder that does not exist: the file cannot be created, and the user is told.
    const test::ExpectedQtWarning painterFails("QPainter::begin");
    w->setPdfFileQuestion([&](QWidget *, const QString &) { return dir_.filePath("no/x.pdf"); });
    click(*w, "pdf");
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_TRUE(messages_.shown[0].text.contains("(75)")) << messages_.shown[0].text.toStdString();
}

TEST_F(FrmPreviewTest, MissingFileShowsItsMessageAndAnEmptyPage)
{
    auto w = open(PreviewRequest{rpt(), "00000099.PRN", {}, {}, false});
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(messages_.shown[0].title, "Error al Imprimir");
    EXPECT_EQ(messages_.shown[0].text, QString::fromUtf8("Archivo Físico del Reporte no Existe"));
    EXPECT_EQ(w->pageCount(), 1);
    EXPECT_TRUE(w->shownPage().commands.empty());
    EXPECT_TRUE(w->isVisible());
}

TEST_F(FrmPreviewTest, OverflowShowsTheTechnicalErrorAndWhatWasDrawn)
{
    QFile file(QDir(rpt()).filePath("00000030.PRN"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("pPos|1440|1440|HOJA 1|True|12|0|\r\npNuevaHoja\r\n"
               "pPos|1440|1440|HOJA 2|True|12|1|\r\npCuadro|1|1|1|40000|1|\r\n"
               "pPos|1440|1440|HOJA 3|True|12|2|\r\n");
    file.close();
    const PreviewRequest request{rpt(), "00000030.PRN", {}, {}, false};
    auto w = open(request);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(messages_.shown[0].title, "Error");
    EXPECT_TRUE(messages_.shown[0].text.startsWith("Error tecnico: 6\n"));
    EXPECT_TRUE(messages_.shown[0].text.endsWith("\nIntente nuevamente por favor."));
    EXPECT_EQ(w->pageCount(), 2);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // the pointer is back

    // Such a file is not printed: the message again, no printer asked for.
    bool asked = false;
    w->setPrinterSource([&] {
        asked = true;
        return test::pdfPrinter(dir_.filePath("x.pdf"));
    });
    click(*w, "imprimir");
    EXPECT_FALSE(asked);
    EXPECT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(w->pageCount(), 2);
}

TEST_F(FrmPreviewTest, SalirClosesTheWindow)
{
    auto w = open(writeReport(1));
    click(*w, "salir");
    EXPECT_FALSE(w->isVisible());
}

TEST_F(FrmPreviewTest, DirectPrintPrintsEveryPageWithoutAWindow)
{
    const PreviewRequest request = writeReport(3);
    const QString pdf = dir_.filePath("direct.pdf");
    const PrintResult r =
        printReportDirect(request, messages_, [&] { return test::pdfPrinter(pdf); });
    EXPECT_TRUE(r.ok()) << r.description.toStdString();
    EXPECT_EQ(r.pages, 3);
    EXPECT_EQ(test::pdfPageCount(pdf), 3);
    EXPECT_TRUE(messages_.shown.empty());
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_TRUE(std::none_of(windows.begin(), windows.end(),
                             [](const QWidget *t) { return t->isVisible(); }));

    const PrintResult missing =
        printReportDirect(PreviewRequest{rpt(), "00000077.PRN", {}, {}, false}, messages_,
                          [&] { return test::pdfPrinter(dir_.filePath("never.pdf")); });
    EXPECT_TRUE(missing.missingFile);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].title, "Error al Imprimir");
    EXPECT_FALSE(QFile::exists(dir_.filePath("never.pdf")));
}

} // namespace
} // namespace qz
