// Display formats, the reading of number texts (Val and the reading before Format) and the
// clock: tables of named rows, bad inputs beside good ones.
#include "core/data/clock.h"
#include "core/data/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace qz {
namespace {

// GoogleTest row names allow only letters, digits and "_".
template <typename Row> std::string rowName(const testing::TestParamInfo<Row> &info)
{
    return info.param.name;
}

// ---- formatNumber ------------------------------------------------------------------------

struct NumberRow {
    std::string name;
    double value;
    const char *pattern;
    const char *expected;
};

class FormatNumberTest : public testing::TestWithParam<NumberRow> {};

TEST_P(FormatNumberTest, Formats)
{
    const NumberRow &row = GetParam();
    EXPECT_EQ(formatNumber(row.value, QString::fromUtf8(row.pattern)),
              QString::fromUtf8(row.expected))
        << row.value << " with " << row.pattern;
}

const char *const kAmount = "###,###,###,##0";
const char *const kSigned = "###,###,###,##0;(###,###,###,##0)";
const char *const kStored = "###########0";

INSTANTIATE_TEST_SUITE_P(
    Format, FormatNumberTest,
    testing::Values(
        NumberRow{"amount_grouped", 1234567, kAmount, "1,234,567"},
        NumberRow{"amount_zero", 0, kAmount, "0"},
        NumberRow{"amount_below_thousand", 999, kAmount, "999"},
        NumberRow{"amount_ratio_rounds", 100.0 / 9, kAmount, "11"},
        NumberRow{"amount_two_thirds_rounds_up", 200.0 / 3, kAmount, "67"},
        NumberRow{"amount_half_up", 2.5, kAmount, "3"},
        NumberRow{"amount_negative_half_away", -2.5, kAmount, "-3"},
        NumberRow{"amount_negative_one_section", -1234567, kAmount, "-1,234,567"},
        NumberRow{"amount_beyond_pattern", 1e15, kAmount, "1,000,000,000,000,000"},
        NumberRow{"amount_carry_adds_group", 999999.5, kAmount, "1,000,000"},
        NumberRow{"signed_negative_in_parentheses", -1234, kSigned, "(1,234)"},
        NumberRow{"signed_positive", 1234, kSigned, "1,234"},
        NumberRow{"signed_zero_uses_first", 0, kSigned, "0"},
        NumberRow{"signed_negative_rounding_to_zero", -0.4, kSigned, "0"},
        NumberRow{"signed_negative_rounds_away", -0.5, kSigned, "(1)"},
        NumberRow{"literal_parentheses_positive", 1500, "(###,###,###,##0)", "(1,500)"},
        NumberRow{"literal_parentheses_zero", 0, "(###,###,###,##0)", "(0)"},
        NumberRow{"literal_parentheses_negative", -1500, "(###,###,###,##0)", "-(1,500)"},
        NumberRow{"odd_comma_places_group_by_three", 1234567, "##,###,###,###0", "1,234,567"},
        NumberRow{"grouping_huge_pattern", 123, "#,###,###,##0", "123"},
        NumberRow{"stored_no_separators", 1234567, kStored, "1234567"},
        NumberRow{"stored_rounds", 1234.5, kStored, "1235"},
        NumberRow{"stored_negative", -1234.5, kStored, "-1235"},
        NumberRow{"stored_below_half", 0.49, kStored, "0"},
        NumberRow{"only_hash_zero_is_empty", 0, "###,###,###,###,###", ""},
        NumberRow{"only_hash_rounds_to_zero", 0.4, "###,###,###,###,###", ""},
        NumberRow{"only_hash_value", 1234, "###,###,###,###,###", "1,234"},
        NumberRow{"hash_zero_empty", 0, "#", ""}, NumberRow{"hash_digit", 3, "#", "3"},
        NumberRow{"hash_half_rounds_up", 0.5, "#", "1"},
        NumberRow{"hash8_number", 20123456, "########", "20123456"},
        NumberRow{"hash8_longer_number", 20123456789.0, "########", "20123456789"},
        NumberRow{"fraction_with_leading_zero", 0.36, "##0.00", "0.36"},
        NumberRow{"fraction_without_leading_zero", 0.36, "#.00", ".36"},
        NumberRow{"fraction_binary_half_0_125", 0.125, "0.00", "0.13"},
        NumberRow{"fraction_binary_half_2_675", 2.675, "0.00", "2.68"},
        NumberRow{"fraction_binary_half_1_005", 1.005, "0.00", "1.01"},
        NumberRow{"fraction_carry_into_whole", 9.995, "0.00", "10.00"},
        NumberRow{"fraction_negative_half", -0.125, "0.00", "-0.13"},
        NumberRow{"fraction_pads", 12, "##0.00", "12.00"},
        NumberRow{"fraction_ratio", 100.0 / 9, "##0.00", "11.11"},
        NumberRow{"fraction_four_decimals", 0.36, "##,###,###,##0.0000", "0.3600"},
        NumberRow{"fraction_four_decimals_grouped", 1234.56789, "##,###,###,##0.0000",
                  "1,234.5679"},
        NumberRow{"optional_then_required_decimal", 12.5, "##0.#0", "12.50"},
        NumberRow{"optional_then_required_whole", 12, "##0.#0", "12.00"},
        NumberRow{"optional_decimals_dropped", 12, "#.##", "12."},
        NumberRow{"optional_decimals_kept", 12.5, "0.##", "12.5"},
        NumberRow{"stored_two_decimals", 2.345, "###########0.#0", "2.35"},
        NumberRow{"stored_fixed_two_decimals", 2.5, "###########0.00", "2.50"},
        NumberRow{"percent_box_negative", -0.36, "##0.00;(##0.00)", "(0.36)"},
        NumberRow{"percent_box_positive", 0.36, "##0.00;(##0.00)", "0.36"},
        NumberRow{"tiny_rounds_to_zero", 1e-20, "0.00", "0.00"},
        NumberRow{"tiny_half_rounds_up", 0.0005, "0.000", "0.001"},
        NumberRow{"huge_all_digits", 1e20, "0", "100000000000000000000"},
        NumberRow{"negative_zero", -0.0, "0", "0"},
        NumberRow{"negative_rounding_to_zero_no_minus", -0.4, "0", "0"},
        NumberRow{"zone_code_pads", 5, "0#", "05"},
        NumberRow{"zone_code_two_digits", 12, "0#", "12"},
        NumberRow{"zone_code_zero", 0, "0#", "00"}, NumberRow{"two_digits", 7, "00", "07"},
        NumberRow{"error_code", 42, "0000", "0042"},
        NumberRow{"spool_sequence", 123, "000000", "000123"},
        NumberRow{"spool_file", 1, "00000000", "00000001"},
        NumberRow{"running_number", 1, "000", "001"},
        NumberRow{"zero_pattern_longer_number", 123456, "00", "123456"},
        NumberRow{"literal_inside_digits", 25122008, "##/##/####", "25/12/2008"},
        NumberRow{"grouping_with_decimals", 1234567.891, "#,##0.00", "1,234,567.89"},
        NumberRow{"third_section_zero", 0, "0;(0);cero", "cero"},
        NumberRow{"third_section_rounded_zero", -0.2, "0;(0);cero", "cero"},
        NumberRow{"empty_negative_section_uses_first", -5, "0;;z", "-5"},
        NumberRow{"empty_zero_section_uses_first", 0, "0.0;(0);", "0.0"},
        NumberRow{"percent_sign", 0.36, "0%", "36%"},
        NumberRow{"percent_with_decimal", 0.125, "0.0%", "12.5%"},
        NumberRow{"quoted_literal", 5, "0\" soles\"", "5 soles"},
        NumberRow{"escaped_literal", 5, "\\#0", "#5"},
        NumberRow{"quoted_semicolon_not_a_section", -5, "0\";\"", "-5;"},
        NumberRow{"no_whole_placeholder", 12.5, ".00", "12.50"},
        NumberRow{"empty_pattern_plain", 1234.5, "", "1234.5"},
        NumberRow{"empty_pattern_fifteen_digits", 0.1 + 0.2, "", "0.3"},
        NumberRow{"date_pattern_on_serial", 39807.5, "dd/mm/yyyy hh:mm", "25/12/2008 12:00"},
        NumberRow{"date_pattern_out_of_range", 1e9, "dd/mm/yyyy", "1000000000"},
        NumberRow{"not_a_number", std::nan(""), kAmount, ""},
        NumberRow{"infinity", std::numeric_limits<double>::infinity(), kAmount, ""}),
    rowName<NumberRow>);

TEST(FormatExact, WholeNumbersKeepEveryDigit)
{
    EXPECT_EQ(formatNumber(std::numeric_limits<std::int64_t>::max(), "#,##0"),
              "9,223,372,036,854,775,807");
    EXPECT_EQ(formatNumber(std::numeric_limits<std::int64_t>::min(), "0"), "-9223372036854775808");
    EXPECT_EQ(formatNumber(std::int64_t{-1234}, kSigned), "(1,234)");
    EXPECT_EQ(formatNumber(std::int64_t{0}, "###,###,###,###,###"), "");
    EXPECT_EQ(formatNumber(std::int64_t{9007199254740993}, ""), "9007199254740993");
}

TEST(FormatExact, CurrencyRoundsOnItsFourDecimals)
{
    EXPECT_EQ(formatCurrency(Currency::fromRaw(25), "0.000"), "0.003");
    EXPECT_EQ(formatCurrency(Currency::fromRaw(-15000), "0;(0)"), "(2)");
    EXPECT_EQ(formatCurrency(Currency::fromRaw(-4999), "0;(0)"), "0");
    EXPECT_EQ(formatCurrency(Currency::fromInt(0), "###,###,###,###,###"), "");
    EXPECT_EQ(formatCurrency(Currency::fromRaw(123456789), ""), "12345.6789");
}

// ---- formatText --------------------------------------------------------------------------

struct TextRow {
    std::string name;
    const char *text;
    const char *pattern;
    const char *expected;
};

class FormatTextTest : public testing::TestWithParam<TextRow> {};

TEST_P(FormatTextTest, Formats)
{
    const TextRow &row = GetParam();
    EXPECT_EQ(formatText(QString::fromUtf8(row.text), QString::fromUtf8(row.pattern)),
              QString::fromUtf8(row.expected))
        << "'" << row.text << "' with " << row.pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Format, FormatTextTest,
    testing::Values(TextRow{"grouped_to_stored", "1,234", kStored, "1234"},
                    TextRow{"parentheses_to_stored", "(1,234)", kStored, "-1234"},
                    TextRow{"parentheses_to_amount", "(1,234)", kAmount, "-1,234"},
                    TextRow{"parentheses_to_signed", "(1,234)", kSigned, "(1,234)"},
                    TextRow{"minus_parentheses_reads_back", "-(1,500)", kStored, "-1500"},
                    TextRow{"plain_to_parentheses", "1500", "(###,###,###,##0)", "(1,500)"},
                    TextRow{"blanks_inside", "  12 3", kStored, "123"},
                    TextRow{"decimal_rounds", "1234.5", kStored, "1235"},
                    TextRow{"decimal_text_half", "2.675", "0.00", "2.68"},
                    TextRow{"exponent", "1e3", kStored, "1000"},
                    TextRow{"hexadecimal", "&H1F", kStored, "31"},
                    TextRow{"trailing_minus", "12.5-", "0", "-13"},
                    TextRow{"leading_zero_dropped", "0123", kStored, "123"},
                    TextRow{"zero_only_hash", "0", "###,###,###,###,###", ""},
                    TextRow{"code_two_digits", "1", "00", "01"},
                    TextRow{"fraction_point_first", ".36", "##0.00", "0.36"},
                    TextRow{"percentage_field", "36", "##0.#0", "36.00"},
                    TextRow{"twice_rounded_first", "2.5", "###########0.00", "2.50"},
                    TextRow{"twice_rounded_second", "2.50", kStored, "3"},
                    TextRow{"empty_stays_empty", "", kAmount, ""},
                    TextRow{"empty_with_date_pattern", "", "dd/mm/yyyy", ""},
                    TextRow{"blanks_unchanged", "   ", "0", "   "},
                    TextRow{"letters_unchanged", "abc", kStored, "abc"},
                    TextRow{"trailing_letters_unchanged", "12abc", kStored, "12abc"},
                    TextRow{"lone_minus_unchanged", "-", kStored, "-"},
                    TextRow{"sign_inside_parentheses_unchanged", "(-5)", "0", "(-5)"},
                    TextRow{"comma_after_point_unchanged", "1.5,0", "0", "1.5,0"},
                    TextRow{"empty_pattern_unchanged", "1,234", "", "1,234"},
                    TextRow{"iso_date", "2008-12-25 10:11:12", "dd/mm/yyyy", "25/12/2008"},
                    TextRow{"iso_date_only", "2008-12-25", "yyyymmdd", "20081225"},
                    TextRow{"iso_date_t", "2008-12-25T10:11:12", "hh:mm:ss", "10:11:12"},
                    TextRow{"day_month_year", "25/12/2008", "yyyymmdd", "20081225"},
                    TextRow{"iso_time", "2008-12-25 10:11:12", "hh:mm:ss", "10:11:12"},
                    TextRow{"serial_number_as_date", "39807", "dd/mm/yyyy", "25/12/2008"},
                    TextRow{"impossible_date_unchanged", "31/02/2008", "dd/mm/yyyy", "31/02/2008"},
                    TextRow{"date_text_with_numeric_pattern", "2008-12-25", kStored, "2008-12-25"},
                    TextRow{"number_out_of_date_range", "20081225", "dd/mm/yyyy", "20081225"},
                    TextRow{"letters_with_date_pattern", "abc", "dd/mm/yyyy", "abc"}),
    rowName<TextRow>);

// ---- formatDate and formatValue -------------------------------------------------------------

struct DateRow {
    std::string name;
    const char *pattern;
    const char *expected;
};

class FormatDateTest : public testing::TestWithParam<DateRow> {};

TEST_P(FormatDateTest, Formats)
{
    const QDateTime at(QDate(2008, 3, 5), QTime(7, 8, 9));
    EXPECT_EQ(formatDate(at, QString::fromUtf8(GetParam().pattern)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Format, FormatDateTest,
    testing::Values(DateRow{"day_month_year", "dd/mm/yyyy", "05/03/2008"},
                    DateRow{"compact_day_first", "ddmmyyyy", "05032008"},
                    DateRow{"compact_year_first", "yyyymmdd", "20080305"},
                    DateRow{"year_month", "yyyymm", "200803"},
                    DateRow{"month_year", "mm/yyyy", "03/2008"},
                    DateRow{"time", "hh:mm:ss", "07:08:09"},
                    DateRow{"minutes_by_n", "hh:nn", "07:08"},
                    DateRow{"minutes_before_seconds", "mm:ss", "08:09"},
                    DateRow{"month_after_date_part", "dd/mm/yyyy hh:mm:ss", "05/03/2008 07:08:09"},
                    DateRow{"short_forms", "d/m/yy h:n:s", "5/3/08 7:8:9"},
                    DateRow{"upper_case", "DD/MM/YYYY", "05/03/2008"},
                    DateRow{"names", "dddd d \"de\" mmmm", "miércoles 5 de marzo"},
                    DateRow{"short_name", "ddd mmm", "mié mar"}, DateRow{"day_of_year", "y", "65"},
                    DateRow{"numeric_pattern_gives_serial", "0.00", "39512.30"},
                    DateRow{"empty_pattern_general", "", "05/03/2008 07:08:09"}),
    rowName<DateRow>);

TEST(FormatDateEdges, InvalidMidnightAndSerials)
{
    EXPECT_EQ(formatDate(QDateTime(), "dd/mm/yyyy"), "");
    EXPECT_EQ(formatDate(QDateTime(QDate(2008, 3, 5), QTime(0, 0)), ""), "05/03/2008");
    EXPECT_EQ(serialFromDate(QDateTime(QDate(2008, 12, 25), QTime(12, 0))), 39807.5);
    EXPECT_EQ(serialFromDate(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_EQ(dateFromSerial(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(dateFromSerial(0.9999999), QDateTime(QDate(1899, 12, 31), QTime(0, 0)));
    EXPECT_EQ(dateFromSerial(2958465.5), QDateTime(QDate(9999, 12, 31), QTime(12, 0)));
    EXPECT_FALSE(dateFromSerial(2958466));
    EXPECT_FALSE(dateFromSerial(-657435));
    EXPECT_FALSE(dateFromSerial(std::nan("")));
}

TEST(FormatValue, DispatchesOnKind)
{
    EXPECT_EQ(formatValue(Value(), kAmount), "");
    EXPECT_EQ(formatValue(Value(std::int64_t{-1234}), kSigned), "(1,234)");
    EXPECT_EQ(formatValue(Value(0.125), "0.00"), "0.13");
    EXPECT_EQ(formatValue(Value("(1,234)"), kStored), "-1234");
    EXPECT_EQ(formatValue(Value("abc"), kStored), "abc");
    EXPECT_EQ(formatValue(Value(QDateTime(QDate(2008, 12, 25), QTime(10, 11, 12))), "dd/mm/yyyy"),
              "25/12/2008");
    EXPECT_EQ(formatValue(Value(1), "00"), "01");
}

struct PatternRow {
    std::string name;
    const char *pattern;
    bool isDate;
};

class FormatIsDatePatternTest : public testing::TestWithParam<PatternRow> {};

TEST_P(FormatIsDatePatternTest, Classifies)
{
    EXPECT_EQ(isDatePattern(QString::fromUtf8(GetParam().pattern)), GetParam().isDate);
}

INSTANTIATE_TEST_SUITE_P(
    Format, FormatIsDatePatternTest,
    testing::Values(PatternRow{"date", "dd/mm/yyyy", true}, PatternRow{"time", "hh:mm:ss", true},
                    PatternRow{"year_month", "yyyymm", true}, PatternRow{"month_only", "mm", true},
                    PatternRow{"amount", "###,###,###,##0", false},
                    PatternRow{"edit_mask", "##/##/####", false},
                    PatternRow{"number_with_words", "0\" soles\"", false},
                    PatternRow{"quoted_letters", "\"dd\"", false},
                    PatternRow{"escaped_letter", "\\d", false}, PatternRow{"empty", "", false}),
    rowName<PatternRow>);

// ---- val and readNumberText ----------------------------------------------------------------

const std::string kNines(400, '9');
const char *const kFourHundredNines = kNines.c_str();

struct ValRow {
    std::string name;
    const char *text;
    double expected;
};

class ValTest : public testing::TestWithParam<ValRow> {};

TEST_P(ValTest, Reads)
{
    EXPECT_EQ(val(QString::fromUtf8(GetParam().text)), GetParam().expected)
        << "'" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Val, ValTest,
    testing::Values(
        ValRow{"stops_at_comma", "1,234", 1}, ValRow{"parentheses_not_a_number", "(1,234)", 0},
        ValRow{"blanks_skipped", "  12 3", 123}, ValRow{"empty", "", 0},
        ValRow{"letters", "abc", 0}, ValRow{"leading_number", "12abc", 12},
        ValRow{"lone_minus", "-", 0}, ValRow{"exponent", "1e3", 1000},
        ValRow{"exponent_d", "1d2", 100}, ValRow{"negative_exponent", "25E-2", 0.25},
        ValRow{"hexadecimal", "&H1F", 31}, ValRow{"hexadecimal_lower", "&hff", 255},
        ValRow{"octal", "&O17", 15}, ValRow{"hex_without_digits", "&H", 0},
        ValRow{"hex_bad_digit", "&HG", 0}, ValRow{"c_hex_is_zero", "0x1F", 0},
        ValRow{"negative_decimal", "-12.5", -12.5}, ValRow{"sign_then_blanks", " - 1 2", -12},
        ValRow{"second_point_stops", "1.2.3", 1.2}, ValRow{"dangling_exponent", "1e", 1},
        ValRow{"dangling_exponent_sign", "1e+", 1}, ValRow{"point_first", ".5", 0.5},
        ValRow{"two_signs", "+-5", 0}, ValRow{"inner_minus_stops", "12-3", 12},
        ValRow{"tab_and_newline", "\t7\n", 7},
        // Beyond a double: too big, never 0 (the currency type then refuses it).
        ValRow{"out_of_range", "1e400", HUGE_VAL},
        ValRow{"out_of_range_negative", "-1e400x", -HUGE_VAL},
        ValRow{"four_hundred_nines", kFourHundredNines, HUGE_VAL},
        ValRow{"below_range_is_zero", "1e-400", 0}),
    rowName<ValRow>);

struct ReadRow {
    std::string name;
    const char *text;
    std::optional<double> expected;
};

class ValReadNumberTextTest : public testing::TestWithParam<ReadRow> {};

TEST_P(ValReadNumberTextTest, Reads)
{
    EXPECT_EQ(readNumberText(QString::fromUtf8(GetParam().text)), GetParam().expected)
        << "'" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Val, ValReadNumberTextTest,
    testing::Values(
        ReadRow{"thousands", "1,234", 1234}, ReadRow{"parentheses", "(1,234)", -1234},
        ReadRow{"blanks_skipped", "  12 3", 123}, ReadRow{"empty", "", std::nullopt},
        ReadRow{"blanks_only", "  ", std::nullopt}, ReadRow{"letters", "abc", std::nullopt},
        ReadRow{"trailing_letters", "12abc", std::nullopt},
        ReadRow{"lone_minus", "-", std::nullopt}, ReadRow{"lone_plus", "+", std::nullopt},
        ReadRow{"exponent", "1e3", 1000}, ReadRow{"negative_exponent", "1e-2", 0.01},
        ReadRow{"hexadecimal", "&H1F", 31}, ReadRow{"octal", "&O17", 15},
        ReadRow{"hex_bad_digit", "&H1G", std::nullopt},
        ReadRow{"ampersand_alone", "&", std::nullopt}, ReadRow{"trailing_minus", "12-", -12},
        ReadRow{"leading_plus", "+12", 12}, ReadRow{"minus_before_parentheses", "-(1,500)", -1500},
        ReadRow{"sign_inside_parentheses", "(-5)", std::nullopt},
        ReadRow{"empty_parentheses", "()", std::nullopt},
        ReadRow{"signs_both_ends", "-12-", std::nullopt},
        ReadRow{"comma_in_decimals", "1.5,0", std::nullopt},
        ReadRow{"leading_comma", ",123", std::nullopt}, ReadRow{"point_only", ".", std::nullopt},
        ReadRow{"trailing_point", "5.", 5}, ReadRow{"leading_point", ".5", 0.5},
        ReadRow{"dangling_exponent", "1e", std::nullopt},
        ReadRow{"dangling_exponent_sign", "1e-", std::nullopt},
        ReadRow{"out_of_range", "1e400", std::nullopt},
        ReadRow{"commas_anywhere_in_whole", "1,2,3", 123}),
    rowName<ReadRow>);

TEST(ValDecimalDigits, ShortestDigitsAndRounding)
{
    DecimalDigits d = decimalDigits(2.675);
    EXPECT_EQ(d.digits, "2675");
    EXPECT_EQ(d.point, 1);
    roundDecimals(d, 2);
    EXPECT_EQ(d.digits, "268");

    d = decimalDigits(0.0005);
    EXPECT_EQ(d.point, -3);
    roundDecimals(d, 3);
    EXPECT_EQ(d.digits, "1");
    EXPECT_EQ(d.point, -2);

    d = decimalDigits(999.96);
    roundDecimals(d, 1);
    EXPECT_EQ(d.digits, "1");
    EXPECT_EQ(d.point, 4);
    EXPECT_EQ(d.wholeDigits(), "1000");
    EXPECT_EQ(d.fractionDigits(2), "00");

    d = decimalDigits(-0.004);
    roundDecimals(d, 2);
    EXPECT_TRUE(d.isZero());
    EXPECT_TRUE(d.negative);

    d = decimalDigits(std::numeric_limits<std::int64_t>::min(), 4);
    EXPECT_EQ(d.wholeDigits(), "922337203685477");
    EXPECT_EQ(d.fractionDigits(4), "5808");
    EXPECT_TRUE(decimalDigits(std::nan("")).isZero());
}

// ---- clock -----------------------------------------------------------------------------------

TEST(Clock, PinsNestAndRestore)
{
    const QDateTime first(QDate(2009, 6, 30), QTime(23, 59, 58, 750));
    const QDateTime second(QDate(2010, 1, 1), QTime(0, 0, 1));
    {
        PinnedClock pin(first);
        EXPECT_EQ(now(), QDateTime(QDate(2009, 6, 30), QTime(23, 59, 58)));
        EXPECT_EQ(today(), QDate(2009, 6, 30));
        {
            PinnedClock inner(second);
            EXPECT_EQ(now(), second);
        }
        EXPECT_EQ(today(), QDate(2009, 6, 30));
    }
    const QDateTime system = QDateTime::currentDateTime();
    EXPECT_LE(std::llabs(now().secsTo(system)), 2);
    EXPECT_EQ(now().time().msec(), 0);
}

TEST(Clock, SetClockReturnsTheReplacedOne)
{
    int calls = 0;
    auto previous = setClock([&calls] {
        ++calls;
        return QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6));
    });
    EXPECT_FALSE(previous);
    EXPECT_EQ(today(), QDate(2001, 2, 3));
    EXPECT_EQ(calls, 1);
    auto mine = setClock({});
    ASSERT_TRUE(mine);
    EXPECT_EQ(mine().date(), QDate(2001, 2, 3));
    EXPECT_NE(today(), QDate(2001, 2, 3));
}

} // namespace
} // namespace qz
