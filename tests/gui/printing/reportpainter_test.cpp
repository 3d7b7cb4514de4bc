// Drawing report pages on images and printing report files into PDF.
#include "core/reports/reportwriter.h"
#include "gui/printing/reportpainter.h"
#include "gui/printing/reportprint.h"

#include "support/pdfprinter.h"
#include "support/pdftext.h"
#include "support/qtwarnings.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Number of pixels in the rectangle (pixels) that differ from the colour.
int pixelsNotOf(const QImage &image, const QRect &rect, QColor colour)
{
    int count = 0;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (image.pixelColor(x, y) != colour) {
                ++count;
            }
        }
    }
    return count;
}

qz::ReportPage pageOf(const QStringList &lines)
{
    const qz::ReportFile file = qz::parseReportLines(lines);
    EXPECT_TRUE(file.ok());
    return qz::previewPages(file).front();
}

TEST(ReportFont, CourierNewResolvesToAMetricCompatibleMonospace)
{
    const QFont font = qz::reportFont(false, 10);
    const QFontInfo info(font);
    EXPECT_TRUE(info.family() == "Courier New" || info.family() == "Liberation Mono")
        << info.family().toStdString();
    EXPECT_TRUE(info.fixedPitch());
    // Courier New's advance is 0.6 em: 72 points at 96 dpi (96 pixels) give 57.6 pixels.
    QImage probe(10, 10, QImage::Format_RGB32);
    probe.setDotsPerMeterX(3780);
    probe.setDotsPerMeterY(3780);
    const QFontMetricsF m(qz::reportFont(false, 72), &probe);
    EXPECT_NEAR(m.horizontalAdvance(QString(10, u'M')), 576.0, 1.0);
    EXPECT_EQ(qz::reportFont(true, 0).pointSize(), 1);
}

TEST(ReportColor, TagValues)
{
    EXPECT_EQ(qz::reportColor(qz::kColorLightCyan), QColor(0xC0, 0xFF, 0xFF));
    EXPECT_EQ(qz::reportColor(0x000000FFu), QColor(0xFF, 0, 0)); // 00BBGGRR
    EXPECT_EQ(qz::reportColor(0x00FF0000u), QColor(0, 0, 0xFF));
    EXPECT_EQ(qz::reportColor(qz::kColorWindowBackground), QColor(Qt::white));
}

TEST(RenderPage, TextIsDrawnWhereItsCommandSays)
{
    // 1440 twips are one inch: 96 pixels at 96 dpi.
    const qz::ReportPage page = pageOf({"pPos|1440|1440|KORVA|True|16|0|"});
    const QImage image = qz::renderReportPage(page, 96);
    ASSERT_EQ(image.size(), QSize(1200, 1000)); // 18000 x 15000 twips
    const QColor cyan(0xC0, 0xFF, 0xFF);
    EXPECT_EQ(image.pixelColor(5, 5), cyan);
    // Five 16-point characters: about 64 x 21 pixels from (96, 96).
    EXPECT_GT(pixelsNotOf(image, QRect(96, 96, 70, 24), cyan), 100);
    EXPECT_EQ(pixelsNotOf(image, QRect(0, 0, 1200, 94), cyan), 0);
    EXPECT_EQ(pixelsNotOf(image, QRect(0, 0, 94, 1000), cyan), 0);
    EXPECT_EQ(pixelsNotOf(image, QRect(170, 0, 1030, 1000), cyan), 0);
    EXPECT_EQ(pixelsNotOf(image, QRect(0, 125, 1200, 875), cyan), 0);
}

TEST(RenderPage, BoldEmptyAndVerticalText)
{
    const QColor cyan(0xC0, 0xFF, 0xFF);
    const QRect area(96, 96, 200, 30);
    const int plain =
        pixelsNotOf(qz::renderReportPage(pageOf({"pPos|1440|1440|MMMM|False|12|0|"})), area, cyan);
    const int bold =
        pixelsNotOf(qz::renderReportPage(pageOf({"pPos|1440|1440|MMMM|True|12|0|"})), area, cyan);
    EXPECT_GT(bold, plain);
    EXPECT_EQ(pixelsNotOf(qz::renderReportPage(pageOf({"pPos|1440|1440||True|12|0|"})),
                          QRect(0, 0, 1200, 1000), cyan),
              0);

    // Characters 190 twips apart: rows near 96, 108.7 and 121.3 pixels, one column wide.
    const QImage vertical = qz::renderReportPage(pageOf({"pPosVerti|1440|1440|III|False|8|0|"}));
    EXPECT_GT(pixelsNotOf(vertical, QRect(96, 96, 8, 12), cyan), 0);
    EXPECT_GT(pixelsNotOf(vertical, QRect(96, 109, 8, 12), cyan), 0);
    EXPECT_GT(pixelsNotOf(vertical, QRect(96, 122, 8, 12), cyan), 0);
    EXPECT_EQ(pixelsNotOf(vertical, QRect(106, 0, 1094, 1000), cyan), 0);
}

