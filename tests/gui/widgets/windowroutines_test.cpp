// Tests of the shared window routines on real widgets: Enter as Tab, placement, centring on
// the main window, keeping windows on the screen and the status-bar publisher.
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

// Position of a 600 x 401 window named objectName centred on a 700 x 700 main window at
// (100, 50) (inside the offscreen screen of 800 x 800, so that keeping on screen moves
// nothing).
QPoint centredOn(const QString &objectName, bool exact)
{
    QWidget main;
    main.setGeometry(100, 50, 700, 700);
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
    EXPECT_EQ(plain.x(), 150);
    EXPECT_NEAR(plain.y(), 50 + 149.5, 1.0);
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

// True when the window's frame lies inside its screen's available area.
bool frameOnScreen(const QWidget &window)
{
    return window.screen()->availableGeometry().contains(window.frameGeometry());
}

TEST(Placement, TheMainWindowsNegativePlaceStaysOnScreen)
{
    // The main window's own placement: left and top -60 twips would hide its frame's edge.
    QWidget window;
    placeWindow(window, -60, -60, 7320, 9720);
    const double dpi = window.screen()->logicalDotsPerInchX();
    const QRect area = window.screen()->availableGeometry();
    EXPECT_EQ(window.pos(), area.topLeft());
    EXPECT_EQ(window.size(), QSize(std::lround(9720 * dpi / 1440), std::lround(7320 * dpi / 1440)));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // Once framed, the frame itself (not only the client area) is on the screen.
    ASSERT_TRUE(QTest::qWaitFor([&window] { return frameOnScreen(window); }))
        << window.frameGeometry().x() << "," << window.frameGeometry().y();
}

TEST(Placement, TheDefinedSizeIsTheLeastAndTheScreenTheMost)
{
    // Contents that need more than the defined size get it.
    QWidget wide;
    auto *layout = new QVBoxLayout(&wide);
    auto *field = new QLineEdit(&wide);
    field->setMinimumWidth(500);
    layout->addWidget(field);
    placeWindow(wide, 0, 0, 1440, 1440);
    EXPECT_GE(wide.width(), 500);
    EXPECT_GE(wide.height(), std::lround(wide.screen()->logicalDotsPerInchY()));

    // A window larger than the screen is cut to it and put at its top-left corner.
    QWidget huge;
    const QRect area = huge.screen()->availableGeometry();
    placeWindow(huge, 1440, 1440, 1440 * 40, 1440 * 40);
    EXPECT_EQ(huge.pos(), area.topLeft());
    EXPECT_EQ(huge.size(), area.size());
    huge.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&huge));
    ASSERT_TRUE(QTest::qWaitFor([&huge] { return frameOnScreen(huge); }));
}

TEST(Placement, ACentredWindowStaysOnScreen)
{
    // A dialog larger than a main window in the screen's corner would start left of and above
    // the screen; one centred on a main window near the bottom right would leave it there.
    QWidget main;
    const QRect area = main.screen()->availableGeometry();
    main.setGeometry(area.left(), area.top(), 300, 200);
    QWidget dialog;
    dialog.setObjectName(QStringLiteral("Frm731"));
    dialog.resize(500, 400);
    centreOnMainWindow(dialog, &main);
    EXPECT_EQ(dialog.pos(), area.topLeft());

    main.move(area.right() - 250, area.bottom() - 150);
    centreOnMainWindowExact(dialog, &main);
    EXPECT_EQ(dialog.pos(), area.bottomRight() - QPoint(500, 400) + QPoint(1, 1));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_TRUE(QTest::qWaitFor([&dialog] { return frameOnScreen(dialog); }));
}

TEST(Placement, ALaterMoveIsTheUsers)
{
    // The check on the first frame runs once: a window the user then drags partly off the
    // screen stays where it was put.
    QWidget window;
    placeWindow(window, 0, 0, 1440, 1440);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&window] { return frameOnScreen(window); }));
    window.move(-40, -30);
    QTest::qWait(50);
    EXPECT_LT(window.frameGeometry().left(), -30);
    EXPECT_LT(window.frameGeometry().top(), -20);
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
