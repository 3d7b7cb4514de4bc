// declrep's start after the single-instance test.
#include "core/declrep/reportprogram.h"

#include "core/data/filetest.h"
#include "core/data/paths.h"
#include "core/data/programstart.h"
#include "core/declrep/summaryreport.h"
#include "core/reports/printresult.h"
#include "core/reports/taggedtext.h"

#include <QFile>
#include <QTextStream>

namespace qz {

namespace {

// Copies over an existing file of that name, in one step for the reader on the other side.
bool replaceCopy(const QString &from, const QString &to)
{
    const QString part = to + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(from, part)) {
        return false;
    }
    QFile::remove(to);
    return QFile::rename(part, to);
}

} // namespace

ReportOutcome runDeclrep(const QStringList &arguments, Messenger &messenger)
{
    std::optional<ProgramStart> start =
        startDeclarationProgram(arguments, Program::Declrep, messenger);
    if (!start) {
        return ReportOutcome::NotRun;
    }
    const DeclarationArgs &args = start->args;
    const Config &config = start->config;
    Database &db = start->db;
    const QString root = normalizedDir(config.sysPath);
    const QString rpt = ensureFolder(root, QStringLiteral("RPT"));
    const QString tmp = ensureFolder(root, QStringLiteral("TMP"));

    SummaryReport summary(db, config, args, rpt);
    const QString name = summary.write();
    bool complete = summary.failures().isEmpty();
    for (const QString &f : summary.failures()) {
        QTextStream(stderr) << "declrep: " << f << '\n';
    }

    const QString plain = joinPath(rpt, name + QStringLiteral(".PRN"));
    PrintResult printed;
    if (ExisteArchivo(plain, messenger)) {
        printed = printTaggedFile(plain, joinPath(rpt, name + QStringLiteral(".txt")));
    } else {
        printed.missingFile = true;
        printed.errorNumber = printerr::kFileNotFound;
    }
    showPrintError(messenger, printed);
    if (printed.missingFile) {
        return ReportOutcome::Incomplete;
    }
    complete = complete && printed.ok();
    // The host's folders ignore case: RPT\name.TXT is the ".txt" just written.
    const QString converted = findEntry(rpt, name + QStringLiteral(".TXT"));
    if (!replaceCopy(converted, joinPath(tmp, name + QStringLiteral(".TXT")))) {
        QTextStream(stderr) << "declrep: no se pudo copiar " << converted << " a " << tmp << '\n';
        complete = false;
    }
    return complete ? ReportOutcome::Written : ReportOutcome::Incomplete;
}

} // namespace qz
