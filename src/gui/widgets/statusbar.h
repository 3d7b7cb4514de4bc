// The status-bar control BarradeEstadoZEB at the bottom of the main window: four text fields
// (taxpayer number, taxpayer name or message, period, form code) shown as sunken panels, and
// one numeric setting.
//
// Every field reads back exactly the text it was given: the period field carries the current
// declaration's exercise from one window to the next. Texts are shown as plain text, so a
// name such as "<B> & CIA" is shown as typed and never taken for markup.
//
// The numeric setting chooses the panels' look: 0 (a fresh control) draws them flat, any
// other value sunken. The main window sets 1 when it loads.
#pragma once

#include <QStatusBar>

class QLabel;

namespace qz {

class BarradeEstadoZEB : public QStatusBar {
    Q_OBJECT
    Q_PROPERTY(QString taxpayerNumber READ taxpayerNumber WRITE setTaxpayerNumber)
    Q_PROPERTY(QString taxpayerName READ taxpayerName WRITE setTaxpayerName)
    Q_PROPERTY(QString period READ period WRITE setPeriod)
    Q_PROPERTY(QString formCode READ formCode WRITE setFormCode)
    Q_PROPERTY(int numericSetting READ numericSetting WRITE setNumericSetting)

public:
    enum class Field { TaxpayerNumber, TaxpayerName, Period, FormCode, NumericSetting };
    Q_ENUM(Field)

    explicit BarradeEstadoZEB(QWidget *parent = nullptr);

    // Each setter shows the text in its panel and emits fieldWritten, even for the same text.
    QString taxpayerNumber() const { return number_; }
    void setTaxpayerNumber(const QString &text);
    // The name panel doubles as the message line.
    QString taxpayerName() const { return name_; }
    void setTaxpayerName(const QString &text);
    QString period() const { return period_; }
    void setPeriod(const QString &text);
    QString formCode() const { return formCode_; }
    void setFormCode(const QString &text);

    int numericSetting() const { return setting_; }
    void setNumericSetting(int value);

    // The label of a panel (for layout and tests); nullptr for NumericSetting.
    QLabel *panel(Field field) const;

signals:
    // A field or the setting was written, in the order the writes happened.
    void fieldWritten(qz::BarradeEstadoZEB::Field field);

private:
    QLabel *addPanel(const QString &objectName, int stretch);
    void setText(Field field, QString &member, const QString &text);

    QString number_;
    QString name_;
    QString period_;
    QString formCode_;
    int setting_ = 0;
    QLabel *numberPanel_ = nullptr;
    QLabel *namePanel_ = nullptr;
    QLabel *periodPanel_ = nullptr;
    QLabel *formPanel_ = nullptr;
};

} // namespace qz
