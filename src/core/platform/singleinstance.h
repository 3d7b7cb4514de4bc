// One running copy per user of a program: a lock held on a file in the user's runtime folder.
//
// The lock is an advisory lock on an open descriptor (flock; LockFileEx on Windows), not the
// file's existence or content: the kernel drops it when the holder ends, however it ends
// (kill, crash, power loss of the process), so nothing a dead copy leaves behind - an empty
// or garbage file, a half-removed lock - can block the next start. The file itself is never
// removed: removing it while another process has it open would let two copies each lock a
// different file of the same name.
#pragma once

#include <QString>
#include <QtGlobal>

namespace qz {

class SingleInstance final {
public:
    SingleInstance() = default;
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // Takes the lock named after programName; true when this object now holds it (also when
    // it held it already), false when another holder has it or the lock file cannot be
    // opened. A lock taken before under another name is released once the new one is held.
    // The lock is released when the object is destroyed. Two objects in one process exclude
    // each other as two processes do.
    bool acquire(const QString &programName);

    // The lock file of a program: <runtime folder>/<programName>.lock.
    static QString lockPath(const QString &programName);

private:
    void release();

    // The descriptor (a HANDLE on Windows) that holds the lock, kNone when none is held.
    static constexpr qintptr kNone = -1;
    qintptr held_ = kNone;
    QString name_;
};

} // namespace qz
