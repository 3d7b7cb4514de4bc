// How the host runtime reads numbers out of texts, and the decimal digits of a number that
// formatting and the currency type round on (so 2.675 rounds as the decimal 2.675, not as
// the binary double just below it).
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace qz {

// Val: the leading number of a text. Blanks, tabs and line feeds are skipped anywhere in the
// number; an optional sign, digits, one decimal point and an optional exponent (E or D) are
// read; "&H" and "&O" read hexadecimal and octal whole numbers. 0 when no number starts the
// text. Val never looks at thousands separators: Val("1,234") is 1. A number beyond the
// range of a double ("1e400", four hundred nines) reads as an infinity of its sign, never as
// 0: Currency::fromText refuses it as an overflow, as it does "1e308".
double val(const QString &text);

// The reading of a text as a number before it is formatted: blanks skipped, "," as a
// thousands separator in the whole part, a leading "-" or "+", a number in parentheses is
// negative, a trailing "-" is a minus sign, "&H"/"&O" hexadecimal and octal whole numbers.
// A minus before parentheses ("-(1,500)", what a one-section pattern with literal
// parentheses gives for a negative value) still reads as negative, so such a text reads back
// as the value it shows. nullopt when the whole text is not a number (empty text included),
// for a sign inside parentheses and for a value out of double range.
std::optional<double> readNumberText(const QString &text);

// A decimal number as its significant digits: value = 0.d1d2d3... x 10^point, negative when
// the flag says so. digits has no leading or trailing zeros; zero has empty digits.
struct DecimalDigits {
    QString digits;
    int point = 0;
    bool negative = false;

    bool isZero() const { return digits.isEmpty(); }
    // The digits before the decimal point, empty when the value is below 1.
    QString wholeDigits() const;
    // Exactly count digits after the decimal point (truncated or padded with zeros).
    QString fractionDigits(int count) const;
};

// The shortest decimal digits that read back as the same double (2.675 gives "2675", point 1).
// A value that is not finite gives zero; callers check finiteness first.
DecimalDigits decimalDigits(double value);

// The digits of raw / 10^scale, exact (raw 12345 with scale 4 is 1.2345).
DecimalDigits decimalDigits(std::int64_t raw, int scale);

// Rounds to the given number of decimals, halves away from zero (the sign is kept, also when
// the result is zero; callers decide how to show a negative zero).
void roundDecimals(DecimalDigits &number, int decimals);

} // namespace qz