TEST(RenderPage, BoxHasFourBlackSides)
{
    // Corners at 1 and 2 inches: pixels 96 and 192, on a white page.
    const qz::ReportPage page =
        pageOf({"<!Color!>&H80000005&<!/Color!>", "pCuadro|1440|1440|2880|2880|0|"});
    const QImage image = qz::renderReportPage(page, 96);
    const QColor white(Qt::white), black(Qt::black);
    EXPECT_EQ(image.pixelColor(150, 96), black);  // top
    EXPECT_EQ(image.pixelColor(150, 192), black); // bottom
    EXPECT_EQ(image.pixelColor(96, 150), black);  // left
    EXPECT_EQ(image.pixelColor(192, 150), black); // right
    EXPECT_EQ(pixelsNotOf(image, QRect(98, 98, 93, 93), white), 0);
    EXPECT_EQ(pixelsNotOf(image, QRect(194, 0, 1000, 1000), white), 0);
}

TEST(PrintReport, PagesIntoPdf)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList lines = {
        qz::fontTagLine(),
        qz::posLine(300, 350, QStringLiteral("Declaración Año Ñandú"), true, 12, 0),
        qz::boxLine(150, 300, 1700, 1640, 0),
        "pNuevaHoja",
        qz::posLine(300, 350, "SEGUNDA HOJA", false, 10, 1),
        "pNuevaHoja",
        qz::posLine(300, 350, "TERCERA HOJA", false, 10, 2),
        "pNuevaHoja",
        qz::pageCountTagLine(3),
    };
    const qz::ReportFile file = qz::parseReportLines(lines);

    const QString all = dir.filePath("all.pdf");
    {
        const auto printer = qz::test::pdfPrinter(all);
        const qz::PrintResult r = qz::printReport(file, *printer);
        ASSERT_TRUE(r.ok()) << r.description.toStdString();
        EXPECT_EQ(r.pages, 3);
    }
    EXPECT_EQ(qz::test::pdfPageCount(all), 3); // the break before the end adds no page
    EXPECT_TRUE(qz::test::pdfText(all, 1, 1).contains("Declaración Año Ñandú"));
    EXPECT_TRUE(qz::test::pdfText(all, 2, 2).contains("SEGUNDA HOJA"));
    EXPECT_FALSE(qz::test::pdfText(all, 2, 2).contains("TERCERA"));
    EXPECT_TRUE(qz::test::pdfText(all, 3, 3).contains("TERCERA HOJA"));

    const QString second = dir.filePath("second.pdf");
    {
        const auto printer = qz::test::pdfPrinter(second);
        const qz::PrintResult r = qz::printReport(file, *printer, qz::PageRange{2, 2});
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.pages, 1);
    }
    EXPECT_EQ(qz::test::pdfPageCount(second), 1);
    const QString text = qz::test::pdfText(second);
    EXPECT_TRUE(text.contains("SEGUNDA HOJA"));
    EXPECT_FALSE(text.contains("Declaración"));
}

TEST(PrintReport, PdfThatCannotBeCreated)
{
    QTemporaryDir dir;
    const auto printer = qz::test::pdfPrinter(dir.filePath("no/such/folder/x.pdf"));
    const qz::test::ExpectedQtWarning painterRefused(QStringLiteral("QPainter::begin"));
    const qz::PrintResult r =
        qz::printReport(qz::parseReportLines({"pPos|1|1|a|True|8|0|"}), *printer);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.errorNumber, qz::printerr::kPathFileAccess);
    EXPECT_EQ(r.pages, 0);
}

} // namespace
