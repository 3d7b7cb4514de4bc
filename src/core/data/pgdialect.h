// The host's SQL dialect on PostgreSQL.
//
// translateForServer rewrites a statement in the host dialect into one the server runs,
// token by token outside quoted text:
// - names: [name] and "name" become the lower-case quoted name, as the server folds names
//   that are not quoted (the host's names ignore case, so CAB, [Cab] and "cab" are one table);
// - "DELETE * FROM" -> "DELETE FROM"; ISNULL(x) -> ((x) IS NULL);
// - the host's functions mid, left, right, len, ucase, lcase, val, trim, ltrim, rtrim and
//   format -> qz_mid, qz_left, ... (pgfunctions.h, created on the server at installation);
// - CREATE TABLE: the host's types become the server's (Byte smallint, Integer and Long
//   bigint, Double double precision, DATETIME timestamp(0), every text type citext, which
//   compares ignoring case as the host does); each column's type as declared is kept as the
//   column's comment, which the record control code reads back; COLLATE NOCASE is dropped;
//   "NOT NULL ON CONFLICT REPLACE DEFAULT v" (a Null stored as v) becomes NOT NULL DEFAULT v
//   and a trigger that stores v for a Null;
// - "ALTER TABLE t ADD CONSTRAINT n PRIMARY KEY (...)" stays: the server has it.
#pragma once

#include <QString>

namespace qz {

QString translateForServer(const QString &sql);

} // namespace qz
