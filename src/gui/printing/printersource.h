// The printer a print command prints on (the print system's default printer in the program, a
// PDF printer in tests), and printing a report file on it with the preview's messages.
#pragma once

#include "core/reports/printresult.h"
#include "core/reports/reportpages.h"

#include <QPrinter>

#include <functional>
#include <memory>
#include <optional>

namespace qz {

class Messenger;

using PrinterSource = std::function<std::unique_ptr<QPrinter>()>;

// The default printer of the print system (QPrinterInfo::defaultPrinter); nullptr when there
// is none.
std::unique_ptr<QPrinter> defaultSystemPrinter();

// A printer that writes a PDF file.
std::unique_ptr<QPrinter> pdfFilePrinter(const QString &file);

// Prints the file's pages (in range, when one is given) on the source's printer. No printer
// gives printerr::kNoPrinter; a file with nothing to print gives printerr::kNothingToPrint.
// Shows nothing: the caller passes the result to showPrintError.
PrintResult printFromSource(const PrinterSource &source, const ReportFile &file,
                            const std::optional<PageRange> &range);

// Reads the report file at path and prints its pages (those in range, when one is given) on
// the source's printer, under the hourglass. A file that cannot be read completely is not
// printed; its message is that of showReadingError (core/reports/previewload.h). A source
// that gives no printer fails with printerr::kNoPrinter, a file with nothing to print with
// printerr::kNothingToPrint; printing failures are shown by showPrintError. Returns the
// outcome, its message already shown.
PrintResult printReportFile(const QString &path, const PrinterSource &source,
                            const std::optional<PageRange> &range, Messenger &messenger);

} // namespace qz
