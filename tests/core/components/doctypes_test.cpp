// Tests of the identity-document-type list on a fresh installation: entry layout, display
// order, the use column, and the blank first entry.
#include "core/components/doctypes.h"

#include "core/components/textutility.h"
#include "core/data/sqltext.h"
#include "support/tempinstall.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

constexpr int kLegalRepresentative = 82; // the column the declaration form asks for

TEST(DocTypeList, TaxpayerNumberEntryAndDisplayOrder)
{
    test::TempInstall inst;
    ASSERT_TRUE(inst.ok()) << inst.message().toStdString();
    Database db = inst.open();
    const QStringList list = documentTypeEntries(db, TextUtility(), kLegalRepresentative, true);
    // Blank entry, then by characters 56-57, not by code; type A is not allowed in column 82.
    ASSERT_EQ(list.size(), 5);
    EXPECT_EQ(list.at(0), QString(75, u' '));
    QStringList codes;
    for (int i = 1; i < list.size(); ++i)
        codes << entryTypeCode(list.at(i));
    EXPECT_EQ(codes, (QStringList{"06", "01", "04", "07"}));
    // Type 6: short name "RUC" in 60, length 11, data kind 5, length kind 0.
    const QString ruc = list.at(1);
    EXPECT_EQ(ruc, QStringLiteral("06  -  RUC") + QString(57, u' ') + QStringLiteral("11 5 0"));
    EXPECT_EQ(entryNumberLength(ruc) + entryDataKind(ruc) + entryLengthKind(ruc), "1150");
    // The list shows only the code and the name.
    EXPECT_EQ(shownDocumentType(ruc), "06  -  RUC");
    EXPECT_EQ(shownDocumentType(list.at(0)), "");

    // Column 59 is "0" in every row: nothing but the optional blank entry.
    EXPECT_EQ(documentTypeEntries(db, TextUtility(), 59, true), QStringList{QString(75, u' ')});
    EXPECT_TRUE(documentTypeEntries(db, TextUtility(), 59, false).isEmpty());
}

TEST(DocTypeList, TwoDigitCodeOneDigitLengthAndAQuote)
{
    test::TempInstall inst;
    ASSERT_TRUE(inst.ok());
    Database db = inst.open();
    QString record(130, u' ');
    record.replace(31, 11, "D'ORBIGNY X").replace(45, 2, " 8").replace(55, 2, "01");
    record.replace(58, 24, QString(24, u'1')).replace(127, 1, "1").replace(129, 1, "1");
    db.execute("DELETE * FROM PARAM WHERE Numero='044'");
    db.execute("INSERT INTO PARAM (Numero, Argumento, Funcion, Correl_param) VALUES "
               "('044',' 12 '," +
               sqlQuoted(record) + ",'001')");
    const QStringList entries = documentTypeEntries(db, TextUtility(), kLegalRepresentative, false);
    // The length keeps characters 68-69 with a leading zero.
    EXPECT_EQ(entries, QStringList{QStringLiteral("12  -  D'ORBIGNY X") + QString(49, u' ') +
                                   QStringLiteral("08 1 1")});
}

} // namespace
} // namespace qz
