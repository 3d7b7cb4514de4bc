// Opening the shared database the way each program does it, and the open-error message.
#pragma once

#include "core/data/config.h"
#include "core/data/database.h"
#include "core/data/messenger.h"

#include <optional>

namespace qz {

enum class Program { Declmod, Declrep, Declchk, Decltab };

// What must hold before the database is opened, each with its own description: QZ000.INI
// exists (nothing creates it), SysPath is set and is a folder, DBName is set. Throws DbError.
void checkConfig(const Config &config);

// The database QZ000.INI names: on the server of key DBServer when it is set, else the file.
// Throws DbError.
Database openNamedDatabase(const QString &server, const QString &file);

// Refuses (3343) a database that lacks the host tables every program reads: an empty file or
// another program's database is not the host's. Throws DbError.
void requireHostTables(Database &db);

// checkConfig, then logs on through the workgroup file and opens the database shared and
// read-write, and requireHostTables. declmod and declchk write SystemDB into QZ000.INI before
// the log-on. Throws DbError.
Database openSharedDatabase(const Config &config, Program program);

// The message box of a failed open: title "Error de Conección"; for 3051 " 3051- Base esta
// bloqueda" (decltab: "- Base de datos esta bloqueda"), otherwise the description, a line
// feed and the number preceded by one blank.
QString openErrorTitle();
QString openErrorText(const DbError &error, Program program);

// openSharedDatabase for a program that ends on a failed open: shows the open-error message
// (critical icon) and returns nullopt.
std::optional<Database> openOrReport(const Config &config, Program program, Messenger &messenger);

} // namespace qz
