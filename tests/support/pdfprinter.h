// A printer that writes a PDF file, as the print tests read their output back.
#pragma once

#include <QPrinter>
#include <QString>

#include <memory>

namespace qz::test {

inline std::unique_ptr<QPrinter> pdfPrinter(const QString &file)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    return printer;
}

} // namespace qz::test
