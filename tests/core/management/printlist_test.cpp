// The print dialog's selection: which columns of a row name the declaration, for the registered
// and the sent list.
#include "core/management/printlist.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(PrintList, SelectionFromARow)
{
    // A sent row as the grid holds it: number, name, period, form, order number, sending date,
    // control number, sending number, week.
    const ListRow sent{
        Value(QString("20100000001 ")), Value(QString(" ACME S.A.")), Value(QString("2006")),
        Value(QString("0731")),         Value(QString("1234567")),    Value(),
        Value(QString("00012345")),     Value(QString("002")),        Value(0)};
    const DeclarationSelection s = printSelection(sent, true, true);
    EXPECT_EQ(s.ruc, "20100000001");
    EXPECT_EQ(s.name, "ACME S.A.");
    EXPECT_EQ(s.period, "2006");
    EXPECT_EQ(s.form, "0731");
    EXPECT_EQ(s.correl, "002");
    EXPECT_EQ(s.controlNumber, "00012345");
    EXPECT_TRUE(s.sent);
    EXPECT_TRUE(s.annex);

    // A registered row ends with its week: no sending number nor control number is read.
    const ListRow registered{Value(QString("20100000001")), Value(QString("ACME")),
                             Value(QString("2005")), Value(QString("0731")), Value(0)};
    const DeclarationSelection r = printSelection(registered, false, false);
    EXPECT_EQ(r.period, "2005");
    EXPECT_TRUE(r.correl.isEmpty());
    EXPECT_TRUE(r.controlNumber.isEmpty());
    EXPECT_FALSE(r.sent);
}

} // namespace
} // namespace qz
