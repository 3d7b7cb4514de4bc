// declmod's start as the host starts it, on a private X server with the real programs: the
// host window check, the single-instance rule and the exit. Message boxes are found in the X
// window list by their titles and answered with a close request, as a user would.
#include "core/data/config.h"
#include "core/platform/windowlist.h"
#include "support/tempinstall.h"
#include "support/windowowner.h"
#include "support/xvfbserver.h"
#include "support/xwindowclose.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <optional>

namespace {

using qz::test::WindowOwner;
using qz::test::XvfbServer;

const QString kMainTitle = QStringLiteral("731 Vexilar - v 1.3");

class DeclmodStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        bin_ = qEnvironmentVariable("QZ_BIN_DIR");
        if (bin_.isEmpty()) {
            GTEST_SKIP() << "QZ_BIN_DIR is not set";
        }
        ASSERT_TRUE(server_.isRunning()) << qPrintable(server_.errorString());
        ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString();
        ASSERT_TRUE(runtime_.isValid());
    }

    // The environment the host gives its programs, on the private server, with a lock folder
    // of this test's own.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = server_.environment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        return env;
    }
    void start(QProcess &p, const QString &program) const
    {
        p.setProcessEnvironment(environment());
        p.setWorkingDirectory(inst_.dir());
        p.start(bin_ + "/" + program, {});
        ASSERT_TRUE(p.waitForStarted(10000));
    }
    // The viewable window with exactly this title, waiting up to ms for it.
    std::optional<std::uint32_t> waitForWindow(const QString &title, int ms = 20000) const
    {
        const QByteArray wanted = title.toUtf8();
        QDeadlineTimer deadline(ms);
        do {
            for (const qz::TopLevelWindow &w :
                 qz::topLevelWindows(server_.display()).value_or(QList<qz::TopLevelWindow>{})) {
                if (w.viewable && w.title == wanted) {
                    return w.id;
                }
            }
            QThread::msleep(50);
        } while (!deadline.hasExpired());
        return std::nullopt;
    }
    bool windowShown(const QString &title) const { return waitForWindow(title, 0).has_value(); }
    // Finds the message box, answers it and returns the program's exit status. Without a
    // main window of another copy, none may be shown beside the box.
    int answerAndWait(QProcess &p, const QString &title, bool mainWindowAllowed = false) const
    {
        const std::optional<std::uint32_t> box = waitForWindow(title);
        EXPECT_TRUE(box.has_value()) << "no message box " << title.toStdString();
        if (!box) {
            p.kill();
            p.waitForFinished(5000);
            return -1;
        }
        EXPECT_TRUE(mainWindowAllowed || !windowShown(kMainTitle));
        qz::test::requestClose(server_.display(), *box);
        EXPECT_TRUE(p.waitForFinished(20000));
        return p.exitCode();
    }

    QString bin_;
    XvfbServer server_;
    qz::test::TempInstall inst_;
    QTemporaryDir runtime_;
};

TEST_F(DeclmodStart, WithoutTheHostWindowEndsBeforeOpeningAnything)
{
    QProcess declmod;
    start(declmod, "declmod");
    EXPECT_EQ(answerAndWait(declmod, QString::fromUtf8("Error al ejecutar el módulo")), 1);
    // SystemDB is written when the database is opened: it never was.
    EXPECT_TRUE(qz::readOption("SystemDB").isEmpty());
}

TEST_F(DeclmodStart, LookalikeHostWindowsDoNotCount)
{
    const struct {
        const char *title;
        bool hidden;
    } lookalikes[] = {
        {"Velquira", true}, {"velquira", false}, {"Velquirá", false}, {"Velquira ", false}};
    for (const auto &l : lookalikes) {
        SCOPED_TRACE(l.title);
        WindowOwner host(server_, QString::fromUtf8(l.title), l.hidden,
                         QStringLiteral(QZ_WINDOW_OWNER));
        ASSERT_TRUE(host.ready()) << qPrintable(host.error());
        QProcess declmod;
        start(declmod, "declmod");
        EXPECT_EQ(answerAndWait(declmod, QString::fromUtf8("Error al ejecutar el módulo")), 1);
    }
}

TEST_F(DeclmodStart, UnderTheHostOneCopyRunsUntilItsWindowCloses)
{
    QProcess host;
    start(host, "velquira");
    ASSERT_TRUE(waitForWindow("Velquira")) << "velquira showed no window";

    QProcess first;
    start(first, "declmod");
    const std::optional<std::uint32_t> main = waitForWindow(kMainTitle);
    ASSERT_TRUE(main) << first.readAllStandardError().toStdString();
    // The window shows first, then the load opens the database and writes SystemDB.
    QDeadlineTimer opened(20000);
    while (qz::readOption("SystemDB").isEmpty() && !opened.hasExpired()) {
        QThread::msleep(50);
    }
    EXPECT_EQ(qz::readOption("SystemDB"), inst_.sysPath() + "QZ000.MDW");

    QProcess second;
    start(second, "declmod");
    EXPECT_EQ(answerAndWait(second, QString::fromUtf8("Declaración Vexilar"), true), 1);
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_TRUE(windowShown(kMainTitle));

    qz::test::requestClose(server_.display(), *main);
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    host.kill();
    host.waitForFinished(5000);
}

} // namespace
