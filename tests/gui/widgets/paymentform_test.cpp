// Tests of the payment-form control: properties round trip and drive the widgets, enabling
// follows type and enabled text, typing is digits only, changed() only for the user.
#include "gui/widgets/paymentform.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace qz {
namespace {

const std::vector<Bank> kBanks = {{"01", "NACION"}, {"02", "CREDITO"}, {"03", "CONTINENTAL"}};

// The form's widgets by object name.
struct Parts {
    explicit Parts(FormaDePagoZEB &form)
        : cheque(form.findChild<QRadioButton *>("optCheque")),
          cash(form.findChild<QRadioButton *>("optEfectivo")),
          bank(form.findChild<QComboBox *>("cboBanco")),
          number(form.findChild<QLineEdit *>("txtNumCheque"))
    {
    }
    QRadioButton *cheque, *cash;
    QComboBox *bank;
    QLineEdit *number;
};

TEST(PaymentForm, PropertiesRoundTripAndShowInTheWidgets)
{
    FormaDePagoZEB form;
    const Parts p(form);
    ASSERT_TRUE(p.cheque && p.cash && p.bank && p.number);
    QSignalSpy changed(&form, &FormaDePagoZEB::changed);
    form.setBankCode("02"); // before the list arrives, as the loader may do
    form.setBanks(kBanks);
    form.setChequeNumber("004512");
    form.setAmount("1,234");
    form.setPaymentType("C");
    EXPECT_EQ(form.paymentType() + form.bankCode() + form.chequeNumber() + form.amount(),
              "C020045121,234");
    EXPECT_TRUE(p.cheque->isChecked());
    EXPECT_EQ(p.bank->currentText(), "02 - CREDITO");
    EXPECT_EQ(form.findChild<QLabel *>("lblImporte")->text(), "1,234");

    // "X" clears both buttons although they are an exclusive pair.
    form.setPaymentType("X");
    EXPECT_FALSE(p.cash->isChecked() || p.cheque->isChecked());
    // The cash row's blank and an unlisted code come back unchanged and select no entry.
    for (const char *code : {" ", "99", "XX"}) {
        form.setBankCode(code);
        EXPECT_EQ(form.bankCode(), code);
        EXPECT_EQ(p.bank->currentIndex(), -1) << code;
    }
    EXPECT_EQ(changed.count(), 0) << "the program's own writes are not user changes";
}

TEST(PaymentForm, EnablingFollowsTypeAndEnabledText)
{
    FormaDePagoZEB form;
    const Parts p(form);
    EXPECT_FALSE(p.bank->isEnabled()); // nothing chosen yet
    form.setPaymentType("C");
    EXPECT_TRUE(p.bank->isEnabled() && p.number->isEnabled());
    form.setPaymentType("E");
    EXPECT_FALSE(p.bank->isEnabled() || p.number->isEnabled());

    form.setEnabledText("False");
    form.setPaymentType("C"); // the order of the writes must not unlock the form
    for (QWidget *w : std::initializer_list<QWidget *>{p.cheque, p.cash, p.bank, p.number})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    form.setEnabledText("True");
    EXPECT_TRUE(p.cash->isEnabled() && p.bank->isEnabled());
}

TEST(PaymentForm, UserChoicesUpdateThePropertiesAndSignal)
{
    FormaDePagoZEB form;
    form.setBanks(kBanks);
    form.show();
    const Parts p(form);
    QSignalSpy changed(&form, &FormaDePagoZEB::changed);

    QTest::mouseClick(p.cheque, Qt::LeftButton);
    QTest::mouseClick(p.cheque, Qt::LeftButton); // already chosen: no change
    EXPECT_EQ(form.paymentType(), "C");
    EXPECT_EQ(changed.count(), 1);

    QTest::keyClick(p.bank, Qt::Key_Down);
    QTest::keyClick(p.bank, Qt::Key_End);
    EXPECT_EQ(form.bankCode(), "03");
    QTest::keyClicks(p.number, "12a-3 .4");
    EXPECT_EQ(form.chequeNumber(), "1234");
    EXPECT_EQ(changed.count(), 7); // type, two banks, four digits

    QTest::mouseClick(p.cash, Qt::LeftButton);
    EXPECT_EQ(form.paymentType(), "E");
    EXPECT_FALSE(p.bank->isEnabled());
    form.setEnabledText("False");
    QTest::mouseClick(p.cheque, Qt::LeftButton);
    EXPECT_EQ(form.paymentType(), "E");
    EXPECT_EQ(changed.count(), 8);
}

} // namespace
} // namespace qz
