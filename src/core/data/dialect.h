// The host's SQL dialect on SQLite.
//
// translateStatement rewrites a statement in the host dialect into one SQLite runs, working on
// tokens outside quoted strings: "DELETE * FROM" -> "DELETE FROM", ISNULL(x) -> (x IS NULL),
// left( -> substr(x,1,n), mid -> substr, len -> length, right -> qz_right;
// ucase, lcase, val and format are our registered functions, Byte/text(n)/double column types kept
// as SQLite accepts them, "ALTER TABLE t ADD CONSTRAINT n PRIMARY KEY (...)" -> a unique index n,
// and text columns of CREATE TABLE declared COLLATE NOCASE (host text compares ignore case).
// registerHostFunctions installs the functions on a connection; call it after every open.
#pragma once

#include <QString>

struct sqlite3;

namespace qz {

QString translateStatement(const QString &sql);

// Registers mid, right, val, trim, ltrim, rtrim, format (as qz_mid, ... and format itself,
// replacing the built-in one). Returns an SQLite result code.
int registerHostFunctions(sqlite3 *db);

} // namespace qz
