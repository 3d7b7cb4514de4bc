// How the print dialog shows or prints a report file: the page-range dialog and its preview,
// the preview of every page, and direct printing without a window. Each call is modal and
// returns when its window has closed; F1 in a preview calls onHelp with its topic.
#pragma once

#include "core/reports/previewrequest.h"
#include "core/reports/printresult.h"
#include "gui/printing/printersource.h"

#include <functional>

class QWidget;

namespace qz {

class Messenger;

using HelpHandler = std::function<void(int topic)>;

// The page-range dialog for a report of `pages` pages, centred on mainWindow.
void runPageRangeDialog(QWidget *mainWindow, const PreviewRequest &request, int pages,
                        Messenger &messenger, const HelpHandler &onHelp = {});

// The preview of every page of the report file.
void showPreview(QWidget *mainWindow, const PreviewRequest &request, Messenger &messenger,
                 const HelpHandler &onHelp = {});

// Prints every page of the report file on the source's printer without showing a window
// (the print dialog's "anything else prints"). Messages are shown here; the result says what
// happened.
PrintResult printReportDirect(const PreviewRequest &request, Messenger &messenger,
                              const PrinterSource &printer = defaultSystemPrinter);

} // namespace qz
