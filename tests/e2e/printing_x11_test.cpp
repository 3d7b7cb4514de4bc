// Printing through the real menus on a private X server: "&Imprimir" lists the saved
// declaration, "&Preliminar" asks for the pages, the preview shows pages 1 to 2 of the three
// (annex ticked), and its "PDF" button writes those two pages through the file dialog.
#include "gui/management/managementuifixture.h"
#include "gui/printing/frmimpxpag.h"
#include "gui/printing/frmpreview.h"
#include "gui/printing/frmtipprnr.h"
#include "gui/shell/mdifrm.h"
#include "support/pdftext.h"
#include "support/storeddeclaration.h"
#include "support/xvfbmain.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace qz {
namespace {

using test::WhenModal;

class PrintingOnX11 : public test::ManagementTest {};

TEST_F(PrintingOnX11, PreliminarShowsTheRangeAndWritesItAsPdf)
{
    const QString ruc = test::demoRuc(db_, "COMERCIAL ANDINA S.A.");
    registered(ruc, "2009");
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString pdf = out.filePath("declaracion.pdf");

    RunState state;
    MDIFrm main(state, messages_);
    ASSERT_TRUE(main.load());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));

    QString rangeCaption, suggested, chosen;
    int previewPages = -1;
    WhenModal<FrmTipPrnR> list([&](FrmTipPrnR &d) {
        ASSERT_EQ(d.model()->rowCount(), 1);
        QTest::mouseClick(d.anexo(), Qt::LeftButton, {}, QPoint(4, d.anexo()->height() / 2));
        WhenModal<FrmImpxPag> range([&](FrmImpxPag &r) {
            rangeCaption = r.windowTitle();
            QTest::keyClicks(r.hasta(), "2");
            WhenModal<FrmPreview> preview([&](FrmPreview &p) {
                previewPages = p.pageCount();
                WhenModal<QFileDialog> save([&](QFileDialog &f) {
                    suggested = f.selectedFiles().value(0);
                    // The name typed into the dialog's field (selectFile waits for the
                    // folder to be read, which the file system model does on its own time).
                    auto *name = f.findChild<QLineEdit *>("fileNameEdit");
                    ASSERT_NE(name, nullptr);
                    name->setText(pdf);
                    chosen = f.selectedFiles().value(0);
                    static_cast<QDialog &>(f).accept(); // as its Save button does
                });
                p.action("pdf")->trigger();
                p.action("salir")->trigger();
            });
            QTest::mouseClick(r.preliminar(), Qt::LeftButton);
            QTest::mouseClick(r.cancelar(), Qt::LeftButton);
        });
        QTest::mouseClick(d.button(0), Qt::LeftButton);
        QTest::mouseClick(d.button(2), Qt::LeftButton); // "&Salir"
    });
    main.action(Command::Imprimir)->trigger();
    ASSERT_TRUE(list.opened());
    EXPECT_TRUE(messages_.shown.empty()) << messages_.shown.front().text.toStdString();
    EXPECT_EQ(rangeCaption, "Impresión de 3 páginas");
    EXPECT_EQ(previewPages, 2);
    EXPECT_TRUE(suggested.endsWith(ruc + "_2009_00000001.pdf")) << suggested.toStdString();
    EXPECT_EQ(chosen, pdf);
    EXPECT_EQ(test::pdfPageCount(pdf), 2);
    EXPECT_TRUE(test::pdfText(pdf, 1, 1).contains("IDENTIFICACION"));
    EXPECT_TRUE(test::pdfText(pdf, 2, 2).contains("DEUDA TRIBUTARIA"));
}

} // namespace
} // namespace qz

int main(int argc, char **argv)
{
    return qz::test::runTestsOnXvfb(argc, argv);
}
