// Entry point of the widget tests: one QApplication for the whole run (on the offscreen
// platform), and every unexpected Qt warning a test failure.
#include "support/qtwarnings.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    qz::test::failOnQtWarnings();
    return RUN_ALL_TESTS();
}
