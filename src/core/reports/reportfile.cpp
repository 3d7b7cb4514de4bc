// The report-file reader: command words, fields, header tags, the 16-bit rule.
#include "core/reports/reportfile.h"
#include "core/data/hosttext.h"

#include "core/data/numbertext.h"
#include "core/data/textfile.h"

#include <QFileInfo>

#include <cmath>

namespace qz {

namespace {

constexpr int kOverflowNumber = 6;
constexpr int kFileNotFoundNumber = 53;
constexpr int kFileAccessNumber = 75;

// The field's leading number as a 16-bit whole number; nullopt when it does not fit.
std::optional<int> toInt16(const QString &field)
{
    // nearbyint rounds in the default mode, to nearest with halves to even.
    const double rounded = std::nearbyint(val(field));
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
        return std::nullopt;
    }
    return static_cast<int>(rounded);
}

std::int64_t toInt64(double value)
{
    constexpr double limit = 9.0e18;
    if (!(value > -limit && value < limit)) {
        return value > 0 ? static_cast<std::int64_t>(limit) : -static_cast<std::int64_t>(limit);
    }
    return std::llround(value);
}

// The value of a header tag: from `from` up to the closing tag, or to the end of the line.
QString tagValue(const QString &line, int from, const QString &closing)
{
    const qsizetype end = line.indexOf(closing, from);
    return end < 0 ? line.mid(from) : line.mid(from, end - from);
}

struct LineReader {
    ReportFile &out;
    int lastPage = 0;

    // Reads one drawing command; false when a number overflows (the error is set).
    bool drawing(ReportCommand::Kind kind, const QString &line, int rest, int lineNo)
    {
        const QStringList fields = line.mid(rest).split(u'|');
        auto field = [&](int i) { return i < fields.size() ? fields.at(i) : QString(); };
        // Which fields are numbers, by position.
        const bool isBox = kind == ReportCommand::Kind::Box;
        const std::vector<int> numeric =
            isBox ? std::vector<int>{0, 1, 2, 3, 4} : std::vector<int>{0, 1, 4, 5};
        int values[6] = {};
        for (int i : numeric) {
            std::optional<int> v = toInt16(field(i));
            if (!v) {
                out.status = ReportFile::Status::Overflow;
                out.errorNumber = kOverflowNumber;
                out.errorText = QStringLiteral("Desbordamiento");
                out.errorLine = lineNo;
                return false;
            }
            values[i] = *v;
        }
        ReportCommand c;
        c.kind = kind;
        c.line = lineNo;
        c.x = values[0];
        c.y = values[1];
        if (isBox) {
            c.x2 = values[2];
            c.y2 = values[3];
            c.page = values[4];
        } else {
            c.text = field(2);
            c.bold = trimBlanks(field(3)).compare(u"True", Qt::CaseInsensitive) == 0;
            c.size = values[4];
            if (kind == ReportCommand::Kind::Text && c.size == 0) {
                c.size = 8;
            }
            c.page = values[5];
        }
        lastPage = c.page;
        out.commands.push_back(std::move(c));
        return true;
    }

    void other(ReportCommand::Kind kind, int lineNo, QString text = {})
    {
        ReportCommand c;
        c.kind = kind;
        c.line = lineNo;
        c.page = lastPage;
        c.text = std::move(text);
        out.commands.push_back(std::move(c));
    }
};

} // namespace

QString reportCommandWord(const QString &line, int *rest)
{
    const qsizetype n = line.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = line.at(i);
        QString word;
        if (c == u'|') {
            word = line.left(i);
        } else if (c == u'>' && i >= 1 && line.at(i - 1) == u'!') {
            word = line.left(i + 1);
        } else if (c == u'a' && i >= 4 && line.mid(i - 4, 5) == u"aHoja") {
            word = line.left(i + 1);
        } else {
            continue;
        }
        if (rest) {
            *rest = static_cast<int>(i + 1);
        }
        return trimBlanks(word);
    }
    if (rest) {
        *rest = static_cast<int>(n);
    }
    return {};
}

ReportFile parseReportLines(const QStringList &lines)
{
    ReportFile out;
    LineReader reader{out};
    using Kind = ReportCommand::Kind;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        const int lineNo = static_cast<int>(i + 1);
        int rest = 0;
        const QString word = reportCommandWord(line, &rest);
        if (word == u"pPos" || word == u"pPosVerti" || word == u"pCuadro") {
            const Kind kind = word == u"pPos"      ? Kind::Text
                              : word == u"pCuadro" ? Kind::Box
                                                   : Kind::VerticalText;
            if (!reader.drawing(kind, line, rest, lineNo)) {
                return out;
            }
        } else if (word == u"pNuevaHoja") {
            reader.other(Kind::PageBreak, lineNo);
        } else if (word == u"<!font!>") {
            out.font = tagValue(line, rest, QStringLiteral("<!/font!>"));
            reader.other(Kind::FontTag, lineNo, out.font);
        } else if (word == u"<!nHojas!>") {
            const QString value = tagValue(line, rest, QStringLiteral("<!/nHojas!>"));
            reader.other(Kind::PageCountTag, lineNo, value);
            out.commands.back().number = toInt64(val(value));
            out.pageCount = out.commands.back().number;
        } else if (word == u"<!Color!>") {
            QString value = tagValue(line, rest, QStringLiteral("<!/Color!>"));
            value.chop(1); // the closing "&" of the literal
            reader.other(Kind::ColorTag, lineNo, value);
            out.commands.back().color = static_cast<std::uint32_t>(toInt64(val(value)));
            out.color = out.commands.back().color;
        } else if (word == u"<!Orientacion!>") {
            out.orientation = tagValue(line, rest, QStringLiteral("<!/Orientacion!>"));
            reader.other(Kind::OrientationTag, lineNo, out.orientation);
        }
    }
    return out;
}

ReportFile readReportFile(const QString &path)
{
    QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        ReportFile out;
        out.status = ReportFile::Status::MissingFile;
        out.errorNumber = kFileNotFoundNumber;
        out.errorText = QStringLiteral("No se ha encontrado el archivo");
        return out;
    }
    QStringList lines;
    QString error;
    if (!readHostLines(path, &lines, &error)) {
        ReportFile out;
        out.status = ReportFile::Status::Unreadable;
        out.errorNumber = kFileAccessNumber;
        out.errorText = QStringLiteral("Error de acceso a la ruta o el archivo: ") + error;
        return out;
    }
    return parseReportLines(lines);
}

} // namespace qz
