// Reading numbers out of texts as the host runtime does (Val and the reading before Format).
#include "data/numbertext.h"

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
    double v = number.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

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
    bool negative = false;
    if (compact.startsWith(u'(') && compact.endsWith(u')') && compact.size() > 2) {
        negative = true;
        compact = compact.mid(1, compact.size() - 2);
    }
    if (compact.startsWith(u'-') || compact.startsWith(u'+')) {
        negative = negative != compact.startsWith(u'-');
        compact.remove(0, 1);
    } else if (compact.size() > 1 && (compact.endsWith(u'-') || compact.endsWith(u'+'))) {
        negative = negative != compact.endsWith(u'-');
        compact.chop(1);
    }
    // Digits with "," thousands separators (only before the decimal point), one point, and an
    // optional exponent.
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

} // namespace qz
