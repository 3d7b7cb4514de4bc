// The record control code that every row the module writes carries in its last column
// (cNumero), the modulus-11 check digit, and the verification of an order number that the
// administration gives for a sent declaration.
//
// The code is computed from the text form of each column value, which depends on the
// column's declared type, so the row must carry its table's columns (Record does).
#pragma once

#include "core/data/record.h"
#include "core/data/value.h"

#include <QString>

namespace qz {

// Text form of a column value, by the column's declared type ("Byte", "text(15)", "double",
// "DATETIME", ...), which decides how the value is read:
// - number types (byte, integer, long, single, double, currency, ...): the number in plain
//   decimal text: "." as decimal point, no thousands separators, a leading "-", no exponent,
//   no zero before the point of a value between -1 and 1 (".5", "-.25"); a double is written
//   with at most 15 significant digits, trailing zeros dropped (0.1 + 0.2 gives ".3"). A text
//   the engine converts on storing (" 12 ", "1e3") counts as that number.
// - date types: "yyyymmdd" (a text value as the ISO date it holds).
// - text types: the text without spaces at either end. A number in a text column counts as
//   the text that the column holds once stored (the engine writes 5.0 as "5.0").
// - yes/no and binary types, Null, and a non-finite double: empty text.
// A value that the declared type cannot read (a word in a number column, a text that is no
// date in a date column) and any value of a column without a known type is taken by its own
// kind: numbers as above, dates as "yyyymmdd", texts trimmed.
QString columnTextForm(const Value &v, const QString &declaredType);

// The six-digit record control code of a row whose first keyColumns columns are its key and
// whose last column is the code itself:
// - key sum: the sum of the key columns' text forms that read as numbers (blanks, a sign,
//   "," thousands separators, one point and an exponent are accepted, see readNumberText;
//   hexadecimal is not), others add 0;
// - weighted sum: over the columns between the key and the last one, position (from 1) times
//   the Windows-1252 code of each character of the text form; a character the code page
//   cannot hold counts as "?" (63), and each UTF-16 unit is one position;
// - each sum rounded half away from zero; the code is the last three digits of the key sum's
//   absolute value (the host's 20-digit text of a negative sum carries its minus sign in
//   front, so the last digits are those of the absolute value) followed by those of the
//   weighted sum. Beyond 15 significant digits a sum is written with zeros, as the host does.
// Throws DbError(dberr::kOverflow) when a position or a position times a code exceeds 32767
// (the host computes them in 16-bit arithmetic), or when the key sum is not finite.
QString recordControlCode(const Record &row, int keyColumns);

// Modulus-11 check digit. Replaces s by s without spaces at either end, cut to its first 17
// characters; returns that text followed by its check digit, or empty text when it is empty.
// Digits are weighted 2, 3, 4, 5, 6, 7, 2, ... from the right; a character that is not a
// digit counts 0; a result of 11 is written 1 and 10 is written 0.
QString checkDigit(QString &s);

// True when the verification code the administration gave with an order number matches the
// one computed from the sending's control number and the order number: the ninth character
// of the control number's check-digit result, then the check digit of control number, order
// number and that character together (only their first 17 characters count). Spaces around
// the order number and the code do not count. False when both numbers are empty.
bool verifyOrderNumber(const QString &control, const QString &order, const QString &code);

} // namespace qz
