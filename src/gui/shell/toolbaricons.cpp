// Toolbar icons: theme names and the drawn pictures. Each picture is drawn on a 32 x 32 grid
// and scaled, so the small sizes stay sharp enough without image files.
#include "gui/shell/toolbaricons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace qz {

namespace {

const QColor kOutline(0x3b, 0x4a, 0x66);
const QColor kPaper(0xfd, 0xfd, 0xfa);
const QColor kGreen(0x2e, 0x8b, 0x3e);
const QColor kRed(0xc6, 0x28, 0x28);
const QColor kBlue(0x24, 0x5f, 0xb0);

QPen outline(double width = 1.5)
{
    return QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet with its top-right corner folded, and three lines of text.
void drawPage(QPainter &p)
{
    QPainterPath sheet;
    sheet.moveTo(6, 2);
    sheet.lineTo(19, 2);
    sheet.lineTo(25, 8);
    sheet.lineTo(25, 29);
    sheet.lineTo(6, 29);
    sheet.closeSubpath();
    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawPath(sheet);
    p.drawPolyline(QPolygonF({{19, 2}, {19, 8}, {25, 8}}));
    p.setPen(QPen(QColor(0x9a, 0xa5, 0xb8), 1.5));
    for (double y : {12.0, 16.0, 20.0}) {
        p.drawLine(QPointF(9, y), QPointF(21, y));
    }
}

// A round badge in the lower right corner, with a white mark drawn by mark.
void drawBadge(QPainter &p, const QColor &colour, const std::function<void(QPainter &)> &mark)
{
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(colour);
    p.drawEllipse(QPointF(23, 23), 8, 8);
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    mark(p);
}

void drawNueva(QPainter &p)
{
    drawPage(p);
    drawBadge(p, kGreen, [](QPainter &q) {
        q.drawLine(QPointF(23, 18.5), QPointF(23, 27.5));
        q.drawLine(QPointF(18.5, 23), QPointF(27.5, 23));
    });
}

void drawModificar(QPainter &p)
{
    drawPage(p);
    // A pencil across the sheet, its point at the lower left.
    p.save();
    p.translate(17, 20);
    p.rotate(-45);
    p.setPen(outline(1.2));
    p.setBrush(QColor(0xf2, 0xb6, 0x31));
    p.drawRect(QRectF(-6, -3, 16, 6));
    p.setBrush(QColor(0xe8, 0x8f, 0x8f));
    p.drawRect(QRectF(10, -3, 3, 6));
    p.setBrush(QColor(0xf0, 0xd9, 0xb5));
    p.drawPolygon(QPolygonF({{-6, -3}, {-12, 0}, {-6, 3}}));
    p.setBrush(kOutline);
    p.drawPolygon(QPolygonF({{-10, -1}, {-12, 0}, {-10, 1}}));
    p.restore();
}

void drawEliminar(QPainter &p)
{
    drawPage(p);
    drawBadge(p, kRed, [](QPainter &q) {
        q.drawLine(QPointF(19.8, 19.8), QPointF(26.2, 26.2));
        q.drawLine(QPointF(26.2, 19.8), QPointF(19.8, 26.2));
    });
}

void drawImprimir(QPainter &p)
{
    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 3, 14, 10)); // the sheet going in
    p.setBrush(QColor(0x8a, 0x94, 0xa6));
    p.drawRoundedRect(QRectF(3, 11, 26, 12), 2.5, 2.5); // the body
    p.setBrush(kGreen);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(25, 15), 1.5, 1.5);
    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 19, 14, 10)); // the printed sheet
    p.setPen(QPen(QColor(0x9a, 0xa5, 0xb8), 1.5));
    p.drawLine(QPointF(12, 23), QPointF(20, 23));
    p.drawLine(QPointF(12, 26), QPointF(18, 26));
}

void drawSalir(QPainter &p)
{
    // An open door and an arrow leaving through it.
    p.setPen(outline());
    p.setBrush(QColor(0xe9, 0xe4, 0xd8));
    p.drawRect(QRectF(4, 3, 15, 26));
    p.setBrush(QColor(0x9c, 0x64, 0x34));
    p.drawPolygon(QPolygonF({{4, 3}, {13, 6}, {13, 31}, {4, 29}}));
    p.setBrush(QColor(0xf2, 0xd0, 0x6b));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(11, 18), 1.3, 1.3);
    p.setPen(QPen(kGreen, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(17, 16), QPointF(28, 16));
    p.drawPolyline(QPolygonF({{24, 11}, {29, 16}, {24, 21}}));
}

void drawNumOrden(QPainter &p)
{
    drawPage(p);
    drawBadge(p, kBlue, [](QPainter &q) {
        q.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        q.drawLine(QPointF(21.5, 18.5), QPointF(20.5, 27.5));
        q.drawLine(QPointF(25.5, 18.5), QPointF(24.5, 27.5));
        q.drawLine(QPointF(18.5, 21.5), QPointF(27.5, 21.5));
        q.drawLine(QPointF(18.5, 24.5), QPointF(27.5, 24.5));
    });
}

void drawAyuda(QPainter &p)
{
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(16, 16), 14, 14);
    // The question mark: a hook and a dot.
    QPainterPath hook;
    hook.moveTo(11, 12.5);
    hook.cubicTo(11, 6, 21, 6, 21, 12);
    hook.cubicTo(21, 15.5, 16, 15.5, 16, 20);
    p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 25), 2.2, 2.2);
}

using Drawing = void (*)(QPainter &);

Drawing drawingOf(Command command)
{
    switch (command) {
    case Command::Nueva:
        return drawNueva;
    case Command::Modificar:
        return drawModificar;
    case Command::Eliminar:
        return drawEliminar;
    case Command::Imprimir:
        return drawImprimir;
    case Command::Salir:
        return drawSalir;
    case Command::RegistrarOrden:
        return drawNumOrden;
    case Command::Contenido:
        return drawAyuda;
    default:
        return nullptr;
    }
}

} // namespace

QString commandIconName(Command command)
{
    switch (command) {
    case Command::Nueva:
        return QStringLiteral("document-new");
    case Command::Modificar:
        return QStringLiteral("document-open");
    case Command::Eliminar:
        return QStringLiteral("edit-delete");
    case Command::Imprimir:
        return QStringLiteral("document-print");
    case Command::Salir:
        return QStringLiteral("application-exit");
    case Command::RegistrarOrden:
        return QStringLiteral("document-send");
    case Command::Contenido:
        return QStringLiteral("help-contents");
    default:
        return {};
    }
}

QIcon drawnCommandIcon(Command command)
{
    const Drawing draw = drawingOf(command);
    if (!draw) {
        return {};
    }
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        draw(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon commandIcon(Command command)
{
    const QString name = commandIconName(command);
    if (!name.isEmpty() && QIcon::hasThemeIcon(name)) {
        return QIcon::fromTheme(name);
    }
    return drawnCommandIcon(command);
}

} // namespace qz
