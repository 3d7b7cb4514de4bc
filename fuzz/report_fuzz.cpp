// Fuzz target of the report-file reader: any lines are read without failing, coordinates stay
// in 16 bits, an overflow names its line, and a text command written by the writer with the
// input as its text reads back as that text.
#include "core/data/cp1252.h"
#include "core/reports/reportfile.h"
#include "core/reports/reportwriter.h"

#include <QByteArray>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

bool in16Bits(int v)
{
    return v >= -32768 && v <= 32767;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = qz::fromCp1252(bytes);
    QStringList lines = text.split(QStringLiteral("\n"));
    for (QString &l : lines) {
        if (l.endsWith(u'\r')) {
            l.chop(1);
        }
    }
    const qz::ReportFile file = qz::parseReportLines(lines);
    require(file.status == qz::ReportFile::Status::Ok ||
            file.status == qz::ReportFile::Status::Overflow);
    if (file.status == qz::ReportFile::Status::Overflow) {
        require(file.errorNumber == 6 && file.errorLine >= 1 && file.errorLine <= lines.size());
    }
    int lastLine = 0;
    for (const qz::ReportCommand &c : file.commands) {
        require(in16Bits(c.x) && in16Bits(c.y) && in16Bits(c.x2) && in16Bits(c.y2));
        require(c.line > lastLine);
        lastLine = c.line;
    }

    // The writer and the reader agree on any text.
    const qz::ReportFile one = qz::parseReportLines({qz::posLine(300, 350, text, true, 10, 0)});
    require(one.ok() && one.commands.size() == 1);
    require(one.commands[0].text == qz::reportFieldText(text));
    require(one.commands[0].x == 300 && one.commands[0].y == 350 && one.commands[0].bold);
    return 0;
}
