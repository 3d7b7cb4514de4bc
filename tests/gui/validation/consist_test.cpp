// The inconsistency list window and its printout through Qt's print system into a PDF,
// read back with poppler.
#include "core/data/clock.h"
#include "core/data/textfile.h"
#include "gui/validation/frmconsist.h"
#include "gui/validation/inconsistencyprint.h"
#include "support/pdftext.h"
#include "support/scriptedmessenger.h"

#include <QPlainTextEdit>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(LineTarget, PageAndBoxOfAListingLine)
{
    const LineTarget a = lineTarget(QString::fromUtf8(
        "Determinación Base Imponible : El valor de la casilla 142 no puede exceder el valor de "
        "la casilla 161"));
    EXPECT_EQ(a.page, 3); // box 142 stands on the debt page, whatever the heading says
    EXPECT_EQ(a.box, 142);
    EXPECT_EQ(lineTarget(QString::fromUtf8("Determinación Base Imponible : Ingrese información "
                                           "en la casilla 110"))
                  .page,
              2);
    EXPECT_EQ(lineTarget(QString::fromUtf8("Determinación de la Deuda : Ingrese el importe a "
                                           "pagar (casilla 180)"))
                  .page,
              3);
    const LineTarget b = lineTarget(QString::fromUtf8(
        "Reorganización de sociedades : Debe seleccionar el tipo de reorganización de "
        "sociedades."));
    EXPECT_EQ(b.page, 1);
    EXPECT_EQ(b.box, 0);
    EXPECT_EQ(lineTarget("otra cosa").page, -1);
}

TEST(Inconsistencies, WindowShowsTheFileAndPrintsIt)
{
    const PinnedClock clock(QDateTime(QDate(2026, 6, 1), QTime(10, 20, 30)));
    QTemporaryDir dir;
    const QString mens = dir.filePath("Mens.txt");
    QStringList lines;
    for (int i = 1; i <= 45; ++i) {
        lines << QString::fromUtf8("Determinación de la Deuda : línea %1").arg(i);
    }
    ASSERT_TRUE(writeHostLines(mens, lines));
    test::ScriptedMessenger messages;
    FrmConsist list(mens, messages, nullptr);
    EXPECT_EQ(list.windowTitle(), "Inconsistencias detectadas");
    EXPECT_EQ(list.text()->toPlainText().split(u'\n'), lines);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dir.filePath("inconsistencias.pdf");
    printer.setOutputFileName(pdf);
    const PrintResult r = ImprimeInconsistencias(mens, printer);
    ASSERT_TRUE(r.ok()) << r.description.toStdString();
    EXPECT_EQ(test::pdfPageCount(pdf), 2); // 40 lines a page
    const QString first = test::pdfText(pdf, 1, 1);
    EXPECT_TRUE(first.contains("INCONSISTENCIAS DETECTADAS")) << first.toStdString();
    EXPECT_TRUE(first.contains("DECLARACION VEXILAR"));
    EXPECT_TRUE(first.contains("01/06/2026"));
    EXPECT_TRUE(first.contains("10:20:30"));
    EXPECT_TRUE(first.contains(QString::fromUtf8("1. Determinación de la Deuda : línea 1")));
    EXPECT_TRUE(first.contains(QString::fromUtf8("40. Determinación")));
    const QString second = test::pdfText(pdf, 2, 2);
    EXPECT_TRUE(second.contains(QString::fromUtf8("45. Determinación de la Deuda : línea 45")));
    EXPECT_TRUE(second.contains("Inconsistencias Detectadas : 45"));

    const PrintResult missing = ImprimeInconsistencias(dir.filePath("no.txt"), printer);
    EXPECT_EQ(missing.errorNumber, printerr::kNothingToPrint);
}

} // namespace
} // namespace qz
