// Fixed-point currency: conversions, text, arithmetic rounding and overflow.
#include "core/data/currency.h"
#include "core/data/dberror.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>

namespace qz {
namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

template <typename Row> std::string rowName(const testing::TestParamInfo<Row> &info)
{
    return info.param.name;
}

int errorNumber(const std::function<void()> &f)
{
    try {
        f();
    } catch (const DbError &e) {
        return e.number();
    }
    return 0;
}

struct DoubleRow {
    std::string name;
    double value;
    std::int64_t raw;
};

class CurrencyFromDoubleTest : public testing::TestWithParam<DoubleRow> {};

TEST_P(CurrencyFromDoubleTest, RoundsOnDecimalDigits)
{
    EXPECT_EQ(Currency::fromDouble(GetParam().value).raw(), GetParam().raw);
}

INSTANTIATE_TEST_SUITE_P(
    Currency, CurrencyFromDoubleTest,
    testing::Values(DoubleRow{"zero", 0, 0}, DoubleRow{"whole", 12, 120000},
                    DoubleRow{"half_of_last_place", 0.00005, 1},
                    DoubleRow{"negative_half_of_last_place", -0.00005, -1},
                    DoubleRow{"below_half_of_last_place", 0.00004, 0},
                    DoubleRow{"binary_below_half", 2.00015, 20002},
                    DoubleRow{"five_places", 1.23456, 12346}, DoubleRow{"carry", 9.99995, 100000},
                    DoubleRow{"rate", 0.006, 60}, DoubleRow{"ratio", 100.0 / 9, 111111},
                    DoubleRow{"tiny", 1e-30, 0},
                    DoubleRow{"large_exact", 922337203685477.0, 9223372036854770000},
                    DoubleRow{"large_negative", -922337203685477.0, -9223372036854770000}),
    rowName<DoubleRow>);

TEST(CurrencyConversion, OutOfRangeThrowsOverflow)
{
    EXPECT_EQ(errorNumber([] { Currency::fromDouble(1e15); }), 6);
    EXPECT_EQ(errorNumber([] { Currency::fromDouble(-1e15); }), 6);
    EXPECT_EQ(errorNumber([] { Currency::fromDouble(std::nan("")); }), 6);
    EXPECT_EQ(errorNumber([] { Currency::fromDouble(INFINITY); }), 6);
    EXPECT_EQ(errorNumber([] { Currency::fromInt(922337203685478); }), 6);
    EXPECT_EQ(Currency::fromInt(922337203685477).raw(), 9223372036854770000);
    EXPECT_EQ(errorNumber([] { Currency::fromText("1e20"); }), 6);
}

TEST(CurrencyConversion, TextIsReadByVal)
{
    EXPECT_EQ(Currency::fromText("12.5").raw(), 125000);
    EXPECT_EQ(Currency::fromText("  -0.25").raw(), -2500);
    EXPECT_EQ(Currency::fromText("1,234").raw(), 10000);
    EXPECT_EQ(Currency::fromText("abc").raw(), 0);
    EXPECT_EQ(Currency::fromText("").raw(), 0);
    EXPECT_EQ(Currency::fromText("0.00005").raw(), 1);
}

// Stored texts as the summary and the checks convert them: a number beyond the currency's
// range is an overflow, however far beyond (also beyond a double), never a 0.
struct TextRow {
    std::string name;
    std::string text;
    std::optional<std::int64_t> raw; // nullopt: overflow
};

class CurrencyFromTextTest : public testing::TestWithParam<TextRow> {};

TEST_P(CurrencyFromTextTest, ReadsOrOverflows)
{
    const QString text = QString::fromStdString(GetParam().text);
    if (GetParam().raw) {
        EXPECT_EQ(Currency::fromText(text).raw(), *GetParam().raw);
    } else {
        EXPECT_EQ(errorNumber([&] { Currency::fromText(text); }), dberr::kOverflow);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Currency, CurrencyFromTextTest,
    testing::Values(
        TextRow{"largest_whole", "922337203685477", 9223372036854770000},
        TextRow{"largest_negative", "-922337203685477", -9223372036854770000},
        TextRow{"one_beyond", "922337203685478", std::nullopt},
        TextRow{"e20", "1e20", std::nullopt}, TextRow{"e308", "1e308", std::nullopt},
        TextRow{"e400", "1e400", std::nullopt}, TextRow{"negative_e400", "-1e400", std::nullopt},
        TextRow{"e400_with_text_after", "1e400 soles", std::nullopt},
        TextRow{"huge_exponent", "1e99999999999", std::nullopt},
        TextRow{"four_hundred_nines", std::string(400, '9'), std::nullopt},
        TextRow{"four_hundred_nines_negative", "-" + std::string(400, '9'), std::nullopt},
        TextRow{"hexadecimal_beyond_double", "&H" + std::string(300, 'F'), std::nullopt},
        TextRow{"below_range_is_zero", "1e-400", 0},
        TextRow{"many_zeros_then_one", "0." + std::string(400, '0') + "1", 0}),
    rowName<TextRow>);

TEST(CurrencyConversion, PlainText)
{
    EXPECT_EQ(Currency().toText(), "0");
    EXPECT_EQ(Currency::fromRaw(125000).toText(), "12.5");
    EXPECT_EQ(Currency::fromRaw(-2500).toText(), "-0.25");
    EXPECT_EQ(Currency::fromRaw(10000).toText(), "1");
    EXPECT_EQ(Currency::fromRaw(1).toText(), "0.0001");
    EXPECT_EQ(Currency::fromRaw(123456789).toText(), "12345.6789");
    EXPECT_EQ(Currency::fromRaw(kMax).toText(), "922337203685477.5807");
    EXPECT_EQ(Currency::fromRaw(kMin).toText(), "-922337203685477.5808");
    EXPECT_DOUBLE_EQ(Currency::fromRaw(-2500).toDouble(), -0.25);
}

struct ArithmeticRow {
    std::string name;
    std::int64_t a, b; // raw
    std::int64_t product, quotient;
};

class CurrencyArithmeticTest : public testing::TestWithParam<ArithmeticRow> {};

TEST_P(CurrencyArithmeticTest, RoundsHalfAwayFromZero)
{
    const ArithmeticRow &row = GetParam();
    const Currency a = Currency::fromRaw(row.a), b = Currency::fromRaw(row.b);
    EXPECT_EQ((a * b).raw(), row.product);
    EXPECT_EQ((a / b).raw(), row.quotient);
}

INSTANTIATE_TEST_SUITE_P(Currency, CurrencyArithmeticTest,
                         testing::Values(
                             // 1.5 x 2 = 3; 1.5 / 2 = 0.75
                             ArithmeticRow{"plain", 15000, 20000, 30000, 7500},
                             // 0.0001 x 0.5 = 0.00005 -> 0.0001; 0.0001 / 0.5 = 0.0002
                             ArithmeticRow{"half_of_last_place", 1, 5000, 1, 2},
                             ArithmeticRow{"negative_half_of_last_place", -1, 5000, -1, -2},
                             // 0.0001 x 0.4999 -> 0; 0.0001 / 0.4999 = 0.00020004 -> 0.0002
                             ArithmeticRow{"below_half", 1, 4999, 0, 2},
                             // 1 / 3 = 0.3333; 2 / 3 = 0.6667
                             ArithmeticRow{"one_third", 10000, 30000, 30000, 3333},
                             ArithmeticRow{"two_thirds", 20000, 30000, 60000, 6667},
                             ArithmeticRow{"two_thirds_negative", -20000, 30000, -60000, -6667},
                             ArithmeticRow{"both_negative", -20000, -30000, 60000, 6667},
                             // tax: 5,000,000 x 0.005 = 25,000
                             ArithmeticRow{"tax", 50000000000, 50, 250000000, 10000000000000},
                             // 100,000,000 x 1,000,000: the intermediate product exceeds 64 bits
                             ArithmeticRow{"wide_intermediate", 1000000000000, 10000000000,
                                           1000000000000000000, 1000000}),
                         rowName<ArithmeticRow>);

TEST(CurrencyArithmetic, OverflowAndDivisionByZeroThrow)
{
    const Currency max = Currency::fromRaw(kMax), min = Currency::fromRaw(kMin);
    const Currency one = Currency::fromInt(1), tiny = Currency::fromRaw(1);
    EXPECT_EQ(errorNumber([&] { (void)(max + tiny); }), 6);
    EXPECT_EQ(errorNumber([&] { (void)(min - tiny); }), 6);
    EXPECT_EQ(errorNumber([&] { (void)(-min); }), 6);
    EXPECT_EQ(errorNumber([&] { (void)(max * Currency::fromInt(2)); }), 6);
    EXPECT_EQ(errorNumber([&] { (void)(max / Currency::fromRaw(5000)); }), 6);
    EXPECT_EQ(errorNumber([&] { (void)(one / Currency()); }), Currency::kDivisionByZero);
    EXPECT_EQ((max * one).raw(), kMax);
    EXPECT_EQ((min / one).raw(), kMin);
    EXPECT_EQ((-max).raw(), -kMax);
    Currency sum;
    sum += Currency::fromText("0.1");
    sum += Currency::fromText("0.2");
    EXPECT_EQ(sum, Currency::fromText("0.3"));
    sum -= one;
    EXPECT_EQ(sum.toText(), "-0.7");
    Currency acc = max;
    EXPECT_EQ(errorNumber([&] { acc += tiny; }), 6);
    EXPECT_EQ(acc, max);
}

} // namespace
} // namespace qz
