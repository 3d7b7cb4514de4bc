// The host's database of a test installation made missing or made into one that is not the
// host's, the same way on both engines: on SQLite the file (support/nothostdatabase.h), on the
// server the database itself.
#pragma once

#include "core/data/database.h"
#include "support/nothostdatabase.h"
#include "support/pgcluster.h"
#include "support/tempinstall.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace qz::test {

// Replaces the installation's database with one that is not the host's: on the server, the
// database emptied of every table (the empty file's counterpart) or holding only another
// program's table T. False when it could not be made.
inline bool makeNotHostDatabase(const TempInstall &inst, NotHostDatabase kind)
{
    if (inst.server().isEmpty()) {
        return replaceWithNotHostDatabase(inst.dbPath(), kind) >= 0;
    }
    try {
        Database db = inst.open();
        for (const QString &table : db.tableNames()) {
            db.executeNative(QStringLiteral("DROP TABLE \"%1\" CASCADE").arg(table));
        }
        if (kind == NotHostDatabase::Foreign) {
            db.execute(QStringLiteral("CREATE TABLE T (a INTEGER)"));
        }
        return true;
    } catch (const DbError &) {
        return false;
    }
}

// What the database is now, to see that a program that refused it left it as it was: the
// file's size, or the server database's tables.
inline QString databaseState(const TempInstall &inst)
{
    if (inst.server().isEmpty()) {
        return QStringLiteral("size %1").arg(QFileInfo(inst.dbPath()).size());
    }
    try {
        QStringList tables = inst.open().tableNames();
        for (QString &t : tables) {
            t = t.toUpper();
        }
        tables.sort();
        return QStringLiteral("tables ") + tables.join(u',');
    } catch (const DbError &e) {
        return QStringLiteral("error %1").arg(e.number());
    }
}

// Takes the installation's database away while QZ000.INI still names it: the file removed, or
// the database dropped from the server (connections and all). False when it is still there.
inline bool removeDatabase(const TempInstall &inst)
{
    if (inst.server().isEmpty()) {
        return QFile::remove(inst.dbPath());
    }
    // The last dbname of the connection string is the one libpq uses.
    static const QRegularExpression dbname(QStringLiteral(R"(\bdbname=(\S+))"));
    QString name;
    for (const QRegularExpressionMatch &m : dbname.globalMatch(inst.server())) {
        name = m.captured(1);
    }
    if (!name.startsWith(QLatin1String("qzt_"))) {
        return false; // never any database but a test's own
    }
    try {
        Database admin = Database::connect(pgCluster().adminConninfo);
        admin.executeNative(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(name));
        return true;
    } catch (const DbError &) {
        return false;
    }
}

} // namespace qz::test
