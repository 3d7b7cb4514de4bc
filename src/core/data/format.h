// Display formats of the host runtime: Format(value, pattern) and Val(text).
//
// Numeric patterns: "0" a digit always shown, "#" a digit shown when significant, "," anywhere
// in the whole part groups thousands by three, "." the decimal point, "%" shows the value
// times 100, any other character copied ("\x" and "..." quote literals). Up to three sections
// separated by ";": the first for positive values (and zero when there is no third section),
// the second for negative values, shown without their minus sign, the third for zero; an
// empty section falls back to the first. With one section a negative value gets a leading
// "-". Values are rounded half away from zero on their decimal digits (2.675 with "0.00" is
// "2.68") to the decimals of the section their sign selects; a result that rounds to zero is
// shown as zero, without a minus sign ("0" for -0.4 with "0"). Digits beyond the pattern's
// placeholders are all shown; a value below 1 with only "#" before the point shows no whole
// digit (0 with "#,###" is empty, 0.36 with "#.00" is ".36"). No scientific notation and no
// scaling by a trailing ",".
//
// Date patterns (case-insensitive): d, dd, ddd, dddd (Spanish day names), m, mm, mmm, mmmm
// (Spanish month names), y (day of the year), yy, yyyy, h, hh, n, nn, s, ss; "m"/"mm" right
// after an hour (separators between them allowed) or right before seconds means minutes.
// Other characters are copied.
//
// Text given to formatText is first read the way the host reads a number in text
// (readNumberText): "1,234" is 1234, "(1,234)" is -1234, blanks are skipped; empty text gives
// empty text and text that is not a number comes back unchanged.
#pragma once

#include "core/data/currency.h"
#include "core/data/numbertext.h"
#include "core/data/value.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace qz {

// Formats a number with a numeric pattern. An empty pattern gives the plain number with up to
// 15 significant digits; a date pattern formats the number as a day serial (day 0 is
// 1899-12-30, the fraction is the time of day), and as the plain number when out of the date
// range. A value that is not finite gives empty text.
QString formatNumber(double value, const QString &pattern);

// Formats an exact whole number (no detour through double: every digit of a 64-bit value
// counts).
QString formatNumber(std::int64_t value, const QString &pattern);

// Formats a currency amount exactly on its four decimals.
QString formatCurrency(Currency value, const QString &pattern);

// Formats a date with a date pattern. An invalid date gives empty text; an empty pattern gives
// "dd/mm/yyyy" followed by " hh:mm:ss" when the time is not midnight. A numeric pattern
// formats the date's day serial.
QString formatDate(const QDateTime &value, const QString &pattern);

// Formats a text the way the host runtime does. Empty text stays empty; an empty pattern
// returns the text as it is. With a date pattern the text is read as a date ("yyyy-mm-dd",
// "yyyy-mm-dd hh:mm:ss", "yyyy-mm-ddThh:mm:ss", "dd/mm/yyyy", "dd/mm/yyyy hh:mm:ss",
// "hh:mm:ss") or as a number taken as a day serial; with a numeric pattern it is read by
// readNumberText. A text that cannot be read that way comes back unchanged.
QString formatText(const QString &text, const QString &pattern);

// Formats any database value: Null gives empty text, numbers and dates by their pattern,
// text by formatText.
QString formatValue(const Value &value, const QString &pattern);

// True when the pattern is a date pattern: it holds one of the date letters d, m, y, h, n, s
// and no digit placeholder 0 or # (quoted literals do not count).
bool isDatePattern(const QString &pattern);

// The date a day serial stands for; nullopt outside the years 100 to 9999.
std::optional<QDateTime> dateFromSerial(double serial);

// The day serial of a date (whole days since 1899-12-30 plus the time as a fraction; before
// that day the fraction counts forward from the negative whole day, as the host keeps it).
double serialFromDate(const QDateTime &value);

} // namespace qz
