// The payment-form control: widgets bound both ways to a PaymentState.
#include "gui/widgets/paymentform.h"

#include "core/data/database.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

namespace qz {

FormaDePagoZEB::FormaDePagoZEB(QWidget *parent) : QWidget(parent)
{
    buildLayout();
    showType();
    showBank();
    chequeEdit_->setText(state_.chequeNumber());
    amountLabel_->setText(state_.amount());
    applyEnabling();
}

void FormaDePagoZEB::buildLayout()
{
    chequeButton_ = new QRadioButton(QStringLiteral("Cheque"), this);
    chequeButton_->setObjectName(QStringLiteral("optCheque"));
    cashButton_ = new QRadioButton(QStringLiteral("Efectivo"), this);
    cashButton_->setObjectName(QStringLiteral("optEfectivo"));
    typeGroup_ = new QButtonGroup(this);
    typeGroup_->addButton(cashButton_);
    typeGroup_->addButton(chequeButton_);

    bankList_ = new QComboBox(this);
    bankList_->setObjectName(QStringLiteral("cboBanco"));
    bankList_->setEditable(false);

    chequeEdit_ = new QLineEdit(this);
    chequeEdit_->setObjectName(QStringLiteral("txtNumCheque"));
    // ASCII digits only: \d would also let other scripts' digits through.
    chequeEdit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), chequeEdit_));

    amountLabel_ = new QLabel(this);
    amountLabel_->setObjectName(QStringLiteral("lblImporte"));
    amountLabel_->setTextFormat(Qt::PlainText);
    amountLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    amountLabel_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // As tall as a field even while empty: an empty label shrinks to its frame.
    amountLabel_->setMinimumHeight(chequeEdit_->sizeHint().height());

    auto *types = new QHBoxLayout;
    types->addWidget(cashButton_);
    types->addWidget(chequeButton_);
    types->addStretch(1);

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Forma de Pago :"), this), 0, 0);
    grid->addLayout(types, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Banco :"), this), 1, 0);
    grid->addWidget(bankList_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Número de Cheque :"), this), 2, 0);
    grid->addWidget(chequeEdit_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Importe a Pagar :"), this), 3, 0);
    grid->addWidget(amountLabel_, 3, 1);
    grid->setColumnStretch(1, 1);

    // clicked, activated and textEdited come from the user only, never from our own setters.
    connect(chequeButton_, &QRadioButton::clicked, this, &FormaDePagoZEB::userChoseType);
    connect(cashButton_, &QRadioButton::clicked, this, &FormaDePagoZEB::userChoseType);
    connect(bankList_, &QComboBox::activated, this, &FormaDePagoZEB::userChoseBank);
    connect(chequeEdit_, &QLineEdit::textEdited, this, &FormaDePagoZEB::userEditedCheque);
}

void FormaDePagoZEB::loadBanks(Database &db)
{
    setBanks(qz::loadBanks(db));
}

void FormaDePagoZEB::setBanks(const std::vector<Bank> &banks)
{
    banks_ = banks;
    const QSignalBlocker block(bankList_);
    bankList_->clear();
    for (const Bank &bank : banks_)
        bankList_->addItem(bankListText(bank), bank.code);
    showBank();
}

void FormaDePagoZEB::setPaymentType(const QString &type)
{
    state_.setPaymentType(type);
    showType();
    applyEnabling();
}

void FormaDePagoZEB::setBankCode(const QString &code)
{
    state_.setBankCode(code);
    showBank();
}

void FormaDePagoZEB::setChequeNumber(const QString &number)
{
    state_.setChequeNumber(number);
    // setText does not pass through the validator, so a stored number always shows as it is.
    chequeEdit_->setText(number);
}

void FormaDePagoZEB::setAmount(const QString &amount)
{
    state_.setAmount(amount);
    amountLabel_->setText(amount);
}

void FormaDePagoZEB::setEnabledText(const QString &enabled)
{
    state_.setEnabledText(enabled);
    applyEnabling();
}

void FormaDePagoZEB::showType()
{
    const QString type = state_.paymentType();
    QRadioButton *chosen = type == PaymentState::chequeType() ? chequeButton_
                           : type == PaymentState::cashType() ? cashButton_
                                                              : nullptr;
    if (chosen) {
        chosen->setChecked(true);
        return;
    }
    // An exclusive group never lets its last checked button go; "X" has to clear both.
    typeGroup_->setExclusive(false);
    chequeButton_->setChecked(false);
    cashButton_->setChecked(false);
    typeGroup_->setExclusive(true);
}

void FormaDePagoZEB::showBank()
{
    const QSignalBlocker block(bankList_);
    bankList_->setCurrentIndex(bankList_->findData(state_.bankCode()));
}

void FormaDePagoZEB::applyEnabling()
{
    const bool enabled = state_.controlsEnabled();
    const bool cheque = state_.chequeFieldsEnabled();
    const auto children = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children)
        child->setEnabled(enabled);
    bankList_->setEnabled(cheque);
    chequeEdit_->setEnabled(cheque);
}

void FormaDePagoZEB::userChoseType()
{
    const QString type =
        chequeButton_->isChecked() ? PaymentState::chequeType() : PaymentState::cashType();
    if (type == state_.paymentType())
        return; // a click on the button already chosen changes nothing
    state_.setPaymentType(type);
    applyEnabling();
    emit changed();
}

void FormaDePagoZEB::userChoseBank(int index)
{
    state_.setBankCode(index < 0 ? PaymentState::noBank() : bankList_->itemData(index).toString());
    emit changed();
}

void FormaDePagoZEB::userEditedCheque(const QString &text)
{
    state_.setChequeNumber(text);
    emit changed();
}

} // namespace qz
