// The tagged text printer: tags, the file-mode line writer and the conversion to a file.
#include "core/reports/taggedtext.h"

#include "core/data/numbertext.h"
#include "core/data/textfile.h"

#include <QFileInfo>

#include <cmath>

namespace qz {

namespace {

bool isAllBlank(const QString &text)
{
    for (QChar c : text) {
        if (c != u' ') {
            return false;
        }
    }
    return true;
}

// The value after the tag that ends at `from`, up to the closing tag or the end of the line.
QString valueAfter(const QString &line, qsizetype from, const QString &closing)
{
    const qsizetype end = line.indexOf(closing, from);
    return end < 0 ? line.mid(from) : line.mid(from, end - from);
}

} // namespace

bool readTaggedInput(const QString &input, QStringList &lines, PrintResult &result)
{
    const QFileInfo info(input);
    if (!info.exists() || info.isDir()) {
        result.missingFile = true;
        result.errorNumber = printerr::kFileNotFound;
        result.description = QStringLiteral("No se ha encontrado el archivo");
        return false;
    }
    QString error;
    if (!readHostLines(input, &lines, &error)) {
        result.errorNumber = printerr::kPathFileAccess;
        result.description = error;
        return false;
    }
    return true;
}

bool isTagLine(const QString &line)
{
    return line.contains(u"<!");
}

bool applyTag(const QString &line, TaggedFont &font)
{
    const qsizetype start = line.indexOf(u"<!");
    if (start < 0) {
        return false;
    }
    const qsizetype close = line.indexOf(u"!>", start + 2);
    if (close < 0) {
        return false;
    }
    const qsizetype after = close + 2;
    const QString tag = line.mid(start, after - start);
    if (tag == u"<!font!>") {
        font.family = valueAfter(line, after, QStringLiteral("<!/font!>"));
    } else if (tag == u"<!fontsize!>") {
        const double size =
            std::nearbyint(val(valueAfter(line, after, QStringLiteral("<!/fontsize!>"))));
        font.size = size > 1000 ? 1000 : size < -1000 ? -1000 : static_cast<int>(size);
    } else if (tag == u"<!bold!>" || tag == u"<!/bold!>") {
        font.bold = tag == u"<!bold!>";
    } else if (tag == u"<!underline!>" || tag == u"<!/underline!>") {
        font.underline = tag == u"<!underline!>";
    } else if (tag == u"<!italic!>" || tag == u"<!/italic!>") {
        font.italic = tag == u"<!italic!>";
    } else if (tag == u"<!np!>") {
        return true;
    }
    return false;
}

bool TaggedLineWriter::create(const QString &path)
{
    pageBreakPending_ = false;
    breaks_ = 0;
    return file_.create(path);
}

void TaggedLineWriter::writeLine(const QString &text)
{
    if (!file_.isOpen()) {
        return;
    }
    if (pageBreakPending_) {
        file_.writeLine(QString(QChar(kTaggedPageBreak)));
        pageBreakPending_ = false;
        ++breaks_;
    }
    file_.writeLine(isAllBlank(text) ? QStringLiteral(" ") : text);
}

PrintResult printTaggedFile(const QString &input, const QString &output)
{
    PrintResult result;
    QStringList lines;
    if (!readTaggedInput(input, lines, result)) {
        return result;
    }
    TaggedLineWriter writer;
    if (!writer.create(output)) {
        result.errorNumber = printerr::kPathFileAccess;
        result.description = writer.error();
        return result;
    }
    TaggedFont font;
    bool wroteText = false;
    for (const QString &line : lines) {
        if (isTagLine(line)) {
            if (applyTag(line, font)) {
                writer.requestPageBreak();
            }
            continue;
        }
        writer.writeLine(line);
        wroteText = true;
    }
    if (!writer.close()) {
        result.errorNumber = printerr::kPathFileAccess;
        result.description = writer.error();
        return result;
    }
    result.pages = wroteText ? writer.pageBreaksWritten() + 1 : 0;
    return result;
}

} // namespace qz
