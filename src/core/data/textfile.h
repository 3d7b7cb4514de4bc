// Text files for the host: Windows-1252 with CR LF line ends, written and read the same way.
#pragma once

#include <QString>
#include <QStringList>

namespace qz {

// Writes the lines, each followed by CR LF; replaces the file in one step. Returns false and
// a reason when the file cannot be written.
bool writeHostLines(const QString &path, const QStringList &lines, QString *error = nullptr);
// Appends lines to a file (created when missing).
bool appendHostLines(const QString &path, const QStringList &lines, QString *error = nullptr);
// Reads a file's lines (CR LF or LF); a final line end does not make an empty last line.
bool readHostLines(const QString &path, QStringList *lines, QString *error = nullptr);

} // namespace qz
