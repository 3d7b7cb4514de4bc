// One running copy per user of a program: a lock file in the user's runtime folder.
//
// QLockFile with a stale time of 0 and tryLock(0): the lock of a process that has died
// (crash, kill) is broken by Qt at the next start, which a local server or shared memory
// segment would not do.
#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace qz {

class SingleInstance final {
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // Takes the lock named after programName; true when this process now holds it (also when
    // it held it already), false when another live process holds it or the lock file cannot
    // be made. A lock taken before under another name is released once the new one is held.
    // The lock is released when the object is destroyed.
    bool acquire(const QString &programName);

    // The lock file of a program: <runtime folder>/<programName>.lock.
    static QString lockPath(const QString &programName);

private:
    std::unique_ptr<QLockFile> lock_;
    QString name_;
};

} // namespace qz
