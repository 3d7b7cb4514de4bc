// Record control code, check digit and order-number verification, with the expected codes
// worked out by hand in the comments.
#include "core/data/controlcode.h"

#include "core/data/database.h"
#include "core/data/dberror.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

using qz::ColumnInfo;
using qz::Record;
using qz::Value;

QDateTime at(int y, int m, int d)
{
    return QDateTime(QDate(y, m, d), QTime(10, 0));
}

TEST(ControlCode, TextFormByDeclaredType)
{
    struct Row {
        const char *name;
        Value value;
        const char *type;
        QString expected;
    };
    const Row rows[] = {
        {"byte", 6, "Byte", "6"},
        {"negative integer", -12, "INTEGER", "-12"},
        {"no zero before the point", 0.5, "double", ".5"},
        {"negative fraction", -0.25, "double", "-.25"},
        {"currency", 1234.5, "currency", "1234.5"},
        {"whole double", 5.0, "double", "5"},
        {"fifteen significant digits", 0.1 + 0.2, "double", ".3"},
        {"large double in plain digits", 1e20, "double", "100000000000000000000"},
        {"small double in plain digits", -1.5e-7, "single", "-.00000015"},
        {"zero", 0.0, "double", "0"},
        {"number text in number column", " 12 ", "Byte", "12"},
        {"fraction text in number column", " .50", "double", ".5"},
        {"word in number column", " abc ", "Byte", "abc"},
        {"separator kept as text by the engine", "1,2", "Byte", "1,2"},
        {"date", at(2024, 1, 5), "DATETIME", "20240105"},
        {"iso text in date column", "2024-01-05 10:20:30", "DATETIME", "20240105"},
        {"not a date in date column", " 5/1/2024 ", "DATETIME", "5/1/2024"},
        {"text trimmed of spaces", "  hola  ", "text(15)", "hola"},
        {"only spaces are trimmed", "\tx ", "TEXT", "\tx"},
        {"integer in text column", 6, "text(15)", "6"},
        {"whole double as text column holds it", 5.0, "Text (4)", "5.0"},
        {"fraction as text column holds it", 0.5, "text(6)", "0.5"},
        {"number text in text column stays text", " 0731 ", "text(4)", "0731"},
        {"null", Value(), "text(15)", ""},
        {"null number", Value(), "Byte", ""},
        {"yes/no", 1, "bit", ""},
        {"binary", "x", "longbinary", ""},
        {"no declared type: own kind", 7, "", "7"},
        {"no declared type: text", " x ", "", "x"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(qz::columnTextForm(row.value, QString::fromLatin1(row.type)), row.expected)
            << row.name;
    }
}

TEST(ControlCode, KeysThatAreNoNumbersAddNothing)
{
    Record row(QStringLiteral("T"),
               {ColumnInfo{"a", "text(5)"}, ColumnInfo{"b", "text(5)"}, ColumnInfo{"c", "text(5)"},
                ColumnInfo{"v", "text(5)"}, ColumnInfo{"cNumero", "text(6)"}});
    row.set(0, "ABC");
    row.set(1, "1-2");
    row.set(2, Value());
    row.set(3, "A"); // 1 x 65
    EXPECT_EQ(qz::recordControlCode(row, 3), QStringLiteral("000065"));
}

TEST(ControlCode, KeySumRounding)
{
    struct Row {
        const char *name;
        Value key;
        const char *type;
        const char *keyDigits;
    };
    const Row rows[] = {
        {"negative sum keeps the digits of its absolute value", -5, "INTEGER", "005"},
        {"half rounds away from zero", 2.5, "double", "003"},
        {"negative half rounds away from zero", -1234.5, "double", "235"},
        {"thousands separator in a text key", "1,234", "text(9)", "234"},
        {"date key adds yyyymmdd", at(2024, 1, 5), "DATETIME", "105"},
        {"beyond 15 digits the host writes zeros", 1234567890123456789.0, "double", "000"},
        {"16 digits: the last is a zero", 1234567890123456.0, "double", "460"},
    };
    for (const Row &row : rows) {
        Record r(QStringLiteral("T"),
                 {ColumnInfo{"k", row.type}, ColumnInfo{"cNumero", "text(6)"}});
        r.set(0, row.key);
        EXPECT_EQ(qz::recordControlCode(r, 1), QString::fromLatin1(row.keyDigits) + "000")
            << row.name;
    }
}

TEST(ControlCode, OverflowOfPositionTimesCode)
{
    Record row(QStringLiteral("T"), {ColumnInfo{"k", "Byte"}, ColumnInfo{"texto", "TEXT"},
                                     ColumnInfo{"cNumero", "text(6)"}});
    row.set(0, 6);
    // 128 x 255 = 32640 still fits; sum 255 x (128 x 129 / 2) = 255 x 8256 = 2105280.
    row.set(1, QString(128, QChar(0xFF)));
    EXPECT_EQ(qz::recordControlCode(row, 1), QStringLiteral("006280"));
    // 129 x 255 = 32895 does not.
    row.set(1, QString(129, QChar(0xFF)));
    try {
        qz::recordControlCode(row, 1);
        FAIL() << "no overflow";
    } catch (const qz::DbError &e) {
        EXPECT_EQ(e.number(), qz::dberr::kOverflow);
    }
    // The last column is the code itself and never counts.
    row.set(1, "x");
    row.set(2, QString(200, QChar(0xFF)));
    EXPECT_NO_THROW(qz::recordControlCode(row, 1));
}

TEST(ControlCode, CharacterOutsideCodePageCountsAsQuestionMark)
{
    Record row(QStringLiteral("T"), {ColumnInfo{"k", "Byte"}, ColumnInfo{"texto", "text(9)"},
                                     ColumnInfo{"cNumero", "text(6)"}});
    row.set(0, 1);
    row.set(1, QStringLiteral("a中")); // 1 x 97 + 2 x 63 = 223
    EXPECT_EQ(qz::recordControlCode(row, 1), QStringLiteral("001223"));
    row.set(1, QStringLiteral("€")); // the euro sign is code 128
    EXPECT_EQ(qz::recordControlCode(row, 1), QStringLiteral("001128"));
}

TEST(ControlCode, DateColumnCountsAsYyyymmdd)
{
    Record row(QStringLiteral("T"), {ColumnInfo{"k", "Byte"}, ColumnInfo{"fec", "DATETIME"},
                                     ColumnInfo{"cNumero", "text(6)"}});
    row.set(0, 6);
    // "20240105": 1x50 + 2x48 + 3x50 + 4x52 + 5x48 + 6x49 + 7x48 + 8x53
    //           = 50 + 96 + 150 + 208 + 240 + 294 + 336 + 424 = 1798
    row.set(1, at(2024, 1, 5));
    EXPECT_EQ(qz::recordControlCode(row, 1), QStringLiteral("006798"));
    row.set(1, "2024-01-05 23:59:59");
    EXPECT_EQ(qz::recordControlCode(row, 1), QStringLiteral("006798"));
}

std::vector<ColumnInfo> cabColumns()
{
    return {ColumnInfo{"tip_doc_d", "Byte"},    ColumnInfo{"doc_id_d", "text(15)"},
            ColumnInfo{"periodo", "text(6)"},   ColumnInfo{"formulario", "text(4)"},
            ColumnInfo{"num_sec", "INTEGER"},   ColumnInfo{"fec_pro", "DATETIME"},
            ColumnInfo{"bcolibrad", "text(3)"}, ColumnInfo{"nrocheque", "text(15)"},
            ColumnInfo{"cheque", "double"},     ColumnInfo{"efectivo", "double"},
            ColumnInfo{"estado", "Byte"},       ColumnInfo{"rectifica", "text(1)"},
            ColumnInfo{"cNumero", "text(6)"}};
}

Record cabRow()
{
    Record row(QStringLiteral("CAB"), cabColumns());
    row.set("tip_doc_d", 6);
    row.set("doc_id_d", "20100012345");
    row.set("periodo", "2023");
    row.set("formulario", "0731");
    row.set("num_sec", 1);
    row.set("fec_pro", at(2024, 3, 15));
    row.set("bcolibrad", "02");
    row.set("nrocheque", " 123 ");
    row.set("cheque", 1500.5);
    row.set("efectivo", 0.25);
    row.set("estado", 0);
    return row;
}

TEST(ControlCode, HeaderRow)
{
    // Key sum: 6 + 20100012345 + 2023 + 731 + 1 = 20100015106 -> "106".
    // Weighted sum:
    //   fec_pro "20240315": 1x50 + 2x48 + 3x50 + 4x52 + 5x48 + 6x51 + 7x49 + 8x53 = 1817
    //   bcolibrad "02": 1x48 + 2x50 = 148
    //   nrocheque "123" (trimmed): 1x49 + 2x50 + 3x51 = 302
    //   cheque "1500.5": 1x49 + 2x53 + 3x48 + 4x48 + 5x46 + 6x53 = 1039
    //   efectivo ".25": 1x46 + 2x50 + 3x53 = 305
    //   estado "0": 48; rectifica Null: 0
    //   1817 + 148 + 302 + 1039 + 305 + 48 = 3659 -> "659".
    EXPECT_EQ(qz::recordControlCode(cabRow(), 5), QStringLiteral("106659"));
}

TEST(ControlCode, SameCodeOverTheStoredRow)
{
    // The code is computed before the row is stored; whoever checks it later reads the stored
    // values, which the engine may have converted. Both must give the same code.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    qz::Database db = qz::Database::open(dir.filePath("t.db"), qz::Database::Mode::Create);
    db.execute(QStringLiteral(
        "CREATE TABLE CAB ([tip_doc_d] Byte, [doc_id_d] text(15), [periodo] text(6), "
        "[formulario] text(4), [num_sec] INTEGER, [fec_pro] DATETIME, [bcolibrad] text(3), "
        "[nrocheque] text(15), [cheque] double, [efectivo] double, [estado] Byte, "
        "[rectifica] text(1), [cNumero] text(6))"));
    Record row = db.newRecord(QStringLiteral("CAB"));
    const Record filled = cabRow();
    for (int i = 0; i < filled.columnCount(); ++i) {
        row.set(i, filled.value(i));
    }
    // Values the engine converts on storing.
    row.set("tip_doc_d", " 6 "); // becomes the number 6
    row.set("bcolibrad", 2.0);   // becomes the text "2.0"
    row.set("rectifica", 1);     // becomes the text "1"
    row.set("estado", "9");      // becomes the number 9
    const QString code = qz::recordControlCode(row, 5);
    row.set("cNumero", code);
    db.store(row);

    std::vector<Record> stored = db.selectForUpdate(QStringLiteral("SELECT * FROM CAB"));
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].value("tip_doc_d"), Value(6));
    EXPECT_EQ(stored[0].value("bcolibrad"), Value("2.0"));
    EXPECT_EQ(stored[0].value("rectifica"), Value("1"));
    EXPECT_EQ(qz::recordControlCode(stored[0], 5), code);
    EXPECT_EQ(stored[0].value("cNumero").toText(), code);
}

