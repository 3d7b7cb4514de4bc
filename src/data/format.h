// Display formats of the host runtime: Format(value, pattern) and Val(text).
//
// Numeric patterns: "0" a digit always shown, "#" a digit shown when significant, "," groups
// thousands, "." the decimal point, any other character copied; a second section after ";"
// applies to negative values (shown without their minus sign). Values are rounded half away
// from zero to the pattern's decimals. Date patterns use dd, mm, yyyy, hh, mm (minutes after
// hh), ss. Text given to formatText is first read the way the host reads a number in text:
// "1,234" is 1234, "(1,234)" is -1234, blanks are skipped; empty text gives empty text and text
// that is not a number comes back unchanged.
#pragma once

#include "data/numbertext.h"
#include "data/value.h"

#include <QString>

#include <optional>

namespace qz {

// Formats a number with a numeric pattern.
QString formatNumber(double value, const QString &pattern);

// Formats a date with a date pattern.
QString formatDate(const QDateTime &value, const QString &pattern);

// Formats a text the way the host runtime does: reads it as a number when it is one (or as a
// date when the pattern is a date pattern and the text an ISO date), else returns it unchanged.
QString formatText(const QString &text, const QString &pattern);

// Formats any database value: Null gives empty text, numbers and dates by their pattern,
// text by formatText.
QString formatValue(const Value &value, const QString &pattern);

// True when the pattern is a date pattern (contains dd, yyyy, hh or ss).
bool isDatePattern(const QString &pattern);

} // namespace qz
