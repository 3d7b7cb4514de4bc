// A text file written line by line for the host or a printer: Windows-1252, CR LF after every
// line, kept open while a program writes it (the report writer, the tagged text printer in
// file mode and the checker's listing all write this way). A character the code page cannot
// hold is written as "?". Writes to a file that is not open do nothing, so a caller whose
// file could not be created can still run every step that follows.
#pragma once

#include <QFile>
#include <QString>

namespace qz {

class HostLineFile final {
public:
    HostLineFile() = default;
    ~HostLineFile();
    HostLineFile(const HostLineFile &) = delete;
    HostLineFile &operator=(const HostLineFile &) = delete;

    // Creates the file, replacing a file of that name. Returns false and keeps the reason in
    // error() when it cannot be created; the object then stays closed.
    bool create(const QString &path);
    bool isOpen() const { return file_.isOpen(); }
    QString path() const { return file_.fileName(); }

    // Appends the line followed by CR LF. Returns false when the file is not open or the write
    // fails; a failed write is kept in error() and failed().
    bool writeLine(const QString &line);

    // Writes what is buffered and closes the file. Returns false when the file could not be
    // completed (a write failed now or earlier). Closing a closed file changes nothing.
    bool close();

    // True after any write error since create().
    bool failed() const { return failed_; }
    QString error() const { return error_; }

private:
    void setFailed(const QString &reason);

    QFile file_;
    bool failed_ = false;
    QString error_;
};

} // namespace qz
