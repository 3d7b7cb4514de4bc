// Fixed-point currency: a 64-bit count of ten-thousandths, as the host's currency type.
// Arithmetic is exact for sums and products of amounts within +-922,337,203,685,477.5807;
// conversions from double round half away from zero to four decimals on the decimal digits
// of the double (0.00005 is 0.0001, 2.00015 is 2.0002). A result outside the range throws
// DbError(kOverflow, "Desbordamiento") and a division by zero DbError(kDivisionByZero, ...), as the
// host raises its run-time errors 6 and 11.
#pragma once

#include <QString>

#include <compare>
#include <cstdint>

namespace qz {

class Currency final {
public:
    static constexpr std::int64_t kScale = 10000;
    static constexpr int kDivisionByZero = 11; // the host's run-time error number

    constexpr Currency() = default;
    static constexpr Currency fromRaw(std::int64_t raw)
    {
        Currency c;
        c.raw_ = raw;
        return c;
    }
    // Throws on a value that is not finite or out of range.
    static Currency fromDouble(double value);
    // Throws when units x 10000 is out of range.
    static Currency fromInt(std::int64_t units);
    // Reads a text by Val ("12.5" is 12.5000, "1,234" is 1, "abc" is 0); throws when the
    // number read is out of range.
    static Currency fromText(const QString &text);

    constexpr std::int64_t raw() const { return raw_; }
    double toDouble() const { return static_cast<double>(raw_) / kScale; }
    // Plain decimal text: no separators, trailing zero decimals dropped ("12", "12.5", "-0.25").
    QString toText() const;

    // All four throw on overflow.
    Currency operator+(Currency o) const;
    Currency operator-(Currency o) const;
    Currency operator-() const;
    Currency operator*(Currency o) const; // rounded half away from zero to four decimals
    Currency operator/(Currency o) const; // rounded half away from zero to four decimals
    Currency &operator+=(Currency o) { return *this = *this + o; }
    Currency &operator-=(Currency o) { return *this = *this - o; }
    auto operator<=>(const Currency &) const = default;

private:
    std::int64_t raw_ = 0;
};

} // namespace qz
