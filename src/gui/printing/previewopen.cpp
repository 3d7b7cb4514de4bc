// Opening the page-range dialog and the preview, and printing directly.
#include "gui/printing/previewopen.h"

#include "gui/printing/frmimpxpag.h"
#include "gui/printing/frmpreview.h"
#include "gui/widgets/windowroutines.h"

namespace qz {

void runPageRangeDialog(QWidget *mainWindow, const PreviewRequest &request, int pages,
                        Messenger &messenger, const HelpHandler &onHelp)
{
    FrmImpxPag dialog(request, pages, messenger, mainWindow);
    if (onHelp) {
        QObject::connect(&dialog, &FrmImpxPag::helpRequested, &dialog, onHelp);
    }
    dialog.adjustSize();
    centreOnMainWindow(dialog, mainWindow);
    dialog.exec();
}

void showPreview(QWidget *mainWindow, const PreviewRequest &request, Messenger &messenger,
                 const HelpHandler &onHelp)
{
    FrmPreview preview(request, std::nullopt, messenger, mainWindow);
    if (onHelp) {
        QObject::connect(&preview, &FrmPreview::helpRequested, &preview, onHelp);
    }
    centreOnMainWindow(preview, mainWindow);
    preview.load();
    preview.exec();
}

PrintResult printReportDirect(const PreviewRequest &request, Messenger &messenger,
                              const PrinterSource &printer)
{
    return printReportFile(reportPath(request), printer, std::nullopt, messenger);
}

} // namespace qz
