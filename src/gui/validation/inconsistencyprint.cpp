// The inconsistency printout as a report file printed through Qt's print system.
#include "gui/validation/inconsistencyprint.h"

#include "core/data/clock.h"
#include "core/data/format.h"
#include "core/data/textfile.h"
#include "core/reports/reportfile.h"
#include "core/reports/reportwriter.h"
#include "gui/printing/reportprint.h"

namespace qz {

namespace {

constexpr int kLinesPerPage = 40;
constexpr int kLineStep = 270;

} // namespace

QStringList inconsistencyReportLines(const QStringList &lines, const QDateTime &at)
{
    QStringList out{fontTagLine()};
    int page = 0;
    int onPage = 0;
    const auto header = [&] {
        out << posLine(400, 300, formatDate(at, QStringLiteral("dd/mm/yyyy")), true, 8, page)
            << posLine(4500, 300, QStringLiteral("INCONSISTENCIAS DETECTADAS "), true, 8, page)
            << posLine(400, 570, formatDate(at, QStringLiteral("hh:mm:ss")), true, 8, page)
            << posLine(3500, 570, QStringLiteral("DECLARACION VEXILAR"), true, 8, page);
    };
    header();
    for (int n = 1; n <= lines.size(); ++n) {
        if (onPage == kLinesPerPage) {
            // After the 40th line the list goes on at the top of a new page.
            out << QString::fromLatin1(kPageBreakWord);
            ++page;
            onPage = 0;
            header();
        }
        out << posLine(400, 1000 + onPage * kLineStep,
                       QString::number(n) + QStringLiteral(". ") + lines[n - 1], false, 8, page);
        ++onPage;
    }
    out << posLine(500, 1000 + onPage * kLineStep,
                   QStringLiteral(" Inconsistencias Detectadas : ") + QString::number(lines.size()),
                   false, 8, page)
        << boxLine(300, 720, 10000, 1270 + onPage * kLineStep, page) << pageCountTagLine(page + 1);
    return out;
}

PrintResult ImprimeInconsistencias(const QString &mensPath, QPrinter &printer)
{
    QStringList lines;
    if (!readHostLines(mensPath, &lines)) {
        PrintResult r;
        r.errorNumber = printerr::kNothingToPrint;
        r.description = QStringLiteral("No Existe Información a Imprimir.");
        return r;
    }
    return printReport(parseReportLines(inconsistencyReportLines(lines, now())), printer);
}

} // namespace qz
