// The lines of a report file and the writer that appends them.
#include "core/reports/reportwriter.h"

#include "core/reports/linevalue.h"

#include <QStringList>

namespace qz {

namespace {

QString boolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString fieldsLine(const QStringList &fields)
{
    QString line;
    for (const QString &f : fields) {
        line += f;
        line += u'|';
    }
    return line;
}

QString textLine(const char *cmd, int x, int y, const QString &text, bool bold, int size, int page)
{
    return fieldsLine({QString::fromLatin1(cmd), QString::number(x), QString::number(y),
                       reportFieldText(text), boolText(bold), QString::number(size),
                       QString::number(page)});
}

} // namespace

QString reportFieldText(const QString &text)
{
    QString out = blankControls(text);
    out.replace(u'|', QChar(0x00A6));
    return out;
}

QString posLine(int x, int y, const QString &text, bool bold, int size, int page)
{
    return textLine("pPos", x, y, text, bold, size, page);
}

QString posVertiLine(int x, int y, const QString &text, bool bold, int size, int page)
{
    return textLine("pPosVerti", x, y, text, bold, size, page);
}

QString boxLine(int x1, int y1, int x2, int y2, int page)
{
    return fieldsLine({QStringLiteral("pCuadro"), QString::number(x1), QString::number(y1),
                       QString::number(x2), QString::number(y2), QString::number(page)});
}

QString fontTagLine(const QString &name)
{
    return QStringLiteral("<!font!>") + name + QStringLiteral("<!/font!>");
}

QString pageCountTagLine(int pages)
{
    return QStringLiteral("<!nHojas!>") + QString::number(pages) + QStringLiteral("<!/nHojas!>");
}

QString orientationTagLine()
{
    return QStringLiteral("<!Orientacion!>V<!/Orientacion!>");
}

QString colorTagLine(std::uint32_t color)
{
    return QStringLiteral("<!Color!>&H%1&<!/Color!>")
        .arg(QString::number(color, 16).toUpper(), 8, u'0');
}

void ReportWriter::pLineaPos(int x, int y, const QString &text, bool bold, int size, int page)
{
    file_.writeLine(posLine(x, y, text, bold, size, page));
}

void ReportWriter::pLineaPosVerti(int x, int y, const QString &text, bool bold, int size, int page)
{
    file_.writeLine(posVertiLine(x, y, text, bold, size, page));
}

void ReportWriter::pLineaCuadro(int x1, int y1, int x2, int y2, int page)
{
    file_.writeLine(boxLine(x1, y1, x2, y2, page));
}

void ReportWriter::pNuevaHoja()
{
    file_.writeLine(QString::fromLatin1(kPageBreakWord));
}

void ReportWriter::fontTag(const QString &name)
{
    file_.writeLine(fontTagLine(name));
}

void ReportWriter::pageCountTag(int pages)
{
    file_.writeLine(pageCountTagLine(pages));
}

void ReportWriter::orientationTag()
{
    file_.writeLine(orientationTagLine());
}

void ReportWriter::colorTag(std::uint32_t color)
{
    file_.writeLine(colorTagLine(color));
}

} // namespace qz
