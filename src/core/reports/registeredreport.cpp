// Writing a report file and registering it as one step.
#include "core/reports/registeredreport.h"

#include "core/data/paths.h"
#include "core/data/transaction.h"
#include "core/reports/printresult.h"
#include "core/reports/reportwriter.h"
#include "core/reports/spool.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

#include <atomic>
#include <filesystem>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace qz {

namespace {

RegisteredReport fileFailure(const QString &description)
{
    return {QString(), printerr::kPathFileAccess, description};
}

// Makes the file's bytes durable before its name is published: a rename that outlives a power
// cut must not point at a file whose contents did not.
bool syncToDisk(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        return false;
    }
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

// A name in the folder that no other writer uses: the process number keeps programs apart, the
// counter the reports of one program, and the random part a number the system gave again to
// another process after one was killed. The file is then made with the usual permissions, so
// that the host reads it as any other report.
QString temporaryName(const QString &dir)
{
    static std::atomic<unsigned> counter{0};
    return joinPath(dir, QStringLiteral("~qzrpt-%1-%2-%3.tmp")
                             .arg(QCoreApplication::applicationPid())
                             .arg(counter++)
                             .arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0')));
}

// Replaces target with source in one step (POSIX rename; MoveFileEx with replace on Windows).
bool replaceFile(const QString &source, const QString &target)
{
    std::error_code ec;
    std::filesystem::rename(source.toStdU16String(), target.toStdU16String(), ec);
    return !ec;
}

} // namespace

RegisteredReport writeRegisteredReport(Database &db, const QString &rptDir, const SpoolEntry &entry,
                                       const std::function<void(ReportWriter &)> &write)
{
    const QString temporary = temporaryName(rptDir);
    ReportWriter writer;
    if (!writer.create(temporary)) {
        return fileFailure(QStringLiteral("No se puede crear un archivo en %1").arg(rptDir));
    }
    write(writer);
    if (!writer.close() || !syncToDisk(temporary)) {
        const QString reason = writer.error();
        QFile::remove(temporary);
        return fileFailure(
            reason.isEmpty() ? QStringLiteral("No se pudo escribir %1").arg(temporary) : reason);
    }

    QString target;
    try {
        Transaction tx(db);
        const QString archivo =
            pRegistraSpool(db, entry.codRep, entry.tipDoc, entry.docId, entry.usuario);
        target = joinPath(rptDir, archivo);
        if (!replaceFile(temporary, target)) {
            QFile::remove(temporary);
            return fileFailure(QStringLiteral("No se puede crear el archivo %1").arg(target));
        }
        tx.commit();
        return {archivo, 0, QString()};
    } catch (const DbError &e) {
        // Either the row was never made (the file is still temporary) or the commit failed
        // after the rename: the file must not outlive its row.
        QFile::remove(temporary);
        if (!target.isEmpty()) {
            QFile::remove(target);
        }
        return {QString(), e.number(), e.description()};
    }
}

} // namespace qz
