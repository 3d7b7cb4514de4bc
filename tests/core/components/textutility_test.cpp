// Tests of the text-utility component: RUC rule, field layout, document-number rules, key filters
// and the file test.
#include "core/components/textutility.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qz {
namespace {

// Test names come from the rows, so a failure names the case it proves.
template <class Row> std::string rowName(const testing::TestParamInfo<Row> &row)
{
    return row.param.name;
}

struct RucRow {
    const char *name;
    const char16_t *ruc;
    bool valid;
};

// Valid rows were worked out by hand from the weights; the rows next to them change one thing.
const RucRow kRucRows[] = {
    {"plainCheckDigit", u"20100079705", true},
    {"checkDigitElevenBecomesOne", u"10123456781", true},
    {"checkDigitTenBecomesZero", u"20000000010", true},
    {"checkDigitTenBecomesZeroPrefix10", u"10000000090", true},
    {"prefix15", u"15123456707", true},
    {"prefix16", u"16000000004", true},
    {"prefix17", u"17000000019", true},
    {"checkDigitOneLow", u"20100079704", false},
    {"checkDigitOneHigh", u"20100079706", false},
    {"tenTakenAsOne", u"20000000011", false},
    {"elevenTakenAsZero", u"10123456780", false},
    {"prefix30", u"30100079701", false},
    {"prefix11", u"11100079706", false},
    {"prefix19", u"19100079707", false},
    {"prefix00", u"00100079704", false},
    {"prefix21", u"21100079701", false},
    {"tenDigits", u"2010007970", false},
    {"twelveDigits", u"201000797051", false},
    {"trailingLetter", u"2010007970A", false},
    {"letterOForZero", u"20100O79705", false},
    {"blankInside", u"2010007 970", false},
    {"leadingBlank", u" 2010007970", false},
    {"arabicIndicDigits", u"\u0662\u0660\u0661\u0660\u0660\u0660\u0667\u0669\u0667\u0660\u0665",
     false},
    {"fullWidthDigits", u"\uFF12\uFF10\uFF11\uFF10\uFF10\uFF10\uFF17\uFF19\uFF17\uFF10\uFF15",
     false},
    {"empty", u"", false},
    {"signed", u"+2010007970", false},
};

class RucTest : public testing::TestWithParam<RucRow> {};

TEST_P(RucTest, FollowsPrefixAndModulusElevenRule)
{
    const TextUtility util;
    EXPECT_EQ(util.isValidRuc(QString::fromUtf16(GetParam().ruc)), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Rows, RucTest, testing::ValuesIn(kRucRows), rowName<RucRow>);

TEST(CompleteRuc, AppendsTheCheckDigitThatIsValidRucAccepts)
{
    const TextUtility util;
    EXPECT_EQ(TextUtility::completeRuc("2010007970"), "20100079705");
    EXPECT_EQ(TextUtility::completeRuc("2000000001"), "20000000010");
    EXPECT_EQ(TextUtility::completeRuc("1012345678"), "10123456781");
    // Every body under a valid prefix must come out valid, and every other last digit invalid.
    for (const char *prefix : {"10", "15", "16", "17", "20"}) {
        for (int n = 0; n < 500; ++n) {
            const QString body = prefix + QString::number(n * 104729).rightJustified(8, u'0');
            const QString ruc = TextUtility::completeRuc(body.left(10));
            ASSERT_EQ(ruc.size(), 11) << body.toStdString();
            EXPECT_TRUE(util.isValidRuc(ruc)) << ruc.toStdString();
            QString wrong = ruc;
            wrong[10] = QChar(u'0' + (ruc.at(10).unicode() - u'0' + 1) % 10);
            EXPECT_FALSE(util.isValidRuc(wrong)) << wrong.toStdString();
        }
    }
}

TEST(CompleteRuc, RefusesAnythingButTenDigits)
{
    EXPECT_TRUE(TextUtility::completeRuc("").isEmpty());
    EXPECT_TRUE(TextUtility::completeRuc("201000797").isEmpty());
    EXPECT_TRUE(TextUtility::completeRuc("20100079705").isEmpty());
    EXPECT_TRUE(TextUtility::completeRuc("201000797A").isEmpty());
    EXPECT_TRUE(TextUtility::completeRuc(" 201000797").isEmpty());
}

struct FieldRow {
    const char *name;
    const char16_t *text;
    int width;
    const char16_t *fixed;
    const char16_t *report;
};

const FieldRow kFieldRows[] = {
    {"emptyText", u"", 4, u"    ", u"    "},
    {"shorter", u"ab", 5, u"ab   ", u"   ab"},
    {"exactWidth", u"abcd", 4, u"abcd", u"abcd"},
    {"longerIsCutOrKeptWhole", u"123456", 4, u"1234", u"123456"},
    {"zeroWidth", u"abc", 0, u"", u"abc"},
    {"negativeWidth", u"abc", -3, u"", u"abc"},
    {"blanksKept", u" a ", 5, u" a   ", u"   a "},
    {"accentsCountAsOne", u"ÑAÑA", 6, u"ÑAÑA  ", u"  ÑAÑA"},
    {"amount", u"(1,500)", 15, u"(1,500)        ", u"        (1,500)"},
};

class FieldTest : public testing::TestWithParam<FieldRow> {};

TEST_P(FieldTest, FixedWidthAndReportField)
{
    const TextUtility util;
    const FieldRow &row = GetParam();
    const QString text = QString::fromUtf16(row.text);
    EXPECT_EQ(util.fixedWidth(text, row.width), QString::fromUtf16(row.fixed));
    EXPECT_EQ(util.reportField(text, row.width), QString::fromUtf16(row.report));
}

INSTANTIATE_TEST_SUITE_P(Rows, FieldTest, testing::ValuesIn(kFieldRows), rowName<FieldRow>);

TEST(FixedWidth, DocumentTypeEntryHasExactlySixtyCharacters)
{
    const TextUtility util;
    EXPECT_EQ(util.fixedWidth("REG. UNICO DE CONTRIBUYENTES", 60).size(), 60);
    EXPECT_EQ(util.fixedWidth(QString(80, u'X'), 60).size(), 60);
}

struct DocRow {
    const char *name;
    const char16_t *number;
    bool numeric;
    bool alnum;
};

const DocRow kDocRows[] = {
    {"digits", u"12345678", true, true},
    {"single", u"7", true, true},
    {"empty", u"", false, false},
    {"onlyBlanks", u"   ", false, false},
    {"surroundingBlanks", u" 1234 ", true, true},
    {"blankInside", u"12 34", false, false},
    {"upperLetters", u"AB123", false, true},
    {"lowerLetters", u"ab123", false, true},
    {"dash", u"AB-123", false, true},
    {"onlyDashes", u"--", false, false},
    {"point", u"12.34", false, false},
    {"minus", u"-1234", false, true},
    {"quote", u"12'34", false, false},
    {"enye", u"PEÑA1", false, false},
    {"arabicIndic", u"\u0661\u0662", false, false},
};

class DocNumberTest : public testing::TestWithParam<DocRow> {};

TEST_P(DocNumberTest, CharacterRules)
{
    const TextUtility util;
    const QString number = QString::fromUtf16(GetParam().number);
    EXPECT_EQ(util.isValidDocNumberNumeric(number), GetParam().numeric);
    EXPECT_EQ(util.isValidDocNumberAlnum(number), GetParam().alnum);
}

INSTANTIATE_TEST_SUITE_P(Rows, DocNumberTest, testing::ValuesIn(kDocRows), rowName<DocRow>);

TEST(NumericKeyFilter, PassesDigitsBackspaceAndEnterOnly)
{
    const TextUtility util;
    for (int key = 0; key < 0x180; ++key) {
        const bool passes = (key >= '0' && key <= '9') || key == 8 || key == 13;
        EXPECT_EQ(util.numericKeyFilter(key, false, false, false), passes ? key : 0) << key;
    }
    EXPECT_EQ(util.numericKeyFilter(-1, false, false, false), 0);
    EXPECT_EQ(util.numericKeyFilter(0x10000 + '5', false, false, false), 0);
}

TEST(NumericKeyFilter, OptionsLetThroughPointMinusAndBlank)
{
    const TextUtility util;
    EXPECT_EQ(util.numericKeyFilter('.', true, false, false), '.');
    EXPECT_EQ(util.numericKeyFilter('-', true, false, false), 0);
    EXPECT_EQ(util.numericKeyFilter(',', true, false, false), 0);
    EXPECT_EQ(util.numericKeyFilter('-', false, true, false), '-');
    EXPECT_EQ(util.numericKeyFilter('.', false, true, false), 0);
    EXPECT_EQ(util.numericKeyFilter(' ', false, false, true), ' ');
    EXPECT_EQ(util.numericKeyFilter(' ', true, true, false), 0);
    EXPECT_EQ(util.numericKeyFilter('A', true, true, true), 0);
}

TEST(NumericKeyFilter, WithFieldTextRefusesASecondPoint)
{
    const TextUtility util;
    EXPECT_EQ(util.numericKeyFilter('.', "", true, false, false), '.');
    EXPECT_EQ(util.numericKeyFilter('.', "12", true, false, false), '.');
    EXPECT_EQ(util.numericKeyFilter('.', "12.", true, false, false), 0);
    EXPECT_EQ(util.numericKeyFilter('.', "12.5", true, false, false), 0);
    EXPECT_EQ(util.numericKeyFilter('.', "12", false, false, false), 0);
    // Digits and Backspace still pass once the point is there.
    EXPECT_EQ(util.numericKeyFilter('7', "12.5", true, false, false), '7');
    EXPECT_EQ(util.numericKeyFilter(8, "12.5", true, false, false), 8);
    // A minus only leads the number.
    EXPECT_EQ(util.numericKeyFilter('-', "", false, true, false), '-');
    EXPECT_EQ(util.numericKeyFilter('-', "3", false, true, false), 0);
}

TEST(LettersKeyFilter, PassesLettersUpperCasedAndRejectsTheRest)
{
    const TextUtility util;
    for (int key = 'A'; key <= 'Z'; ++key) {
        EXPECT_EQ(util.lettersKeyFilter(key), key);
        EXPECT_EQ(util.lettersKeyFilter(key + 32), key);
    }
    // Ñ Á É Í Ó Ú Ü in both cases, by their Windows-1252 codes.
    const int upper[] = {0xD1, 0xC1, 0xC9, 0xCD, 0xD3, 0xDA, 0xDC};
    for (int code : upper) {
        EXPECT_EQ(util.lettersKeyFilter(code), code) << code;
        EXPECT_EQ(util.lettersKeyFilter(code + 0x20), code) << code;
    }
    EXPECT_EQ(util.lettersKeyFilter(' '), ' ');
    EXPECT_EQ(util.lettersKeyFilter(8), 8);
    EXPECT_EQ(util.lettersKeyFilter(13), 13);
    const int rejected[] = {'0',  '9',  '\'', '.', '-', ',',         0x7F, 0xC0, 0xC8,
                            0xD7, 0xF7, 0xFF, 0,   -1,  0x100 + 'A', 9,    27};
    for (int key : rejected) {
        EXPECT_EQ(util.lettersKeyFilter(key), 0) << key;
    }
}

TEST(FileExists, FileYesFolderAndMissingNo)
{
    const TextUtility util;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("PREVIEW.RPT");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.close();
    EXPECT_TRUE(util.fileExists(file));
    EXPECT_FALSE(util.fileExists(dir.path()));
    EXPECT_FALSE(util.fileExists(dir.filePath("missing.rpt")));
    EXPECT_FALSE(util.fileExists(dir.filePath("nofolder/PREVIEW.RPT")));
    EXPECT_FALSE(util.fileExists(""));
    ASSERT_TRUE(QFile::link(file, dir.filePath("link.rpt")));
    EXPECT_TRUE(util.fileExists(dir.filePath("link.rpt")));
    ASSERT_TRUE(QFile::remove(file));
    EXPECT_FALSE(util.fileExists(dir.filePath("link.rpt")));
}

} // namespace
} // namespace qz
