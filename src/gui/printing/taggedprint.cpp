// The tagged text printer on a printer: the lines from the top of the printable area.
#include "gui/printing/taggedprint.h"

#include "core/reports/taggedtext.h"
#include "gui/printing/reportprint.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace qz {

namespace {

QFont printerFont(const TaggedFont &t)
{
    QFont font(t.family);
    if (t.family.compare(u"Courier New", Qt::CaseInsensitive) == 0) {
        font.setStyleHint(QFont::TypeWriter);
    }
    font.setPointSize(std::max(t.size, 1));
    font.setBold(t.bold);
    font.setItalic(t.italic);
    font.setUnderline(t.underline);
    return font;
}

} // namespace

PrintResult printTaggedFile(const QString &input, QPrinter &printer)
{
    PrintResult result;
    QStringList lines;
    if (!readTaggedInput(input, lines, result)) {
        return result;
    }
    if (std::none_of(lines.begin(), lines.end(), [](const QString &l) { return !isTagLine(l); })) {
        result.errorNumber = printerr::kNothingToPrint;
        result.description = QStringLiteral("No Existe Información a Imprimir.");
        return result;
    }
    QPainter painter;
    if (!beginPrintJob(painter, printer, result)) {
        return result;
    }
    const double pageHeight = painter.device()->height();
    TaggedFont font;
    bool breakPending = false;
    bool pageUsed = false;
    double y = 0;
    result.pages = 1;
    for (const QString &line : lines) {
        if (isTagLine(line)) {
            breakPending = applyTag(line, font) || breakPending;
            continue;
        }
        painter.setFont(printerFont(font));
        const QFontMetricsF metrics(painter.font(), painter.device());
        const bool full = y + metrics.height() > pageHeight;
        if (pageUsed && (breakPending || full)) {
            if (!nextPrintPage(painter, printer, result)) {
                return result;
            }
            ++result.pages;
            y = 0;
        }
        breakPending = false;
        painter.setPen(Qt::black);
        painter.drawText(QPointF(0, y + metrics.ascent()), line);
        y += metrics.lineSpacing();
        pageUsed = true;
    }
    endPrintJob(painter, printer, result);
    return result;
}

} // namespace qz
