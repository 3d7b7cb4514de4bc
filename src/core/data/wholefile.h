// Files that appear whole or not at all: what a reader on the host's side (a copy in TMP, a
// listing, a report, QZ000.INI) finds under a name is either the old file or the complete new
// one, never a part of the new one.
//
// Both rest on QSaveFile, which writes a temporary file of its own in the same folder (a name
// no other process uses) and renames it over the named file. Qt 6.4's QSaveFile::commit()
// alone is not enough: its close() ignores a failed flush of the last buffered bytes, so on a
// full disk or past a file-size limit it publishes a truncated file and reports success.
#pragma once

#include <QSaveFile>
#include <QString>

namespace qz {

// Puts the file in place when every byte reached the disk; otherwise drops it, leaves the
// named file as it was and returns false with the reason (the system's, e.g. "File too large",
// where Qt says only "Unknown error").
bool commitWhole(QSaveFile &file, QString *error = nullptr);

// The reason of a failed write on file, from the errno the failed call left (0: Qt's text).
QString writeFailureText(const QFileDevice &file, int errorNumber);

// Copies from to `to` the same way: the copy appears whole under its name, replacing a file
// of that name, or not at all. False with the reason when it could not be made.
bool copyWhole(const QString &from, const QString &to, QString *error = nullptr);

} // namespace qz
