// Reading numbers out of texts as the host runtime does (Val and the reading before Format).
#include "core/data/numbertext.h"

#include <QLocale>

#include <cmath>

namespace qz {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Whole number in a base from the digits of text starting at i; stops at the first other
// character. Blanks are skipped.
double readRadix(const QString &text, int i, int base)
{
    double result = 0;
    for (; i < text.size(); ++i) {
        QChar c = text.at(i);
        if (isBlank(c)) {
            continue;
        }
        int d = -1;
        if (isDigit(c)) {
            d = c.unicode() - u'0';
        } else if (base == 16 && c.toUpper() >= u'A' && c.toUpper() <= u'F') {
            d = c.toUpper().unicode() - u'A' + 10;
        }
        if (d < 0 || d >= base) {
            break;
        }
        result = result * base + d;
    }
    return result;
}

} // namespace

double val(const QString &text)
{
    int i = 0;
    const int n = static_cast<int>(text.size());
    while (i < n && isBlank(text.at(i))) {
        ++i;
    }
    if (i + 1 < n && text.at(i) == u'&') {
        QChar kind = text.at(i + 1).toUpper();
        if (kind == u'H') {
            return readRadix(text, i + 2, 16);
        }
        if (kind == u'O') {
            return readRadix(text, i + 2, 8);
        }
        if (isDigit(kind)) {
            return readRadix(text, i + 1, 8);
        }
        return 0;
    }
    // Collect the accepted characters of the number without blanks, then convert.
    QString number;
    bool sign = true, point = false, exponent = false, digits = false, expSign = false;
    for (; i < n; ++i) {
        QChar c = text.at(i);
        if (isBlank(c)) {
            continue;
        }
        if ((c == u'-' || c == u'+') && sign) {
            number += c;
            sign = false;
            continue;
        }
        if ((c == u'-' || c == u'+') && expSign) {
            number += c;
            expSign = false;
            continue;
        }
        sign = false;
        expSign = false;
        if (isDigit(c)) {
            number += c;
            digits = true;
        } else if (c == u'.' && !point && !exponent) {
            number += c;
            point = true;
        } else if ((c == u'e' || c == u'E' || c == u'd' || c == u'D') && digits && !exponent) {
            number += u'e';
            exponent = true;
            expSign = true;
        } else {
            break;
        }
    }
    if (!digits) {
        return 0;
    }
    if (number.endsWith(u'e') || number.endsWith(u'-') || number.endsWith(u'+')) {
        while (!number.isEmpty() && !isDigit(number.back())) {
            number.chop(1);
        }
    }
    bool ok = false;
    const double v = number.toDouble(&ok);
    // Beyond the range of a double Qt gives an infinity of the number's sign (and ok false):
    // kept, so that "1e400" is too big rather than 0. An underflow reads 0.
    if (std::isinf(v)) {
        return v;
    }
    return ok ? v : 0;
}

namespace {

// Whole text of "&H" or "&O" digits (no blanks; they are already dropped); nullopt for any
// other character or no digit at all.
std::optional<double> readRadixText(const QString &digits, int base)
{
    if (digits.isEmpty()) {
        return std::nullopt;
    }
    double result = 0;
    for (QChar c : digits) {
        int d = -1;
        if (isDigit(c)) {
            d = c.unicode() - u'0';
        } else if (base == 16 && c.toUpper() >= u'A' && c.toUpper() <= u'F') {
            d = c.toUpper().unicode() - u'A' + 10;
        }
        if (d < 0 || d >= base) {
            return std::nullopt;
        }
        result = result * base + d;
    }
    return result;
}

} // namespace

