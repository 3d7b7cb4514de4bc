// The payment form's data without a window: the bank list of PARAM '004' and the five text
// properties the declaration window reads and writes, with the rules that decide which of
// the form's fields the user may change.
//
// Properties are kept exactly as they were set (the loader writes back what the save stored,
// and a later read must give it back unchanged), so an unknown bank code or a blank one
// survives a round trip; only the rules below interpret them.
#pragma once

#include "core/data/database.h"

#include <QString>

#include <vector>

namespace qz {

// One bank of PARAM '004': its two-character code and its name (Funcion 1-36, trimmed).
struct Bank {
    QString code;
    QString name;

    bool operator==(const Bank &) const = default;
};

// The statement that reads the banks.
QString bankStatement();

// The banks of PARAM '004' in code order, without the '00' row (it means "no bank"). Codes are
// the trimmed Argumento cut to two characters. Throws DbError.
std::vector<Bank> loadBanks(Database &db);

// The text of a bank in the form's list: code, " - ", name.
QString bankListText(const Bank &bank);

// True when text may stand in the cheque-number field: ASCII digits only (empty included).
bool isChequeNumberText(const QString &text);

class PaymentState final {
public:
    static QString chequeType() { return QStringLiteral("C"); }
    static QString cashType() { return QStringLiteral("E"); }
    static QString noType() { return QStringLiteral("X"); }
    static QString noBank() { return QStringLiteral("XX"); }

    // A fresh form: type "X", bank "XX", no cheque number, no amount, enabled "True".
    PaymentState() = default;

    QString paymentType() const { return paymentType_; }
    QString bankCode() const { return bankCode_; }
    QString chequeNumber() const { return chequeNumber_; }
    QString amount() const { return amount_; }
    QString enabledText() const { return enabledText_; }

    void setPaymentType(const QString &v) { paymentType_ = v; }
    void setBankCode(const QString &v) { bankCode_ = v; }
    void setChequeNumber(const QString &v) { chequeNumber_ = v; }
    void setAmount(const QString &v) { amount_ = v; }
    void setEnabledText(const QString &v) { enabledText_ = v; }

    // The user may use the form at all: enabled reads "True" (case ignored, as the host
    // converts its yes/no texts); any other text disables it.
    bool controlsEnabled() const;
    // Bank and cheque number may be changed: the form is enabled and the type is exactly "C".
    bool chequeFieldsEnabled() const;

private:
    QString paymentType_ = noType();
    QString bankCode_ = noBank();
    QString chequeNumber_;
    QString amount_;
    QString enabledText_ = QStringLiteral("True");
};

} // namespace qz
