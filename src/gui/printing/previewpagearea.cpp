// The page area's frame, its three scroll bars and how they move the image.
#include "gui/printing/previewpagearea.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace qz {

// The framed inside of the area: paints the image at the bars' offset.
class PreviewPageArea::Canvas final : public QFrame {
public:
    explicit Canvas(PreviewPageArea *area) : QFrame(area), area_(area)
    {
        setObjectName(QStringLiteral("pageFrame"));
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        setMinimumSize(120, 120);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QFrame::paintEvent(event);
        QPainter painter(this);
        const QRect inside = contentsRect();
        painter.setClipRect(inside);
        painter.fillRect(inside, palette().color(QPalette::Dark));
        painter.drawImage(inside.topLeft() + area_->imageOffset(), area_->image());
    }
    void resizeEvent(QResizeEvent *event) override
    {
        QFrame::resizeEvent(event);
        area_->updateRanges();
        emit area_->viewportResized();
    }
    void wheelEvent(QWheelEvent *event) override
    {
        // The wheel moves the vertical bars (with Shift, or sideways, the horizontal one).
        const bool sideways = event->modifiers() & Qt::ShiftModifier ||
                              std::abs(event->angleDelta().x()) > std::abs(event->angleDelta().y());
        QCoreApplication::sendEvent(sideways ? area_->bottom_ : area_->left_, event);
    }

private:
    PreviewPageArea *area_;
};

PreviewPageArea::PreviewPageArea(QWidget *parent)
    : QWidget(parent), canvas_(new Canvas(this)), left_(new QScrollBar(Qt::Vertical, this)),
      right_(new QScrollBar(Qt::Vertical, this)), bottom_(new QScrollBar(Qt::Horizontal, this))
{
    left_->setObjectName(QStringLiteral("VScroll1"));
    right_->setObjectName(QStringLiteral("VScroll2"));
    bottom_->setObjectName(QStringLiteral("HScroll1"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(left_, 0, 0);
    grid->addWidget(canvas_, 0, 1);
    grid->addWidget(right_, 0, 2);
    grid->addWidget(bottom_, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);

    // Either vertical bar moves the image and brings the other bar to its value; setValue with
    // the same value emits nothing, so the two never chase each other.
    connect(left_, &QScrollBar::valueChanged, this, [this](int v) {
        right_->setValue(v);
        canvas_->update();
    });
    connect(right_, &QScrollBar::valueChanged, this, [this](int v) {
        left_->setValue(v);
        canvas_->update();
    });
    connect(bottom_, &QScrollBar::valueChanged, canvas_, qOverload<>(&QWidget::update));
    updateRanges();
}

void PreviewPageArea::setImage(const QImage &image)
{
    image_ = image;
    updateRanges();
    canvas_->update();
}

void PreviewPageArea::resetVertical()
{
    left_->setValue(0);
    right_->setValue(0);
}

QPoint PreviewPageArea::imageOffset() const
{
    return {-bottom_->value(), -left_->value()};
}

QSize PreviewPageArea::viewportSize() const
{
    return canvas_->contentsRect().size();
}

void PreviewPageArea::updateRanges()
{
    const QSize view = viewportSize();
    const int vertical = std::max(0, image_.height() - view.height());
    const int horizontal = std::max(0, image_.width() - view.width());
    for (QScrollBar *bar : {left_, right_}) {
        bar->setRange(0, vertical);
        bar->setPageStep(std::max(1, view.height()));
        bar->setSingleStep(20);
    }
    bottom_->setRange(0, horizontal);
    bottom_->setPageStep(std::max(1, view.width()));
    bottom_->setSingleStep(20);
}

} // namespace qz