TEST(CheckDigit, Modulus11)
{
    struct Row {
        const char *input;
        const char *trimmed;
        const char *result;
    };
    const Row rows[] = {
        {"0", "0", "01"},       // S = 0, d = 11 -> 1
        {"1", "1", "19"},       // S = 2, d = 9
        {"12", "12", "124"},    // S = 1x3 + 2x2 = 7, d = 4
        {"6", "6", "60"},       // S = 12, 12 mod 11 = 1, d = 10 -> 0
        {" 12 ", "12", "124"},  // spaces do not count
        {"1A2", "1A2", "1A23"}, // S = 2x2 + 0x3 + 1x4 = 8, d = 3
        {"", "", ""},
        {"   ", "", ""},
        // Cut to "12345678901234567"; from the right 7x2 + 6x3 + 5x4 + 4x5 + 3x6 + 2x7 + 1x2
        // + 0x3 + 9x4 + 8x5 + 7x6 + 6x7 + 5x2 + 4x3 + 3x4 + 2x5 + 1x6 = 316, 316 mod 11 = 8,
        // d = 3.
        {"12345678901234567890", "12345678901234567", "123456789012345673"},
    };
    for (const Row &row : rows) {
        QString s = QString::fromLatin1(row.input);
        EXPECT_EQ(qz::checkDigit(s), QString::fromLatin1(row.result)) << row.input;
        EXPECT_EQ(s, QString::fromLatin1(row.trimmed)) << row.input;
    }
}

