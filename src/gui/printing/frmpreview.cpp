// The preview window: toolbar, load, paging, zoom, printing and the PDF.
#include "gui/printing/frmpreview.h"

#include "core/data/messenger.h"
#include "core/reports/previewload.h"
#include "gui/printing/previewpagearea.h"
#include "gui/printing/reportpainter.h"
#include "gui/widgets/windowroutines.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qz {

namespace {

// A printer seen from the front, for desktops whose icon theme has none.
QIcon drawnPrinterIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor outline(0x3b, 0x4a, 0x66);
    p.setPen(QPen(outline, 1.5));
    p.setBrush(QColor(0xfd, 0xfd, 0xfa));
    p.drawRect(QRectF(9, 3, 14, 10)); // the sheet going in
    p.setBrush(QColor(0x9a, 0xa5, 0xb8));
    p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2); // the body
    p.setBrush(QColor(0xfd, 0xfd, 0xfa));
    p.drawRect(QRectF(9, 20, 14, 9)); // the sheet coming out
    p.drawLine(QPointF(12, 24), QPointF(20, 24));
    return QIcon(pixmap);
}

QIcon themed(const char *name, const QIcon &fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(name), fallback);
}

} // namespace

FrmPreview::FrmPreview(const PreviewRequest &request, std::optional<PageRange> range,
                       Messenger &messenger, QWidget *parent)
    : HelpDialog(previewHelpTopic(request.bImprimeEnviada), parent), request_(request),
      range_(range), messenger_(messenger), toolBar_(new QToolBar(this)),
      zoomBox_(new QComboBox(this)), area_(new PreviewPageArea(this))
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Presentación Preliminar"));
    setModal(true);
    pages_.resize(1);
    buildToolBar();
    area_->setObjectName(QStringLiteral("pageArea"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(toolBar_);
    layout->addWidget(area_, 1);

    connect(area_, &PreviewPageArea::viewportResized, this, [this] {
        if (zoom_ == Zoom::FitWidth && renderDpi() != renderedDpi_) {
            renderShownPage();
        }
    });

    // Large enough to read a page at 100 %, never larger than the screen.
    const QRect screenArea = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(1100, screenArea.width() * 9 / 10),
           std::min(820, screenArea.height() * 9 / 10));
}

FrmPreview::~FrmPreview() = default;

void FrmPreview::buildToolBar()
{
    toolBar_->setObjectName(QStringLiteral("Toolbar1"));
    toolBar_->setIconSize(QSize(24, 24));
    const auto add = [this](const char *name, const QIcon &icon, const char *tip) {
        QAction *a = toolBar_->addAction(icon, QString::fromUtf8(tip));
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(QString::fromUtf8(tip));
        return a;
    };
    // The first button has no command, as in the defined toolbar.
    QAction *inert = add("inert", style()->standardIcon(QStyle::SP_FileIcon), "");
    inert->setToolTip(QString());
    toolBar_->addSeparator();
    QAction *anterior =
        add("pagAnterior", themed("go-previous", style()->standardIcon(QStyle::SP_ArrowBack)),
            "Pag Anterior");
    QAction *siguiente =
        add("pagSgt", themed("go-next", style()->standardIcon(QStyle::SP_ArrowForward)), "Pag Sgt");
    QAction *imprimirAction =
        add("imprimir", themed("document-print", drawnPrinterIcon()), "Imprimir");
    QAction *salir = add(
        "salir", themed("application-exit", style()->standardIcon(QStyle::SP_DialogCloseButton)),
        "Salir");
    toolBar_->addSeparator();
    QAction *pdf = add("pdf", QIcon(), "PDF");
    pdf->setToolTip(QStringLiteral("Guardar como PDF"));
    if (auto *button = qobject_cast<QToolButton *>(toolBar_->widgetForAction(pdf))) {
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    zoomBox_->setObjectName(QStringLiteral("zoom"));
    zoomBox_->setToolTip(QStringLiteral("Zoom"));
    zoomBox_->addItem(QStringLiteral("100 %"));
    zoomBox_->addItem(QStringLiteral("Ancho de página"));
    zoomBox_->setFocusPolicy(Qt::NoFocus);
    toolBar_->addWidget(zoomBox_);

    connect(anterior, &QAction::triggered, this, [this] { pMostrar(kMostrarAnterior); });
    connect(siguiente, &QAction::triggered, this, [this] { pMostrar(kMostrarSiguiente); });
    connect(imprimirAction, &QAction::triggered, this, &FrmPreview::imprimir);
    connect(salir, &QAction::triggered, this, &QDialog::close);
    connect(pdf, &QAction::triggered, this, &FrmPreview::guardarPdf);
    connect(zoomBox_, &QComboBox::currentIndexChanged, this,
            [this](int index) { setZoom(index == 1 ? Zoom::FitWidth : Zoom::Actual); });
}

QAction *FrmPreview::action(const QString &objectName) const
{
    const QList<QAction *> actions = toolBar_->actions();
    const auto it = std::find_if(actions.begin(), actions.end(),
                                 [&](const QAction *a) { return a->objectName() == objectName; });
    return it == actions.end() ? nullptr : *it;
}

void FrmPreview::load()
{
    ReportFile file;
    {
        WaitCursor wait;
        file = readReportFile(reportPath(request_));
        pages_ = previewPages(file, range_);
    }
    navigation_.setPageCount(static_cast<int>(pages_.size()));
    renderedDpi_ = 0; // the images are new: draw the first one even if it was on show
    // The window opens with what was read, an empty first page for a missing file.
    showReadingError(file, messenger_);
    pMostrar(kMostrarPrimera);
}

const ReportPage &FrmPreview::shownPage() const
{
    return pages_.at(static_cast<std::size_t>(navigation_.iNroHoja()));
}

void FrmPreview::pMostrar(int nroHoja)
{
    if (navigation_.pMostrar(nroHoja) || renderedDpi_ == 0) {
        renderShownPage();
    }
    area_->resetVertical();
}

int FrmPreview::renderDpi() const
{
    if (zoom_ == Zoom::FitWidth) {
        return std::max(1, area_->viewportSize().width() * kTwipsPerInch / kPreviewPageWidth);
    }
    return std::max(1, logicalDpiX());
}

void FrmPreview::renderShownPage()
{
    renderedDpi_ = renderDpi();
    area_->setImage(renderReportPage(shownPage(), renderedDpi_));
}

void FrmPreview::setZoom(Zoom zoom)
{
    if (zoom == zoom_) {
        return;
    }
    zoom_ = zoom;
    {
        const QSignalBlocker block(zoomBox_);
        zoomBox_->setCurrentIndex(zoom == Zoom::FitWidth ? 1 : 0);
    }
    renderShownPage();
}

void FrmPreview::imprimir()
{
    printReportFile(reportPath(request_), printerSource_, range_, messenger_);
}

void FrmPreview::guardarPdf()
{
    QString name = pdfQuestion_ ? pdfQuestion_(this, defaultPdfName(request_)) : QString();
    if (name.isEmpty()) {
        return;
    }
    if (QFileInfo(name).suffix().isEmpty()) {
        name += QStringLiteral(".pdf");
    }
    printReportFile(
        reportPath(request_), [&name] { return pdfFilePrinter(name); }, range_, messenger_);
}

QString FrmPreview::askPdfFileName(QWidget *parent, const QString &suggested)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Guardar como PDF"), suggested,
                                        QStringLiteral("PDF (*.pdf)"));
}

} // namespace qz
