// Writing a report file and registering it as one step.
#include "core/reports/registeredreport.h"

#include "core/data/paths.h"
#include "core/data/transaction.h"
#include "core/reports/printresult.h"
#include "core/reports/reportwriter.h"
#include "core/reports/spool.h"

#include <QFile>
#include <QTemporaryFile>

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

// A fresh name in the folder that no other writer holds: the file is made by this call.
QString reserveTemporary(const QString &dir)
{
    QTemporaryFile reserved(joinPath(dir, QStringLiteral("~qzrpt-XXXXXX.tmp")));
    reserved.setAutoRemove(false);
    return reserved.open() ? reserved.fileName() : QString();
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
    const QString temporary = reserveTemporary(rptDir);
    ReportWriter writer;
    if (temporary.isEmpty() || !writer.create(temporary)) {
        if (!temporary.isEmpty()) {
            QFile::remove(temporary);
        }
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
