// A text file written line by line for the host or a printer: Windows-1252, CR LF after every
// line, kept open while a program writes it (the report writer, the tagged text printer in
// file mode, the plain summary and the checker's listing and marker all write this way). A
// character the code page cannot hold is written as "?". Writes to a file that is not open do
// nothing, so a caller whose file could not be created can still run every step that follows.
//
// The file is complete or not there (wholefile.h): the lines go to a temporary file of its own
// in the same folder, which close() puts in place of the named file in one step, and only
// when every line was written and reached the disk. Until then, and after any failure, the
// folder holds the named file as it was before (or none), never a part of the new one.
// A name that stands for a device or a pipe (a printer port, /dev/null) is written directly:
// it cannot be replaced, and must not be.
#pragma once

#include <QFile>
#include <QSaveFile>
#include <QString>

namespace qz {

class HostLineFile final {
public:
    HostLineFile() = default;
    // A file that was not closed (an exception, an early return) is dropped, not put in place.
    ~HostLineFile();
    HostLineFile(const HostLineFile &) = delete;
    HostLineFile &operator=(const HostLineFile &) = delete;

    // Starts the file that will replace a file of that name. Returns false and keeps the
    // reason in error() when it cannot be created (a missing or read-only folder, a read-only
    // file of that name); the object then stays closed.
    bool create(const QString &path);
    bool isOpen() const { return file().isOpen(); }
    QString path() const { return file().fileName(); }

    // Appends the line followed by CR LF. Returns false when the file is not open or the write
    // fails; a failed write is kept in error() and failed().
    bool writeLine(const QString &line);

    // Puts the file in place. Returns false when it could not be completed (a write failed
    // now or earlier, the disk is full, the rename failed): the named file is then left as it
    // was. Closing a closed file changes nothing.
    bool close();

    // True after any failure since create().
    bool failed() const { return failed_; }
    QString error() const { return error_; }

private:
    void setFailed(const QString &reason);
    QFileDevice &file() { return direct_ ? static_cast<QFileDevice &>(device_) : file_; }
    const QFileDevice &file() const
    {
        return direct_ ? static_cast<const QFileDevice &>(device_) : file_;
    }

    QSaveFile file_;
    QFile device_; // a device or pipe, written directly
    bool direct_ = false;
    bool failed_ = false;
    QString error_;
};

} // namespace qz
