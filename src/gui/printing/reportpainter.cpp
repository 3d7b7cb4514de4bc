// Drawing report commands: twips to device pixels, the report font, the page colours.
#include "gui/printing/reportpainter.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>

namespace qz {

namespace {

struct Scale {
    double x = 1;
    double y = 1;
    QPointF at(int twipsX, int twipsY) const { return {twipsX * x, twipsY * y}; }
};

Scale deviceScale(const QPainter &painter)
{
    const QPaintDevice *device = painter.device();
    return {device->logicalDpiX() / double(kTwipsPerInch),
            device->logicalDpiY() / double(kTwipsPerInch)};
}

void drawTextAt(QPainter &painter, const Scale &scale, int x, int y, const QString &text)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.drawText(scale.at(x, y) + QPointF(0, metrics.ascent()), text);
}

} // namespace

QFont reportFont(bool bold, int pointSize)
{
    QFont font(QString::fromLatin1(kReportFont));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(std::max(pointSize, 1));
    font.setBold(bold);
    return font;
}

QColor reportColor(std::uint32_t value)
{
    if (value & 0x80000000u) {
        // The classic defaults of the system colours a report may name.
        switch (value & 0xFFu) {
        case 4:  // menu
        case 15: // button face
            return QColor(0xF0, 0xF0, 0xF0);
        case 8:  // window text
        case 18: // button text
            return Qt::black;
        case 12: // application workspace
            return QColor(0xAB, 0xAB, 0xAB);
        default: // 5, the window background, and anything else
            return Qt::white;
        }
    }
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

void drawReportCommand(QPainter &painter, const ReportCommand &c)
{
    const Scale scale = deviceScale(painter);
    switch (c.kind) {
    case ReportCommand::Kind::Text:
        if (!c.text.isEmpty()) {
            painter.setFont(reportFont(c.bold, c.size));
            painter.setPen(Qt::black);
            drawTextAt(painter, scale, c.x, c.y, c.text);
        }
        break;
    case ReportCommand::Kind::VerticalText:
        painter.setFont(reportFont(c.bold, c.size));
        painter.setPen(Qt::black);
        for (qsizetype i = 0; i < c.text.size(); ++i) {
            const int y = c.y + kVerticalTextStep * static_cast<int>(i);
            drawTextAt(painter, scale, c.x, y, c.text.mid(i, 1));
        }
        break;
    case ReportCommand::Kind::Box: {
        QPen pen(Qt::black);
        pen.setWidth(1);
        pen.setCosmetic(true);
        painter.setPen(pen);
        const QPointF a = scale.at(c.x, c.y);
        const QPointF b = scale.at(c.x2, c.y2);
        painter.drawLine(QPointF(a.x(), a.y()), QPointF(a.x(), b.y()));
        painter.drawLine(QPointF(b.x(), a.y()), QPointF(b.x(), b.y()));
        painter.drawLine(QPointF(a.x(), a.y()), QPointF(b.x(), a.y()));
        painter.drawLine(QPointF(a.x(), b.y()), QPointF(b.x(), b.y()));
        break;
    }
    default:
        break;
    }
}

void drawReportPage(QPainter &painter, const ReportPage &page)
{
    for (const ReportCommand &c : page.commands) {
        drawReportCommand(painter, c);
    }
}

QImage renderReportPage(const ReportPage &page, int dotsPerInch)
{
    const int width = kPreviewPageWidth * dotsPerInch / kTwipsPerInch;
    const int height = kPreviewPageHeight * dotsPerInch / kTwipsPerInch;
    QImage image(width, height, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(dotsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(reportColor(page.background));
    QPainter painter(&image);
    drawReportPage(painter, page);
    painter.end();
    return image;
}

} // namespace qz
