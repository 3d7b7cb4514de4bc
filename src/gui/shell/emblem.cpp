// Drawing the emblem and the background picture.
#include "gui/shell/emblem.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace qz {

namespace {

const QColor kDeep(0x1f, 0x3a, 0x68);
const QColor kGold(0xc8, 0xa2, 0x3c);

void drawEmblem(QPainter &p, const QRectF &r)
{
    QPainterPath shield;
    shield.moveTo(r.left(), r.top());
    shield.lineTo(r.right(), r.top());
    shield.lineTo(r.right(), r.top() + r.height() * 0.55);
    shield.quadTo(r.right(), r.bottom() - r.height() * 0.1, r.center().x(), r.bottom());
    shield.quadTo(r.left(), r.bottom() - r.height() * 0.1, r.left(), r.top() + r.height() * 0.55);
    shield.closeSubpath();
    p.setPen(QPen(kGold, std::max(1.0, r.width() / 24)));
    p.setBrush(kDeep);
    p.drawPath(shield);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setBold(true);
    f.setPixelSize(std::max(1, static_cast<int>(r.height() * 0.28)));
    p.setFont(f);
    p.setPen(kGold);
    p.drawText(r.adjusted(0, -r.height() * 0.08, 0, -r.height() * 0.08), Qt::AlignCenter,
               QStringLiteral("0731"));
}

} // namespace

QPixmap emblemPixmap(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    drawEmblem(p, QRectF(size * 0.1, size * 0.05, size * 0.8, size * 0.9));
    return pm;
}

QPixmap backgroundPixmap(const QSize &size)
{
    QPixmap pm(size.isEmpty() ? QSize(1, 1) : size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, pm.height());
    g.setColorAt(0, QColor(0xe8, 0xee, 0xf6));
    g.setColorAt(1, QColor(0xc4, 0xd0, 0xe2));
    p.fillRect(pm.rect(), g);
    const qreal side = std::min(pm.width(), pm.height()) * 0.45;
    const QRectF shield(pm.width() / 2.0 - side * 0.4, pm.height() / 2.0 - side * 0.6, side * 0.8,
                        side * 0.9);
    p.setOpacity(0.85);
    drawEmblem(p, shield);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(std::max(1, static_cast<int>(side * 0.12)));
    f.setBold(true);
    p.setFont(f);
    p.setPen(kDeep);
    p.drawText(QRectF(0, shield.bottom() + side * 0.04, pm.width(), side * 0.16), Qt::AlignCenter,
               QStringLiteral("Vexilar"));
    f.setBold(false);
    f.setPixelSize(std::max(1, static_cast<int>(side * 0.07)));
    p.setFont(f);
    p.drawText(QRectF(0, shield.bottom() + side * 0.2, pm.width(), side * 0.1), Qt::AlignCenter,
               QStringLiteral("Formulario 0731"));
    return pm;
}

} // namespace qz
