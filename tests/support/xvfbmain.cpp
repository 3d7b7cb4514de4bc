// The entry point of the in-process X11 tests.
#include "support/xvfbmain.h"

#include "support/qtwarnings.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

namespace qz::test {

int runTestsOnXvfb(int argc, char **argv, const std::function<void(XvfbServer &)> &beforeApp,
                   const std::function<void(XvfbServer &)> &withApp)
{
    XvfbServer server;
    if (!server.isRunning()) {
        std::fprintf(stderr, "no X server: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    qputenv("DISPLAY", server.display());
    qputenv("QT_QPA_PLATFORM", "xcb");
    if (beforeApp) {
        beforeApp(server);
    }
    QApplication app(argc, argv);
    if (withApp) {
        withApp(server);
    }
    testing::InitGoogleTest(&argc, argv);
    failOnQtWarnings();
    return RUN_ALL_TESTS();
}

} // namespace qz::test
