// The preview's page area: one page image in a frame, a vertical scroll bar on each side of it
// that always show the same value, and a horizontal bar below. The image's top is minus the
// vertical value, its left minus the horizontal value; the ranges let the whole image scroll
// into view and follow the image and the frame's size.
#pragma once

#include <QImage>
#include <QWidget>

class QScrollBar;

namespace qz {

class PreviewPageArea final : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPageArea(QWidget *parent = nullptr);

    // Shows another image; the bars keep their values as far as the new ranges allow.
    void setImage(const QImage &image);
    const QImage &image() const { return image_; }

    // Both vertical bars back to 0.
    void resetVertical();

    QScrollBar *leftBar() const { return left_; }
    QScrollBar *rightBar() const { return right_; }
    QScrollBar *horizontalBar() const { return bottom_; }

    // Where the image's top-left corner stands in the frame: (-horizontal, -vertical).
    QPoint imageOffset() const;
    // The size of the frame's inside, where the image shows.
    QSize viewportSize() const;

signals:
    void viewportResized();

private:
    class Canvas;
    void updateRanges();

    QImage image_;
    Canvas *canvas_;
    QScrollBar *left_;
    QScrollBar *right_;
    QScrollBar *bottom_;
};

} // namespace qz