TEST(OrderNumber, Verification)
{
    // Control "12345678": S = 8x2 + 7x3 + 6x4 + 5x5 + 4x6 + 3x7 + 2x2 + 1x3 = 138,
    // 138 mod 11 = 6, d = 5, so D1 = "5".
    // t = "12345678" + "4567" + "5" = "1234567845675": from the right 5x2 + 7x3 + 6x4 + 5x5
    // + 4x6 + 8x7 + 7x2 + 6x3 + 5x4 + 4x5 + 3x6 + 2x7 + 1x2 = 266, 266 mod 11 = 2, d = 9.
    EXPECT_TRUE(qz::verifyOrderNumber("12345678", "4567", "59"));
    EXPECT_TRUE(qz::verifyOrderNumber(" 12345678 ", " 4567 ", " 59 "));
    EXPECT_FALSE(qz::verifyOrderNumber("12345678", "4567", "58"));
    EXPECT_FALSE(qz::verifyOrderNumber("12345678", "4568", "59"));
    EXPECT_FALSE(qz::verifyOrderNumber("12345678", "4567", "5"));

    // A 10-character control number: D1 is its own 9th character, "9".
    // t = "1234567890" + "1" + "9": 9x2 + 1x3 + 0x4 + 9x5 + 8x6 + 7x7 + 6x2 + 5x3 + 4x4
    // + 3x5 + 2x6 + 1x7 = 240, 240 mod 11 = 9, d = 2.
    EXPECT_TRUE(qz::verifyOrderNumber("1234567890", "1", "92"));

    // Only the first 17 characters of t count: t = "12345678" + "123456789?" + "5", cut to
    // "12345678123456789": 9x2 + 8x3 + 7x4 + 6x5 + 5x6 + 4x7 + 3x2 + 2x3 + 1x4 + 8x5 + 7x6
    // + 6x7 + 5x2 + 4x3 + 3x4 + 2x5 + 1x6 = 348, 348 mod 11 = 7, d = 4.
    EXPECT_TRUE(qz::verifyOrderNumber("12345678", "1234567890", "54"));
    EXPECT_TRUE(qz::verifyOrderNumber("12345678", "1234567899", "54"));
}

TEST(OrderNumber, EmptyControlNumber)
{
    // No D1: the code is D2 alone, the check digit of the order number ("12" -> 4).
    EXPECT_TRUE(qz::verifyOrderNumber("", "12", "4"));
    EXPECT_TRUE(qz::verifyOrderNumber("   ", "12", "4"));
    EXPECT_FALSE(qz::verifyOrderNumber("", "12", "04"));
    // Nothing to check at all.
    EXPECT_FALSE(qz::verifyOrderNumber("", "", ""));
    EXPECT_FALSE(qz::verifyOrderNumber(" ", " ", ""));
}

} // namespace
