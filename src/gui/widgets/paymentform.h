// The payment-form control FormaDePagoZEB: the declaration window's choice of cash or cheque,
// the bank and cheque number of a cheque, and the amount to pay (box 180), shown read-only.
//
// The window talks to it only through five text properties (see PaymentState). Setting a
// property updates the fields at once and emits nothing; a change the user makes updates the
// property and emits changed(), so the window can tell its own loading from the user's work.
#pragma once

#include "core/components/paymentdata.h"

#include <QWidget>

#include <vector>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace qz {

class FormaDePagoZEB : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString paymentType READ paymentType WRITE setPaymentType)
    Q_PROPERTY(QString bankCode READ bankCode WRITE setBankCode)
    Q_PROPERTY(QString chequeNumber READ chequeNumber WRITE setChequeNumber)
    Q_PROPERTY(QString amount READ amount WRITE setAmount)
    Q_PROPERTY(QString enabledText READ enabledText WRITE setEnabledText)

public:
    explicit FormaDePagoZEB(QWidget *parent = nullptr);

    // Fills the bank list from PARAM '004' (without '00'). Throws DbError; the list then keeps
    // what it had.
    void loadBanks(Database &db);
    // Replaces the bank list; the chosen bank stays chosen when its code is still listed.
    void setBanks(const std::vector<Bank> &banks);
    const std::vector<Bank> &banks() const { return banks_; }

    // "C" cheque, "E" cash, "X" nothing chosen. Any other text chooses neither button.
    QString paymentType() const { return state_.paymentType(); }
    void setPaymentType(const QString &type);
    // The chosen bank's code, "XX" when none; a code that is not listed selects no entry.
    QString bankCode() const { return state_.bankCode(); }
    void setBankCode(const QString &code);
    // The cheque number; the user can type digits only, the program may set any text.
    QString chequeNumber() const { return state_.chequeNumber(); }
    void setChequeNumber(const QString &number);
    // The amount to pay as the text of box 180, shown as it is.
    QString amount() const { return state_.amount(); }
    void setAmount(const QString &amount);
    // "True" or "False": whether the user may change the form.
    QString enabledText() const { return state_.enabledText(); }
    void setEnabledText(const QString &enabled);

signals:
    // The user changed the type, the bank or the cheque number.
    void changed();

private:
    void buildLayout();
    void showType();
    void showBank();
    void applyEnabling();
    void userChoseType();
    void userChoseBank(int index);
    void userEditedCheque(const QString &text);

    PaymentState state_;
    std::vector<Bank> banks_;
    QRadioButton *chequeButton_ = nullptr;
    QRadioButton *cashButton_ = nullptr;
    QButtonGroup *typeGroup_ = nullptr;
    QComboBox *bankList_ = nullptr;
    QLineEdit *chequeEdit_ = nullptr;
    QLabel *amountLabel_ = nullptr;
};

} // namespace qz
