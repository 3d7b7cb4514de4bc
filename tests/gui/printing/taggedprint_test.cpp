// The tagged text printer's printer mode: a tagged file printed into PDF, read back.
#include "gui/printing/taggedprint.h"

#include "support/pdfprinter.h"
#include "support/pdftext.h"

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(TaggedText, PrinterModeIntoPdf)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("resumen.PRN");
    QByteArray text = "<!np!>\r\nRESUMEN DE DECLARACION\r\nRAZON SOCIAL   : ACME\r\n"
                      "<!bold!>\r\n<!fontsize!>12<!/fontsize!>\r\nTOTAL\r\n"
                      "<!np!>\r\nSEGUNDA PAGINA\r\n";
    for (int i = 0; i < 150; ++i) {
        text += "LINEA " + QByteArray::number(i) + "\r\n";
    }
    writeBytes(in, text);
    const QString pdf = dir.filePath("resumen.pdf");
    const auto printer = qz::test::pdfPrinter(pdf);
    const qz::PrintResult r = qz::printTaggedFile(in, *printer);
    ASSERT_TRUE(r.ok()) << r.description.toStdString();

    const int pages = qz::test::pdfPageCount(pdf);
    EXPECT_EQ(pages, r.pages);
    EXPECT_GE(pages, 3); // the leading <!np!> makes no blank page; 150 lines overflow a page
    const QString first = qz::test::pdfText(pdf, 1, 1);
    EXPECT_TRUE(first.contains("RESUMEN DE DECLARACION"));
    EXPECT_TRUE(first.contains("TOTAL"));
    EXPECT_FALSE(first.contains("SEGUNDA"));
    EXPECT_TRUE(qz::test::pdfText(pdf, 2, 2).contains("SEGUNDA PAGINA"));
    const QString all = qz::test::pdfText(pdf);
    EXPECT_TRUE(all.contains("LINEA 149"));
    EXPECT_FALSE(all.contains("<!"));
}

TEST(TaggedText, PrinterModeWithNothingToPrint)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("vacio.PRN");
    writeBytes(in, "<!bold!>\r\n<!np!>\r\n");
    const auto printer = qz::test::pdfPrinter(dir.filePath("vacio.pdf"));
    const qz::PrintResult r = qz::printTaggedFile(in, *printer);
    EXPECT_EQ(r.errorNumber, qz::printerr::kNothingToPrint);
    EXPECT_FALSE(QFile::exists(dir.filePath("vacio.pdf")));
}

} // namespace
