// The host's SQL functions on a PostgreSQL server, for the PostgreSQL translation of the host
// dialect: qz_mid, qz_left, qz_right, qz_len, qz_ucase, qz_lcase, qz_trim, qz_ltrim, qz_rtrim,
// qz_val and qz_format give what mid, left, right, len, ucase, lcase, trim, ltrim, rtrim, val and
// format give on SQLite (dialect.cpp), for text, citext, smallint, integer, bigint and double
// precision arguments, untyped literals and NULL.
#pragma once

#include <QString>

namespace qz {

// One script of CREATE OR REPLACE FUNCTION statements (it can run again on a database that has
// them). Needs PostgreSQL 15 built with ICU (ucase and lcase use the "und-x-icu" collation).
QString serverFunctionsScript();

} // namespace qz
