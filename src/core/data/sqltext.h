// The one quoting helper: every value placed between single quotes in a statement passes
// through sqlText, which doubles its quotes, so a name such as "D'Acosta" is stored and found
// as it is and can never end the quoted text early.
#pragma once

#include <QString>

namespace qz {

// The value with each ' doubled, for use between single quotes: "WHERE x='" + sqlText(v) + "'".
QString sqlText(const QString &value);

// The value as a complete quoted literal: 'value' with quotes doubled.
QString sqlQuoted(const QString &value);

} // namespace qz
