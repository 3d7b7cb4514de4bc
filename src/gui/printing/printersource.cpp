// The default printer, and printing a report file on a printer source.
#include "gui/printing/printersource.h"

#include "core/reports/previewload.h"
#include "gui/printing/reportprint.h"
#include "gui/widgets/windowroutines.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace qz {

PrintResult printFromSource(const PrinterSource &source, const ReportFile &file,
                            const std::optional<PageRange> &range)
{
    PrintResult result;
    if (printerPages(file, range).empty()) {
        // Nothing in range (or an empty file): say so instead of a silent success.
        result.errorNumber = printerr::kNothingToPrint;
        result.description = QStringLiteral("No Existe Información a Imprimir.");
        return result;
    }
    const std::unique_ptr<QPrinter> printer = source ? source() : nullptr;
    if (!printer) {
        result.errorNumber = printerr::kNoPrinter;
        result.description = QStringLiteral("No existe una impresora seleccionada.");
        return result;
    }
    return printReport(file, *printer, range);
}

std::unique_ptr<QPrinter> defaultSystemPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return nullptr;
    }
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

std::unique_ptr<QPrinter> pdfFilePrinter(const QString &file)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    return printer;
}

PrintResult printReportFile(const QString &path, const PrinterSource &source,
                            const std::optional<PageRange> &range, Messenger &messenger)
{
    ReportFile file;
    PrintResult result;
    {
        WaitCursor wait;
        file = readReportFile(path);
        if (file.ok()) {
            result = printFromSource(source, file, range);
        }
    }
    if (showReadingError(file, messenger)) {
        return readingResult(file);
    }
    showPrintError(messenger, result);
    return result;
}

} // namespace qz
