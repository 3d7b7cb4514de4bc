// Tests of the shared window routines on real widgets: Enter as Tab, placement, centring on
// the main window and the status-bar publisher.
#include "gui/widgets/windowroutines.h"

#include "gui/widgets/statusbar.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cmath>

namespace qz {
namespace {

TEST(EnterAsTab, MovesLikeTabAndLeavesTheKeyToTheFilter)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    QLineEdit *f[3];
    for (QLineEdit *&e : f)
        layout->addWidget(e = new QLineEdit(&window));
    QWidget::setTabOrder(f[0], f[2]); // tab order, not layout order, decides
    QWidget::setTabOrder(f[2], f[1]);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    f[0]->setFocus();

    EXPECT_TRUE(enterAsTab(QStringLiteral("TAB")));
    EXPECT_EQ(QApplication::focusWidget(), f[2]);
    EXPECT_FALSE(enterAsTab(QStringLiteral("tab")));
    EXPECT_EQ(enterKeyAsTab(65), 65);
    EXPECT_EQ(QApplication::focusWidget(), f[2]);
    EXPECT_EQ(enterKeyAsTab(kEnterKey), kEnterKey);
    EXPECT_EQ(QApplication::focusWidget(), f[1]);
    EXPECT_EQ(f[2]->text(), ""); // no tab character typed
}

// Position of a 600 x 401 window named objectName centred on a 1000 x 800 main window at
// (100, 50).
QPoint centredOn(const QString &objectName, bool exact)
{
    QWidget main;
    main.setGeometry(100, 50, 1000, 800);
    QWidget window;
    window.setObjectName(objectName);
    window.resize(600, 401);
    exact ? centreOnMainWindowExact(window, &main) : centreOnMainWindow(window, &main);
    return window.pos();
}

TEST(Placement, CentringAndTheDeclarationForm)
{
    QWidget probe;
    const double dpi = probe.screen()->logicalDotsPerInchY();
    const QPoint plain = centredOn(QStringLiteral("frmAcercade"), false);
    EXPECT_EQ(plain.x(), 300);
    EXPECT_NEAR(plain.y(), 50 + 199.5, 1.0);
    const QPoint form = centredOn(QStringLiteral("Frm731"), false);
    EXPECT_EQ(form.x(), plain.x());
    EXPECT_NEAR(plain.y() - form.y(), 240 * dpi / 1440, 1.0);
    EXPECT_EQ(centredOn(QStringLiteral("Frm731"), true), plain); // the second form never raises
}

TEST(Placement, NormalStateThenPlaceFromTwips)
{
    QWidget window;
    window.setWindowState(Qt::WindowMaximized);
    placeWindow(window, 1440, 0, 1440, 2880);
    const double dpi = window.screen()->logicalDotsPerInchX();
    EXPECT_FALSE(window.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(QPoint(window.x(), window.width()), QPoint(std::lround(dpi), std::lround(2 * dpi)));
}

TEST(DropDown, OpenPartWidthFromTheAverageLetter)
{
    QWidget window;
    QComboBox list(&window);
    ASSERT_GT(averageCharWidth(window), 0);
    setDropDownWidth(window, list, 15);
    EXPECT_EQ(list.view()->minimumWidth(), averageCharWidth(window) * 13);
}

TEST(StatusPublisher, SettingFirstThenTheFourFieldsInOrder)
{
    BarradeEstadoZEB bar;
    using Field = BarradeEstadoZEB::Field;
    std::vector<Field> order;
    QObject::connect(&bar, &BarradeEstadoZEB::fieldWritten,
                     [&order](Field f) { order.push_back(f); });
    publishStatus(bar, QStringLiteral("20100079705"), QStringLiteral("EMPRESA S.A."),
                  QStringLiteral("2004"), QStringLiteral("0731"));
    EXPECT_EQ(order, (std::vector<Field>{Field::NumericSetting, Field::TaxpayerNumber,
                                         Field::TaxpayerName, Field::Period, Field::FormCode}));
    EXPECT_EQ(bar.numericSetting(), 1);
    EXPECT_EQ(bar.taxpayerNumber() + bar.taxpayerName() + bar.period() + bar.formCode(),
              "20100079705EMPRESA S.A.20040731");
}

} // namespace
} // namespace qz
