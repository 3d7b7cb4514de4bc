// Files that stand where the host's database should be but are not it: an empty file, and a
// database without the host's tables. Every program must refuse both and leave them as they are.
#pragma once

#include "core/data/database.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

namespace qz::test {

enum class NotHostDatabase { Empty, Foreign };
inline constexpr NotHostDatabase kNotHostDatabases[] = {NotHostDatabase::Empty,
                                                        NotHostDatabase::Foreign};

// Replaces the file at path with one of them; returns its size, -1 when it cannot be made.
inline qint64 replaceWithNotHostDatabase(const QString &path, NotHostDatabase kind)
{
    if (QFile::exists(path) && !QFile::remove(path)) {
        return -1;
    }
    if (kind == NotHostDatabase::Empty) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) {
            return -1;
        }
    } else {
        Database::open(path, Database::Mode::Create).execute(QStringLiteral("CREATE TABLE T (a)"));
    }
    return QFileInfo(path).size();
}

} // namespace qz::test
