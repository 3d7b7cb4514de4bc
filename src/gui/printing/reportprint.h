// Printing a report file on a printer (or into a PDF through QPrinter::PdfFormat): the
// printer pages of reportpages.h, each drawn from the printable area's top-left corner,
// portrait whatever the orientation tag says.
#pragma once

#include "core/reports/printresult.h"
#include "core/reports/reportpages.h"

#include <optional>

class QPainter;
class QPrinter;

namespace qz {

// Starts a print job on the printer with the painter. On failure fills result: kNoPrinter
// for a printer that is not usable, kPathFileAccess for a PDF file that cannot be created.
bool beginPrintJob(QPainter &painter, QPrinter &printer, PrintResult &result);

// Starts the next page of a running job; on failure (the job was aborted) ends the painter
// and fills result with kCancelled.
bool nextPrintPage(QPainter &painter, QPrinter &printer, PrintResult &result);

// Ends the job; false (result filled with kCancelled) when it did not complete.
bool endPrintJob(QPainter &painter, QPrinter &printer, PrintResult &result);

// Prints the file's pages in one job. A file with nothing to print starts no job (0 pages).
// Fails with printerr::kNoPrinter when the printer is not usable and with
// printerr::kCancelled when the job is aborted; result.pages is the number of pages printed.
PrintResult printReport(const ReportFile &file, QPrinter &printer,
                        const std::optional<PageRange> &range = std::nullopt);

} // namespace qz
