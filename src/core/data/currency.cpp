// Fixed-point currency arithmetic on 64-bit ten-thousandths, with 128-bit intermediates for
// products and quotients so that nothing is lost before the final rounding.
#include "core/data/currency.h"

#include "core/data/dberror.h"
#include "core/data/numbertext.h"

#include <cmath>
#include <limits>

namespace qz {

namespace {

__extension__ typedef __int128 Wide;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

[[noreturn]] void overflow()
{
    throw DbError(dberr::kOverflow, QStringLiteral("Desbordamiento"));
}

std::int64_t narrow(Wide v)
{
    if (v > kMax || v < kMin) {
        overflow();
    }
    return static_cast<std::int64_t>(v);
}

// numerator / denominator rounded half away from zero; denominator not zero.
Wide divideRounded(Wide numerator, Wide denominator)
{
    const bool negative = (numerator < 0) != (denominator < 0);
    const Wide n = numerator < 0 ? -numerator : numerator;
    const Wide d = denominator < 0 ? -denominator : denominator;
    Wide q = n / d;
    if ((n % d) * 2 >= d) {
        ++q;
    }
    return negative ? -q : q;
}

} // namespace

Currency Currency::fromDouble(double value)
{
    if (!std::isfinite(value)) {
        overflow();
    }
    DecimalDigits number = decimalDigits(value);
    roundDecimals(number, 4);
    // The count of ten-thousandths has point + 4 digits; more than 19 cannot fit.
    const int count = number.point + 4;
    if (number.isZero() || count <= 0) {
        return {};
    }
    if (count > 19) {
        overflow();
    }
    Wide raw = 0;
    for (int i = 0; i < count; ++i) {
        const int digit = i < number.digits.size() ? number.digits.at(i).unicode() - u'0' : 0;
        raw = raw * 10 + digit;
    }
    return fromRaw(narrow(number.negative ? -raw : raw));
}

Currency Currency::fromInt(std::int64_t units)
{
    return fromRaw(narrow(Wide{units} * kScale));
}

Currency Currency::fromText(const QString &text)
{
    return fromDouble(val(text));
}

QString Currency::toText() const
{
    const DecimalDigits number = decimalDigits(raw_, 4);
    if (number.isZero()) {
        return QStringLiteral("0");
    }
    QString whole = number.wholeDigits();
    if (whole.isEmpty()) {
        whole = QStringLiteral("0");
    }
    QString fraction = number.fractionDigits(4);
    while (fraction.endsWith(u'0')) {
        fraction.chop(1);
    }
    QString text = number.negative ? QStringLiteral("-") + whole : whole;
    if (!fraction.isEmpty()) {
        text += u'.' + fraction;
    }
    return text;
}

Currency Currency::operator+(Currency o) const
{
    return fromRaw(narrow(Wide{raw_} + o.raw_));
}

Currency Currency::operator-(Currency o) const
{
    return fromRaw(narrow(Wide{raw_} - o.raw_));
}

Currency Currency::operator-() const
{
    return fromRaw(narrow(-Wide{raw_}));
}

Currency Currency::operator*(Currency o) const
{
    return fromRaw(narrow(divideRounded(Wide{raw_} * o.raw_, kScale)));
}

Currency Currency::operator/(Currency o) const
{
    if (o.raw_ == 0) {
        throw DbError(kDivisionByZero, QStringLiteral("División por cero"));
    }
    return fromRaw(narrow(divideRounded(Wide{raw_} * kScale, o.raw_)));
}

} // namespace qz
