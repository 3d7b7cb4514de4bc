// Fixed-point currency: a 64-bit count of ten-thousandths, as the host's currency type.
// Arithmetic is exact for sums and products of amounts within +-922,337,203,685,477.5807;
// conversions from double round half away from zero to four decimals.
#pragma once

#include <QString>

#include <compare>
#include <cstdint>

namespace qz {

class Currency final {
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(std::int64_t raw)
    {
        Currency c;
        c.raw_ = raw;
        return c;
    }
    static Currency fromDouble(double value);
    static Currency fromInt(std::int64_t units) { return fromRaw(units * kScale); }
    // Reads a text by Val; "12.5" is 12.5000.
    static Currency fromText(const QString &text);

    constexpr std::int64_t raw() const { return raw_; }
    double toDouble() const { return static_cast<double>(raw_) / kScale; }
    // Plain decimal text: no separators, trailing zero decimals dropped ("12", "12.5", "-0.25").
    QString toText() const;

    Currency operator+(Currency o) const { return fromRaw(raw_ + o.raw_); }
    Currency operator-(Currency o) const { return fromRaw(raw_ - o.raw_); }
    Currency operator-() const { return fromRaw(-raw_); }
    Currency operator*(Currency o) const;  // rounded half away from zero to four decimals
    Currency operator/(Currency o) const;  // rounded half away from zero to four decimals
    Currency &operator+=(Currency o)
    {
        raw_ += o.raw_;
        return *this;
    }
    auto operator<=>(const Currency &) const = default;

private:
    std::int64_t raw_ = 0;
};

} // namespace qz
