// Real file faults for the tests of the files the programs write, made in the test's own
// process:
// - FileSizeLimit: the kernel's file-size limit (RLIMIT_FSIZE) with SIGXFSZ ignored, so that a
//   write past the limit fails as on a full disk instead of ending the process;
// - ReadOnlyFolder: a folder whose entries cannot be created, replaced or removed (mode r-x),
//   which holds for a test run as root too: the calling thread gives up root's override of
//   file permissions (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH) meanwhile and takes it back after.
// Both act on the calling thread's file operations only as long as the object lives.
#pragma once

#include <QFile>
#include <QString>

#include <csignal>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace qz::test {

class FileSizeLimit final {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool ok() const { return ok_; }

private:
    rlimit old_{};
    void (*previous_)(int) = SIG_DFL;
    bool ok_ = false;
};

class ReadOnlyFolder final {
public:
    explicit ReadOnlyFolder(const QString &dir) : dir_(dir), permissions_(QFile::permissions(dir))
    {
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                       QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                       QFileDevice::ReadOther | QFileDevice::ExeOther);
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0;
        if (syscall(SYS_capget, &header_, saved_) == 0) {
            __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
            lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
            lowered_ = syscall(SYS_capset, &header_, lowered) == 0;
        }
    }
    ~ReadOnlyFolder()
    {
        if (lowered_) {
            syscall(SYS_capset, &header_, saved_);
        }
        QFile::setPermissions(dir_, permissions_);
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    // True when a file cannot be made in the folder now (the test's precondition).
    bool holds() const
    {
        QFile probe(dir_ + QStringLiteral("/probe-write"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            return false;
        }
        return true;
    }

private:
    QString dir_;
    QFile::Permissions permissions_;
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool lowered_ = false;
};

} // namespace qz::test
