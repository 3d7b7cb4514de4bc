// The status-bar control: four plain-text panels and the numeric setting.
#include "gui/widgets/statusbar.h"

#include <QFontMetrics>
#include <QLabel>

namespace qz {

namespace {

// Minimum panel widths in characters: an 11-digit taxpayer number, a period of up to seven
// ("yyyy" or "mm/yyyy"), a four-character form code. The name panel takes the rest.
constexpr int kNumberChars = 11;
constexpr int kPeriodChars = 7;
constexpr int kFormChars = 4;

} // namespace

BarradeEstadoZEB::BarradeEstadoZEB(QWidget *parent) : QStatusBar(parent)
{
    numberPanel_ = addPanel(QStringLiteral("pnlRuc"), 0);
    namePanel_ = addPanel(QStringLiteral("pnlRazon"), 1);
    periodPanel_ = addPanel(QStringLiteral("pnlPeriodo"), 0);
    formPanel_ = addPanel(QStringLiteral("pnlFormulario"), 0);

    const QFontMetrics metrics(font());
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    const int margin = 2 * metrics.horizontalAdvance(QLatin1Char(' '));
    numberPanel_->setMinimumWidth(kNumberChars * digit + margin);
    periodPanel_->setMinimumWidth(kPeriodChars * digit + margin);
    formPanel_->setMinimumWidth(kFormChars * digit + margin);
    setNumericSetting(0);
}

QLabel *BarradeEstadoZEB::addPanel(const QString &objectName, int stretch)
{
    auto *label = new QLabel(this);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    // The label draws its own frame, so the panels look alike in every style.
    addWidget(label, stretch);
    return label;
}

void BarradeEstadoZEB::setTaxpayerNumber(const QString &text)
{
    setText(Field::TaxpayerNumber, number_, text);
}

void BarradeEstadoZEB::setTaxpayerName(const QString &text)
{
    setText(Field::TaxpayerName, name_, text);
}

void BarradeEstadoZEB::setPeriod(const QString &text)
{
    setText(Field::Period, period_, text);
}

void BarradeEstadoZEB::setFormCode(const QString &text)
{
    setText(Field::FormCode, formCode_, text);
}

void BarradeEstadoZEB::setText(Field field, QString &member, const QString &text)
{
    member = text;
    panel(field)->setText(text);
    emit fieldWritten(field);
}

void BarradeEstadoZEB::setNumericSetting(int value)
{
    setting_ = value;
    const int style = QFrame::Panel | (value == 0 ? QFrame::Plain : QFrame::Sunken);
    const int lineWidth = value == 0 ? 0 : 1;
    for (QLabel *label : {numberPanel_, namePanel_, periodPanel_, formPanel_}) {
        label->setFrameStyle(style);
        label->setLineWidth(lineWidth);
    }
    emit fieldWritten(Field::NumericSetting);
}

QLabel *BarradeEstadoZEB::panel(Field field) const
{
    switch (field) {
    case Field::TaxpayerNumber:
        return numberPanel_;
    case Field::TaxpayerName:
        return namePanel_;
    case Field::Period:
        return periodPanel_;
    case Field::FormCode:
        return formPanel_;
    case Field::NumericSetting:
        break;
    }
    return nullptr;
}

} // namespace qz
