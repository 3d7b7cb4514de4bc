// Opening the shared database the way each program does it, and the open-error message.
#pragma once

#include "core/data/config.h"
#include "core/data/database.h"
#include "core/data/messenger.h"

#include <optional>

namespace qz {

enum class Program { Declmod, Declrep, Declchk, Decltab };

// Logs on through the workgroup file and opens the database shared and read-write. declmod and
// declchk first write SystemDB into QZ000.INI. Throws DbError.
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
