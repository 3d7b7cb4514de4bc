// The one quoting helper: every value placed between single quotes in a statement passes
// through sqlText, which doubles its quotes, so a name such as "D'Acosta" is stored and found
// as it is and can never end the quoted text early. Table names that come from a table pass
// requirePlainTableName.
#pragma once

#include <QString>

namespace qz {

// The value with each ' doubled, for use between single quotes: "WHERE x='" + sqlText(v) + "'".
QString sqlText(const QString &value);

// The value as a complete quoted literal: 'value' with quotes doubled.
QString sqlQuoted(const QString &value);

// Table names read from envio_t stand unquoted in statements: only plain names (a letter or
// "_", then letters, digits and "_") pass. Throws DbError (syntax) naming the table otherwise.
void requirePlainTableName(const QString &table);

} // namespace qz
