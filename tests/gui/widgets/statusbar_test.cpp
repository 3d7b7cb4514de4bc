// Tests of the status-bar control: fields read back exactly what was written and show as
// plain text; the numeric setting chooses sunken panels.
#include "gui/widgets/statusbar.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace qz {
namespace {

using Field = BarradeEstadoZEB::Field;

TEST(StatusBar, FieldsReadBackExactlyAndShowAsPlainText)
{
    BarradeEstadoZEB bar;
    bar.setTaxpayerName(QStringLiteral("AB"));
    const int plainWidth = bar.panel(Field::TaxpayerName)->sizeHint().width();
    const QString name = QStringLiteral("<b></b>AB & CIA ");
    bar.setTaxpayerNumber(QStringLiteral("20100079705"));
    bar.setTaxpayerName(name);
    bar.setProperty("period", QStringLiteral(" 2004 ")); // travels between windows as it is
    bar.setFormCode(QStringLiteral("0731"));
    EXPECT_EQ(bar.taxpayerNumber(), "20100079705");
    EXPECT_EQ(bar.taxpayerName(), name);
    EXPECT_EQ(bar.period(), " 2004 ");
    EXPECT_EQ(bar.formCode(), "0731");
    EXPECT_EQ(bar.panel(Field::Period)->text(), " 2004 ");
    // Taken as rich text the tags would vanish and the panel would be no wider.
    EXPECT_GT(bar.panel(Field::TaxpayerName)->sizeHint().width(), plainWidth);

    EXPECT_EQ(bar.panel(Field::FormCode)->frameShadow(), QFrame::Plain); // setting 0
    bar.setNumericSetting(1);
    EXPECT_EQ(bar.numericSetting(), 1);
    for (Field f : {Field::TaxpayerNumber, Field::TaxpayerName, Field::Period, Field::FormCode})
        EXPECT_EQ(bar.panel(f)->frameShadow(), QFrame::Sunken);
}

} // namespace
} // namespace qz
