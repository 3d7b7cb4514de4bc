// The per-user lock that keeps a second copy of a program from starting.
#include "core/platform/singleinstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace qz {

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockPath(const QString &programName)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) {
        dir = QDir::tempPath();
    }
    return QDir(dir).filePath(programName + QStringLiteral(".lock"));
}

bool SingleInstance::acquire(const QString &programName)
{
    if (lock_ && lock_->isLocked() && programName == name_) {
        return true;
    }
    const QString path = lockPath(programName);
    QDir().mkpath(QFileInfo(path).absolutePath());
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        return false;
    }
    lock_ = std::move(lock);
    name_ = programName;
    return true;
}

} // namespace qz
