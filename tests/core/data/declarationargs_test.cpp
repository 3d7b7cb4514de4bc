// The host's argument string for declrep and declchk, good and bad.
#include "core/data/declarationargs.h"

#include <gtest/gtest.h>

using qz::DeclarationArgs;

namespace {

TEST(DeclarationArgs, SplitsTheFields)
{
    QString error;
    auto a = DeclarationArgs::parse({"0620100066603    0731200500A00000123"}, &error);
    ASSERT_TRUE(a) << error.toStdString();
    EXPECT_EQ(a->tipoDoc, "06");
    EXPECT_EQ(a->tipoDocNumber(), 6);
    EXPECT_EQ(a->docId, "20100066603    ");
    EXPECT_EQ(a->docIdTrimmed(), "20100066603");
    EXPECT_EQ(a->formulario, "0731");
    EXPECT_EQ(a->periodo, "200500");
    EXPECT_EQ(a->queryPeriod(), "2005");
    EXPECT_EQ(a->printPeriod(), "2005");
    EXPECT_EQ(a->codigo, "A");
    EXPECT_EQ(a->numero, "00000123");

    auto monthly = DeclarationArgs::parse({"0620100066603    0731200512A00000123"}, &error);
    ASSERT_TRUE(monthly);
    EXPECT_EQ(monthly->queryPeriod(), "200512");
    EXPECT_EQ(monthly->printPeriod(), "12/2005");
    // A host that passes the string unquoted splits it at the blanks of the number field.
    auto split =
        DeclarationArgs::parse({"0620100066603", "", "", "", "0731200500A00000123"}, &error);
    ASSERT_TRUE(split);
    EXPECT_EQ(split->docId, "20100066603    ");
}

TEST(DeclarationArgs, RefusesWhatCouldLeaveTheFolderOrBreakTheFields)
{
    const char *bad[] = {
        "",
        "0620100066603    0731200500A0000012",   // 35 characters
        "0620100066603    0731200500A000001234", // 37 characters
        "0620100066603    07312005X0A00000123",  // period not digits
        "06../../etc/pass 0731200500A00000123",  // ".." in the number
        "0620100/66603    0731200500A00000123",  // "/"
        "0620100066603    0731200500\\00000123", // "\" as the code
        "0620100066603    0731200500A0000\t123", // control character
        "1;20100066603    0731200500A00000123",  // a type that is not a number
        // 36 UTF-16 units but not 36 printable ASCII characters: they would reach file names
        "0620100066603    0731200500A000001\xf0\x9f\x98\x80", // an emoji (two units)
        "0620100066603    0731200500\xc3\x91\x30\x30\x30\x30\x30\x31\x32\x33", // "Ñ"
        "0620100066603    0731200500A000001\xc2\xa0\x33",                      // a no-break space
        "0620100066603    0731200500A0000012\x7f",                             // DEL
        "0620100066603    0731200500A0000012\xe2\x80\x8b",                     // a zero-width space
    };
    for (const char *s : bad) {
        QString error;
        EXPECT_FALSE(DeclarationArgs::parse({QString::fromUtf8(s)}, &error)) << s;
        EXPECT_FALSE(error.isEmpty()) << s;
    }
    // Printable ASCII punctuation is accepted where no other rule refuses it.
    QString error;
    EXPECT_TRUE(DeclarationArgs::parse({"06 !\"#$%&'()*+,-:0731200500~{|}<=>?@"}, &error))
        << error.toStdString();
}

} // namespace
