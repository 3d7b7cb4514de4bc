// Tests of the payment form's data without a window: the bank list and the enabling rules.
#include "core/components/paymentdata.h"
#include "support/tempinstall.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(PaymentBanks, ListedByCodeWithoutTheNoBankRow)
{
    test::TempInstall inst;
    ASSERT_TRUE(inst.ok()) << inst.message().toStdString();
    Database db = inst.open();
    std::vector<Bank> banks = loadBanks(db);
    ASSERT_EQ(banks.size(), 6u); // the demo's seven rows less '00'
    EXPECT_EQ(bankListText(banks.front()), "01 - BANCO DE LA NACION");

    // Out of order, blanks round codes, a Null name, a blank-padded '00', a name beyond 36.
    db.execute("DELETE * FROM PARAM WHERE Numero='004'");
    db.execute("INSERT INTO PARAM (Numero, Argumento, Funcion, Correl_param) VALUES "
               "('004','09','BANCO D''ORBIGNY','001'), ('004',' 07 ',NULL,'002'),"
               "('004','00 ','NINGUNO','003'), ('004','08','" +
               QString(36, u'N') + "SHORT NAME','004')");
    banks = loadBanks(db);
    EXPECT_EQ(banks, (std::vector<Bank>{
                         {"07", ""}, {"08", QString(36, u'N')}, {"09", "BANCO D'ORBIGNY"}}));
}

TEST(PaymentState, OnlyAnEnabledExactChequeOpensTheChequeFields)
{
    PaymentState s;
    EXPECT_EQ(s.paymentType() + "|" + s.bankCode() + "|" + s.enabledText(), "X|XX|True");
    s.setPaymentType("c");
    EXPECT_FALSE(s.chequeFieldsEnabled());
    s.setPaymentType("C");
    s.setEnabledText("TRUE");
    EXPECT_TRUE(s.chequeFieldsEnabled());
    s.setEnabledText("");
    EXPECT_FALSE(s.controlsEnabled() || s.chequeFieldsEnabled());
    EXPECT_TRUE(isChequeNumberText("000123"));
    EXPECT_FALSE(isChequeNumberText(QString::fromUtf16(u"\u0661\u0662"))); // Arabic digits
}

} // namespace
} // namespace qz
