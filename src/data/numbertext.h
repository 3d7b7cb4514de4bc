// How the host runtime reads numbers out of texts.
#pragma once

#include <QString>

#include <optional>

namespace qz {

// Val: the leading number of a text. Blanks, tabs and line feeds are skipped anywhere in the
// number; an optional sign, digits, one decimal point and an optional exponent (E or D) are
// read; "&H" and "&O" read hexadecimal and octal whole numbers. 0 when no number starts the
// text. Val never looks at thousands separators: Val("1,234") is 1.
double val(const QString &text);

// The reading of a text as a number before it is formatted: blanks skipped, "," as a
// thousands separator, a leading "-" or "+", a number in parentheses is negative, a trailing
// "-" is a minus sign. nullopt when the whole text is not a number (empty text included).
std::optional<double> readNumberText(const QString &text);

} // namespace qz
