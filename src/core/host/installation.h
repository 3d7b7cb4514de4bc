// Creating a complete host installation in a folder: the configuration file QZ000.INI, the
// workgroup file, the shared database with the host tables and demo rows, the host's folders
// and the sending rules of form 0731 (tmp/env731.txt) that decltab reads.
#pragma once

#include <QString>
#include <QStringList>

namespace qz {

// File name of the shared database under the installation folder, as the host names it.
constexpr const char *kDatabaseFileName = "QZ000.MDB";

struct InstallResult {
    bool ok = false;
    QString message; // what was done, or why nothing (or not everything) was
};

// The lines of tmp/env731.txt: one working table of form 0731 per line, 13 fields each
// followed by "|".
QStringList envFileLines();

// Creates the installation in dir (made when missing) and points QZ000.INI (qz::iniPath())
// at it: SysPath and DBPath = dir with a trailing "/", DBName, SysUser = the demo user.
// Refuses, changing nothing, when dir already holds the database or QZ000.MDW (in any letter
// case) unless force is set; force replaces the database and the workgroup file and keeps
// every other file. QZ000.INI is written last, so a failed run never points the host at an
// incomplete installation; a failed database is removed again.
//
// With a server (a libpq connection string, never holding the password), the shared database
// is that database on a PostgreSQL server instead of the file: it gets citext, the host's
// functions, the host tables and demo rows in one transaction, and QZ000.INI gets the key
// DBServer. A database that already holds the host's tables is refused unless force is set;
// force drops the tables of that database first.
InstallResult createInstallation(const QString &dir, bool force, const QString &server = {});

} // namespace qz
