// Line-by-line Windows-1252 CR LF output files, put in place whole.
#include "core/reports/hostlinefile.h"

#include "core/data/cp1252.h"
#include "core/data/wholefile.h"

#include <QFileInfo>

#include <cerrno>

namespace qz {

// QSaveFile drops what was not committed.
HostLineFile::~HostLineFile() = default;

bool HostLineFile::create(const QString &path)
{
    close();
    failed_ = false;
    error_.clear();
    const QFileInfo info(path);
    direct_ = info.exists() && !info.isFile() && !info.isDir();
    if (direct_) {
        device_.setFileName(path);
        if (!device_.open(QIODevice::WriteOnly)) {
            setFailed(device_.errorString());
            return false;
        }
        return true;
    }
    file_.setFileName(path);
    // Never write into the named file itself: a reader could find it half written.
    file_.setDirectWriteFallback(false);
    if (!file_.open(QIODevice::WriteOnly)) {
        setFailed(file_.errorString());
        return false;
    }
    return true;
}

bool HostLineFile::writeLine(const QString &line)
{
    QFileDevice &out = file();
    if (!out.isOpen()) {
        return false;
    }
    QByteArray bytes = toCp1252(line);
    bytes += "\r\n";
    errno = 0;
    if (out.write(bytes) != bytes.size()) {
        setFailed(writeFailureText(out, errno));
        return false;
    }
    return true;
}

bool HostLineFile::close()
{
    if (direct_ && device_.isOpen()) {
        errno = 0;
        if (!device_.flush()) {
            setFailed(writeFailureText(device_, errno));
        }
        device_.close();
        return !failed_;
    }
    if (!file_.isOpen()) {
        return !failed_;
    }
    if (failed_) {
        file_.cancelWriting();
        file_.commit(); // drops the file
        return false;
    }
    QString reason;
    if (!commitWhole(file_, &reason)) {
        setFailed(reason);
    }
    return !failed_;
}

void HostLineFile::setFailed(const QString &reason)
{
    if (!failed_) {
        error_ = reason.isEmpty() ? QStringLiteral("No se pudo escribir %1").arg(path()) : reason;
    }
    failed_ = true;
}

} // namespace qz
