// The page-range dialog on the offscreen platform: its contents, the page fields' keys and
// Enter, a refused range, the preview it opens (and stays open after), and how it closes.
#include "core/reports/reportwriter.h"
#include "gui/printing/frmimpxpag.h"
#include "gui/printing/frmpreview.h"
#include "gui/printing/previewopen.h"

#include "support/pdfprinter.h"
#include "support/pdftext.h"
#include "support/scriptedmessenger.h"
#include "support/whenmodal.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace qz {
namespace {

using test::ScriptedMessenger;

class FrmImpxPagTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        // Two pages, "HOJA 1" and "HOJA 2".
        ReportWriter w;
        ASSERT_TRUE(w.create(dir_.filePath("00000005.PRN")));
        w.pLineaPos(1440, 1440, "HOJA 1", true, 12, 0);
        w.pNuevaHoja();
        w.pLineaPos(1440, 1440, "HOJA 2", true, 12, 1);
        w.pageCountTag(2);
        ASSERT_TRUE(w.close());
    }

    std::unique_ptr<FrmImpxPag> open(int pages = 2)
    {
        auto d = std::make_unique<FrmImpxPag>(request_, pages, messages_);
        d->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(d.get()));
        QApplication::setActiveWindow(d.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(d.get()));
        return d;
    }

    QTemporaryDir dir_;
    PreviewRequest request_{dir_.path(), "00000005.PRN", "20100000001", "2006", false};
    ScriptedMessenger messages_;
};

TEST_F(FrmImpxPagTest, Contents)
{
    auto d = open(3);
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8("Impresión de 3 páginas"));
    const auto *frame = d->findChild<QGroupBox *>();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), "Imprimir");
    EXPECT_EQ(d->desde()->text(), "1");
    EXPECT_TRUE(d->hasta()->text().isEmpty());
    EXPECT_EQ(d->total()->text(), "3");
    EXPECT_TRUE(d->total()->isReadOnly());
    EXPECT_EQ(QApplication::focusWidget(), d->desde());
    QStringList labels;
    for (const QLabel *l : d->findChildren<QLabel *>()) {
        labels << l->text();
    }
    for (const char *text : {"&Desde :", "&Hasta :", "El reporte generado contiene", "páginas. "}) {
        EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
    }
    EXPECT_TRUE(labels.contains(
        QString::fromUtf8("Si su consulta contiene más de 10 páginas puede\n"
                          "ocasionar la caida del programa debido a la saturación de \n"
                          "la memoria de la computadora.\n"
                          "Se recomienda imprimir en rangos no mayores a 10 páginas.")));
    EXPECT_EQ(d->preliminar()->text(), "&Preliminar");
    EXPECT_TRUE(d->preliminar()->isDefault());
    EXPECT_EQ(d->cancelar()->text(), "&Cancelar");
}

TEST_F(FrmImpxPagTest, PageFieldsTakeDigitsPointAndBlankAndEnterMovesOn)
{
    auto d = open();
    d->desde()->clear();
    QTest::keyClicks(d->desde(), "1a2.-b 3,x");
    EXPECT_EQ(d->desde()->text(), "12. 3");
    QTest::keyClick(d->desde(), Qt::Key_Backspace);
    EXPECT_EQ(d->desde()->text(), "12. ");
    QTest::keyClick(d->desde(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), d->hasta());
    QTest::keyClicks(d->hasta(), "e9");
    EXPECT_EQ(d->hasta()->text(), "9");
    QTest::keyClick(d->hasta(), Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), d->preliminar());
    EXPECT_TRUE(messages_.shown.empty()); // Enter never pressed "&Preliminar"
}

TEST_F(FrmImpxPagTest, RefusedRangeKeepsTheDialogOpen)
{
    auto d = open();
    d->desde()->setText("3");
    d->hasta()->setText("3");
    QTest::mouseClick(d->preliminar(), Qt::LeftButton);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(messages_.shown[0].title, d->windowTitle());
    EXPECT_EQ(
        messages_.shown[0].text,
        QString::fromUtf8("Página inicial no debe ser mayor a total de páginas del reporte."));
    EXPECT_TRUE(d->isVisible());
}

TEST_F(FrmImpxPagTest, PreliminarOpensThePreviewOnTheRangeAndStaysOpen)
{
    auto d = open();
    const QString pdf = dir_.filePath("printed.pdf");
    d->setPrinterSource([&] { return test::pdfPrinter(pdf); });
    d->desde()->setText("2");
    d->hasta()->setText("2");
    std::optional<PageRange> range;
    int pageCount = 0;
    QString shown;
    test::whenModal<FrmPreview>([&](FrmPreview &p) {
        range = p.range();
        pageCount = p.pageCount();
        for (const ReportCommand &c : p.shownPage().commands) {
            shown += c.text;
        }
        p.imprimir(); // on the dialog's printer, with the range
        p.close();
    });
    QTest::mouseClick(d->preliminar(), Qt::LeftButton);
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(range->first, 2);
    EXPECT_EQ(range->last, 2);
    EXPECT_EQ(pageCount, 1);
    EXPECT_EQ(shown, "HOJA 2");
    EXPECT_EQ(test::pdfPageCount(pdf), 1);
    EXPECT_TRUE(test::pdfText(pdf).contains("HOJA 2"));
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_TRUE(d->isVisible());

    // Another range from the same dialog; F1 in the preview reaches the dialog's opener.
    d->hasta()->setText("1.6");
    QSignalSpy help(d.get(), &FrmImpxPag::helpRequested);
    test::whenModal<FrmPreview>([&](FrmPreview &p) {
        range = p.range();
        QTest::keyClick(&p, Qt::Key_F1);
        p.close();
    });
    d->desde()->setText("1");
    QTest::mouseClick(d->preliminar(), Qt::LeftButton);
    EXPECT_EQ(range->first, 1);
    EXPECT_EQ(range->last, 2);
    ASSERT_EQ(help.count(), 1);
    EXPECT_EQ(help.at(0).at(0).toInt(), 1011);
}

TEST_F(FrmImpxPagTest, CancelarEscapeAndTheOpener)
{
    auto d = open();
    QTest::mouseClick(d->cancelar(), Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());

    auto e = open();
    QTest::keyClick(e.get(), Qt::Key_Escape);
    EXPECT_FALSE(e->isVisible());

    // The opener shows the dialog modally and returns when it closes.
    QString caption;
    test::whenModal<FrmImpxPag>([&](FrmImpxPag &dialog) {
        caption = dialog.windowTitle();
        dialog.close();
    });
    runPageRangeDialog(nullptr, request_, 2, messages_);
    EXPECT_EQ(caption, QString::fromUtf8("Impresión de 2 páginas"));
}

} // namespace
} // namespace qz
