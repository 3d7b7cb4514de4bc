// Report files on the printer, and the start, page and end of a print job.
#include "gui/printing/reportprint.h"

#include "gui/printing/reportpainter.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace qz {

namespace {

void setCancelled(PrintResult &result)
{
    result.errorNumber = printerr::kCancelled;
    result.description = QStringLiteral("La Impresión ha sido Cancelada.");
}

} // namespace

bool beginPrintJob(QPainter &painter, QPrinter &printer, PrintResult &result)
{
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    if (!toFile && !printer.isValid()) {
        result.errorNumber = printerr::kNoPrinter;
        result.description = QStringLiteral("No existe una impresora seleccionada.");
        return false;
    }
    printer.setPageOrientation(QPageLayout::Portrait);
    if (painter.begin(&printer)) {
        return true;
    }
    if (toFile) {
        result.errorNumber = printerr::kPathFileAccess;
        result.description =
            QStringLiteral("No se puede crear el archivo ") + printer.outputFileName();
    } else {
        result.errorNumber = printerr::kNoPrinter;
        result.description = QStringLiteral("No se puede iniciar la impresión.");
    }
    return false;
}

bool nextPrintPage(QPainter &painter, QPrinter &printer, PrintResult &result)
{
    if (printer.newPage()) {
        return true;
    }
    painter.end();
    setCancelled(result);
    return false;
}

bool endPrintJob(QPainter &painter, QPrinter &printer, PrintResult &result)
{
    const bool ended = painter.end();
    if (!ended || printer.printerState() == QPrinter::Aborted ||
        printer.printerState() == QPrinter::Error) {
        setCancelled(result);
        return false;
    }
    return true;
}

PrintResult printReport(const ReportFile &file, QPrinter &printer,
                        const std::optional<PageRange> &range)
{
    PrintResult result;
    const std::vector<ReportPage> pages = printerPages(file, range);
    if (pages.empty()) {
        return result;
    }
    QPainter painter;
    if (!beginPrintJob(painter, printer, result)) {
        return result;
    }
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !nextPrintPage(painter, printer, result)) {
            return result;
        }
        drawReportPage(painter, pages[i]);
        ++result.pages;
    }
    endPrintJob(painter, printer, result);
    return result;
}

} // namespace qz
