// The preview window frmPreview ("Presentación Preliminar"): the pages of a report file as
// images, one at a time, with a toolbar to page through them, print them on the default
// printer, write them into a PDF, close the window and zoom (100 % or the page's width).
// The range chosen in the page-range dialog governs the images and what is printed.
//
// The page images are kept as the commands of each page and drawn when shown (at the
// screen's resolution, 18000 x 15000 twips), so a long report does not hold a large bitmap
// for every page.
#pragma once

#include "core/reports/previewnavigation.h"
#include "core/reports/previewrequest.h"
#include "core/reports/reportpages.h"
#include "gui/printing/printersource.h"
#include "gui/widgets/helpdialog.h"

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QToolBar;

namespace qz {

class Messenger;
class PreviewPageArea;

class FrmPreview final : public HelpDialog {
    Q_OBJECT
public:
    enum class Zoom { Actual, FitWidth };
    // Asks for the name of the PDF to write, offering `suggested`; empty when the user cancels.
    using PdfFileQuestion = std::function<QString(QWidget *parent, const QString &suggested)>;

    FrmPreview(const PreviewRequest &request, std::optional<PageRange> range, Messenger &messenger,
               QWidget *parent = nullptr);
    ~FrmPreview() override;

    // The window's load: reads the report file into page images and shows the first.
    void load();

    // Shows an image: 0 the first, -1 the next, -2 the previous; always puts both vertical
    // bars back at 0.
    void pMostrar(int nroHoja);

    // "Imprimir": reads the file again and prints it, with the range in force, on the
    // printer source's printer. Failures are shown; the window keeps its pages.
    void imprimir();
    // "PDF": asks for a file name and writes the pages in range into it.
    void guardarPdf();

    void setZoom(Zoom zoom);
    Zoom zoom() const { return zoom_; }

    void setPrinterSource(PrinterSource source) { printerSource_ = std::move(source); }
    void setPdfFileQuestion(PdfFileQuestion question) { pdfQuestion_ = std::move(question); }

    int iNroHoja() const { return navigation_.iNroHoja(); }
    int pageCount() const { return navigation_.pageCount(); }
    const std::optional<PageRange> &range() const { return range_; }
    const PreviewRequest &request() const { return request_; }
    // The page on show (its commands), and the area that shows it.
    const ReportPage &shownPage() const;
    PreviewPageArea *pageArea() const { return area_; }
    QToolBar *toolBar() const { return toolBar_; }
    // The toolbar's actions by object name: "inert", "pagAnterior", "pagSgt", "imprimir",
    // "salir", "pdf".
    QAction *action(const QString &objectName) const;
    QComboBox *zoomBox() const { return zoomBox_; }

    // The save dialog of the program.
    static QString askPdfFileName(QWidget *parent, const QString &suggested);

private:
    void buildToolBar();
    void renderShownPage();
    int renderDpi() const;

    PreviewRequest request_;
    std::optional<PageRange> range_;
    Messenger &messenger_;
    PrinterSource printerSource_ = defaultSystemPrinter;
    PdfFileQuestion pdfQuestion_ = askPdfFileName;
    std::vector<ReportPage> pages_;
    PreviewNavigation navigation_;
    Zoom zoom_ = Zoom::Actual;
    int renderedDpi_ = 0; // resolution of the image on show, 0 when none is drawn yet
    QToolBar *toolBar_;
    QComboBox *zoomBox_;
    PreviewPageArea *area_;
};

} // namespace qz
