// Line-by-line Windows-1252 CR LF output files.
#include "core/reports/hostlinefile.h"

#include "core/data/cp1252.h"

namespace qz {

HostLineFile::~HostLineFile()
{
    close();
}

bool HostLineFile::create(const QString &path)
{
    close();
    failed_ = false;
    error_.clear();
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        setFailed(file_.errorString());
        return false;
    }
    return true;
}

bool HostLineFile::writeLine(const QString &line)
{
    if (!file_.isOpen()) {
        return false;
    }
    QByteArray bytes = toCp1252(line);
    bytes += "\r\n";
    if (file_.write(bytes) != bytes.size()) {
        setFailed(file_.errorString());
        return false;
    }
    return true;
}

bool HostLineFile::close()
{
    if (!file_.isOpen()) {
        return !failed_;
    }
    if (!file_.flush()) {
        setFailed(file_.errorString());
    }
    file_.close();
    if (file_.error() != QFileDevice::NoError && !failed_) {
        setFailed(file_.errorString());
    }
    return !failed_;
}

void HostLineFile::setFailed(const QString &reason)
{
    if (!failed_) {
        error_ = reason;
    }
    failed_ = true;
}

} // namespace qz
