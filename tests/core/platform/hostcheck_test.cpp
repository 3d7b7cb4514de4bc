// The integrator check end to end: the real velquira shows its window on a private Xvfb, and
// CorreApp("Velquira") sees it while it runs and no longer once it has ended.
#include "core/platform/windowlist.h"
#include "support/tempinstall.h"
#include "support/xvfbserver.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QThread>

namespace {

// Polls CorreApp on display until it gives wanted or timeoutMs pass; returns the last answer.
bool correAppBecomes(const QByteArray &display, bool wanted, int timeoutMs)
{
    const bool had = qEnvironmentVariableIsSet("DISPLAY");
    const QByteArray old = qgetenv("DISPLAY");
    qputenv("DISPLAY", display);
    const QDeadlineTimer deadline(timeoutMs);
    bool found = qz::CorreApp(QStringLiteral("Velquira"));
    while (found != wanted && !deadline.hasExpired()) {
        QThread::msleep(20);
        found = qz::CorreApp(QStringLiteral("Velquira"));
    }
    if (had) {
        qputenv("DISPLAY", old);
    } else {
        qunsetenv("DISPLAY");
    }
    return found;
}

TEST(HostCheck, VelquiraWindowIsSeenWhileItRuns)
{
    const QString bin = qEnvironmentVariable("QZ_BIN_DIR");
    if (bin.isEmpty()) {
        GTEST_SKIP() << "QZ_BIN_DIR is not set";
    }
    const qz::test::TempInstall install;
    ASSERT_TRUE(install.ok()) << qPrintable(install.message());
    const qz::test::XvfbServer server;
    ASSERT_TRUE(server.isRunning()) << qPrintable(server.errorString());

    EXPECT_FALSE(correAppBecomes(server.display(), true, 0));
    QProcess velquira;
    velquira.setProcessEnvironment(server.environment()); // QZ_INI_DIR of the installation
    velquira.start(QDir(bin).filePath(QStringLiteral("velquira")), {});
    ASSERT_TRUE(velquira.waitForStarted(10000));

    EXPECT_TRUE(correAppBecomes(server.display(), true, 15000))
        << qPrintable(QString::fromLocal8Bit(velquira.readAllStandardError()));

    velquira.kill();
    velquira.waitForFinished(5000);
    EXPECT_FALSE(correAppBecomes(server.display(), false, 5000));
}

} // namespace
