// The per-user lock that keeps a second copy of a program from starting.
#include "core/platform/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace qz {

namespace {

#ifdef Q_OS_WIN

// Opens (or creates) the file and takes an exclusive lock without waiting; -1 when the file
// cannot be opened or another holder has the lock.
qintptr lockFile(const QString &path)
{
    const QString native = QDir::toNativeSeparators(path);
    HANDLE h = CreateFileW(reinterpret_cast<const wchar_t *>(native.utf16()),
                           GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return -1;
    }
    OVERLAPPED at = {};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        CloseHandle(h);
        return -1;
    }
    return reinterpret_cast<qintptr>(h);
}

void unlockFile(qintptr held)
{
    // Closing the handle releases its lock.
    CloseHandle(reinterpret_cast<HANDLE>(held));
}

#else

// As above, with flock: the lock belongs to the open file, so it also excludes a second
// object of the same process.
qintptr lockFile(const QString &path)
{
    // Close-on-exec: a program the holder starts (qzmessage, declmod) must not inherit it.
    int fd;
    do {
        fd = ::open(QFile::encodeName(path).constData(),
                    O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return -1;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void unlockFile(qintptr held)
{
    // Closing the only descriptor of the open file releases its lock.
    ::close(static_cast<int>(held));
}

#endif

} // namespace

SingleInstance::~SingleInstance()
{
    release();
}

void SingleInstance::release()
{
    if (held_ != kNone) {
        unlockFile(held_);
        held_ = kNone;
    }
    name_.clear();
}

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
    if (held_ != kNone && programName == name_) {
        return true;
    }
    const QString path = lockPath(programName);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const qintptr held = lockFile(path);
    if (held == kNone) {
        return false;
    }
    release();
    held_ = held;
    name_ = programName;
    return true;
}

} // namespace qz
