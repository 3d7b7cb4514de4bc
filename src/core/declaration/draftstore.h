// Where drafts live and how they are written: one file per user, taxpayer and exercise in
// the user's data folder, under a folder of the database the declaration belongs to (a draft
// typed against one installation must never be offered in another).
//
// Writes are atomic (QSaveFile: a temporary file renamed over the old one after it is
// flushed to disk), so a crash in the middle leaves the previous draft whole. Reads refuse
// files larger than kMaxDraftBytes: a draft is a few kilobytes.
#pragma once

#include "core/declaration/draft.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace qz {

constexpr qint64 kMaxDraftBytes = 1024 * 1024;

// The drafts folder of the user's data folder (QStandardPaths::AppDataLocation).
QString defaultDraftFolder();

// The draft file of a declaration: folder, a tag of the database path, and a file name made
// of the key's parts (characters other than ASCII letters and digits written as "~xx" hex
// bytes, so no name can reach outside the folder).
QString draftPath(const QString &folder, const QString &databasePath, const DraftKey &key);

// Writes text to path atomically, creating its folder; false with the reason in error.
bool writeDraftFile(const QString &path, const QByteArray &text, QString *error = nullptr);

// The file's text; nothing when it is missing, unreadable or too large.
std::optional<QByteArray> readDraftFile(const QString &path);

} // namespace qz