std::optional<double> readNumberText(const QString &text)
{
    QString compact;
    for (QChar c : text) {
        if (!isBlank(c)) {
            compact += c;
        }
    }
    if (compact.isEmpty()) {
        return std::nullopt;
    }
    if (compact.size() > 1 && compact.at(0) == u'&') {
        QChar kind = compact.at(1).toUpper();
        if (kind == u'H' || kind == u'O') {
            return readRadixText(compact.mid(2), kind == u'H' ? 16 : 8);
        }
        return std::nullopt;
    }
    bool negative = false;
    bool parentheses = false;
    if (compact.startsWith(u"-(")) {
        negative = true;
        compact.remove(0, 1);
    }
    if (compact.startsWith(u'(') && compact.endsWith(u')') && compact.size() > 2) {
        negative = true;
        parentheses = true;
        compact = compact.mid(1, compact.size() - 2);
    }
    if (!parentheses && (compact.startsWith(u'-') || compact.startsWith(u'+'))) {
        negative = compact.startsWith(u'-');
        compact.remove(0, 1);
    } else if (!parentheses && compact.size() > 1 &&
               (compact.endsWith(u'-') || compact.endsWith(u'+'))) {
        negative = compact.endsWith(u'-');
        compact.chop(1);
    }
    // Digits with "," thousands separators (only before the decimal point), one point, and an
    // optional exponent. A sign left here (inside parentheses, or on both ends) is refused.
    QString plain;
    bool point = false, digits = false, exponent = false;
    for (int i = 0; i < compact.size(); ++i) {
        QChar c = compact.at(i);
        if (isDigit(c)) {
            plain += c;
            digits = true;
        } else if (c == u',' && !point && !exponent && digits) {
            continue;
        } else if (c == u'.' && !point && !exponent) {
            plain += c;
            point = true;
        } else if ((c == u'e' || c == u'E') && digits && !exponent && i + 1 < compact.size()) {
            plain += u'e';
            exponent = true;
            if (compact.at(i + 1) == u'-' || compact.at(i + 1) == u'+') {
                plain += compact.at(++i);
            }
        } else {
            return std::nullopt;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    bool ok = false;
    double v = plain.toDouble(&ok);
    if (!ok || !std::isfinite(v)) {
        return std::nullopt;
    }
    return negative ? -v : v;
}

QString DecimalDigits::wholeDigits() const
{
    if (point <= 0) {
        return {};
    }
    QString whole = digits.left(point);
    if (whole.size() < point) {
        whole += QString(point - whole.size(), u'0');
    }
    return whole;
}

QString DecimalDigits::fractionDigits(int count) const
{
    QString fraction;
    fraction.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int at = point + i;
        fraction += at >= 0 && at < digits.size() ? digits.at(at) : QChar(u'0');
    }
    return fraction;
}

namespace {

void trimZeros(DecimalDigits &number)
{
    while (number.digits.endsWith(u'0')) {
        number.digits.chop(1);
    }
    qsizetype leading = 0;
    while (leading < number.digits.size() && number.digits.at(leading) == u'0') {
        ++leading;
    }
    number.digits.remove(0, leading);
    number.point -= static_cast<int>(leading);
    if (number.digits.isEmpty()) {
        number.point = 0;
    }
}

} // namespace

DecimalDigits decimalDigits(double value)
{
    DecimalDigits number;
    if (!std::isfinite(value) || value == 0) {
        return number;
    }
    number.negative = value < 0;
    // "2.675e+00": the mantissa's digits and the exponent of its first digit.
    const QString text = QString::number(std::fabs(value), 'e', QLocale::FloatingPointShortest);
    const qsizetype e = text.indexOf(u'e');
    number.digits = text.left(e);
    number.digits.remove(u'.');
    number.point = text.mid(e + 1).toInt() + 1;
    trimZeros(number);
    return number;
}

DecimalDigits decimalDigits(std::int64_t raw, int scale)
{
    DecimalDigits number;
    number.negative = raw < 0;
    // Through the unsigned magnitude so that the lowest value keeps its digits.
    const std::uint64_t magnitude =
        raw < 0 ? ~static_cast<std::uint64_t>(raw) + 1 : static_cast<std::uint64_t>(raw);
    number.digits = QString::number(magnitude);
    number.point = static_cast<int>(number.digits.size()) - scale;
    trimZeros(number);
    return number;
}

void roundDecimals(DecimalDigits &number, int decimals)
{
    const int keep = number.point + decimals;
    if (keep >= number.digits.size()) {
        return;
    }
    if (keep < 0) {
        // The first digit lies at least two places below the last kept one: below one half.
        number.digits.clear();
        number.point = 0;
        return;
    }
    const bool up = number.digits.at(keep) >= u'5';
    number.digits.truncate(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && number.digits.at(i) == u'9') {
            number.digits[i] = u'0';
            --i;
        }
        if (i < 0) {
            number.digits.prepend(u'1');
            ++number.point;
        } else {
            number.digits[i] = QChar(number.digits.at(i).unicode() + 1);
        }
    }
    trimZeros(number);
}

} // namespace qz
