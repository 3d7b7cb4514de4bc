// declrep's start after the single-instance test.
#include "core/declrep/reportprogram.h"

#include "core/data/filetest.h"
#include "core/data/paths.h"
#include "core/data/programstart.h"
#include "core/data/wholefile.h"
#include "core/declrep/summaryreport.h"
#include "core/reports/printresult.h"
#include "core/reports/taggedtext.h"

#include <QFile>
#include <QTextStream>

namespace qz {

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
    // RPT\name.TXT on the host's folders, which ignore case, is this ".txt" (copied by its exact
    // name, not an older file whose name differs only in case).
    const QString converted = joinPath(rpt, name + QStringLiteral(".txt"));
    const QString copy = joinPath(tmp, name + QStringLiteral(".TXT"));
    PrintResult printed;
    // A plain text this run did not write is not converted, not even an older one of the name.
    if (summary.plainWritten() && ExisteArchivo(plain, messenger)) {
        printed = printTaggedFile(plain, converted);
    } else {
        printed.missingFile = true;
        printed.errorNumber = printerr::kFileNotFound;
    }
    showPrintError(messenger, printed);
    if (!printed.ok()) {
        // The host takes the copy it finds in TMP: after a failed step there is none, not
        // even one of an earlier run.
        QFile::remove(findEntry(tmp, name + QStringLiteral(".TXT")));
        return ReportOutcome::Incomplete;
    }
    QString error;
    if (!copyWhole(converted, copy, &error)) {
        QTextStream(stderr) << "declrep: no se pudo copiar " << converted << " a " << tmp << ": "
                            << error << '\n';
        QFile::remove(findEntry(tmp, name + QStringLiteral(".TXT")));
        complete = false;
    }
    return complete ? ReportOutcome::Written : ReportOutcome::Incomplete;
}

} // namespace qz
