// Tests of the single-instance lock: between processes (a live holder blocks, one that was
// killed does not, nor does anything a dead copy left behind) and within one process
// (re-taking, renaming, releasing).
#include "core/platform/singleinstance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

namespace {

// Every test gets its own runtime folder, where the lock files live.
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(runtime_.isValid());
        hadRuntime_ = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
        oldRuntime_ = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
    }
    void TearDown() override
    {
        if (hadRuntime_) {
            qputenv("XDG_RUNTIME_DIR", oldRuntime_);
        } else {
            qunsetenv("XDG_RUNTIME_DIR");
        }
    }
    // Starts test_lock_holder and returns its first line ("locked" or "busy").
    std::unique_ptr<QProcess> startHolder(const QString &name, QByteArray *line)
    {
        auto process = std::make_unique<QProcess>();
        process->start(QStringLiteral(QZ_LOCK_HOLDER), {name});
        line->clear();
        while (!line->contains('\n') && process->waitForReadyRead(10000)) {
            *line += process->readAllStandardOutput();
        }
        *line = line->trimmed();
        return process;
    }

    QTemporaryDir runtime_;
    bool hadRuntime_ = false;
    QByteArray oldRuntime_;
};

TEST_F(SingleInstanceTest, LockOfAKilledProcessDoesNotBlock)
{
    QByteArray line;
    const auto holder = startHolder(QStringLiteral("declmod"), &line);
    ASSERT_EQ(line, "locked");
    EXPECT_TRUE(QFileInfo(qz::SingleInstance::lockPath(QStringLiteral("declmod")))
                    .absolutePath()
                    .startsWith(QFileInfo(runtime_.path()).absoluteFilePath()));

    qz::SingleInstance second;
    EXPECT_FALSE(second.acquire(QStringLiteral("declmod")));

    holder->kill(); // SIGKILL: nothing of the holder's runs after it
    ASSERT_TRUE(holder->waitForFinished(5000));
    EXPECT_EQ(holder->exitStatus(), QProcess::CrashExit);
    // The killed process could not remove its lock file; the next start takes the lock at
    // once all the same.
    EXPECT_TRUE(QFileInfo::exists(qz::SingleInstance::lockPath(QStringLiteral("declmod"))));
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(second.acquire(QStringLiteral("declmod")));
    EXPECT_LT(clock.elapsed(), 1000);

    // ... and holds it against the next process.
    const auto third = startHolder(QStringLiteral("declmod"), &line);
    EXPECT_EQ(line, "busy");
}

// What a copy killed at any moment can leave behind: the lock file as created but not yet
// written, a half-written or foreign content, the marker of a removal that never finished.
struct Leftover {
    const char *what;
    QByteArray content;  // of the lock file; not written when null
    const char *sibling; // a file next to it, by suffix
};

class LeftoverTest : public SingleInstanceTest, public ::testing::WithParamInterface<Leftover> {};

TEST_P(LeftoverTest, DoesNotBlockTheNextStart)
{
    const QString path = qz::SingleInstance::lockPath(QStringLiteral("declrep"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!GetParam().content.isNull()) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(GetParam().content);
    }
    if (GetParam().sibling) {
        QFile f(path + QString::fromLatin1(GetParam().sibling));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("1\n");
    }
    QElapsedTimer clock;
    clock.start();
    qz::SingleInstance instance;
    EXPECT_TRUE(instance.acquire(QStringLiteral("declrep")));
    EXPECT_LT(clock.elapsed(), 1000);
    QByteArray line;
    const auto other = startHolder(QStringLiteral("declrep"), &line);
    EXPECT_EQ(line, "busy") << "the lock taken over a leftover still excludes";
}

INSTANTIATE_TEST_SUITE_P(
    SingleInstance, LeftoverTest,
    ::testing::Values(Leftover{"empty", QByteArray(""), nullptr},
                      Leftover{"garbage", QByteArray("\x01\xff not a pid\n\n\n"), nullptr},
                      Leftover{"live_pid",
                               QByteArray::number(QCoreApplication::applicationPid()) +
                                   "\ntest_platform\nhost\n",
                               nullptr},
                      Leftover{"removal_marker", QByteArray("1\n"), ".rmlock"},
                      Leftover{"marker_only", QByteArray(), ".rmlock"}),
    [](const ::testing::TestParamInfo<Leftover> &p) { return std::string(p.param.what); });

// A program the holder starts (qzmessage, declmod) must not keep the lock once the holder
// has let it go.
TEST_F(SingleInstanceTest, ChildOfTheHolderDoesNotInheritTheLock)
{
    auto holder = std::make_unique<qz::SingleInstance>();
    ASSERT_TRUE(holder->acquire(QStringLiteral("declchk")));
    QProcess child;
    child.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(child.waitForStarted(5000));
    holder.reset();

    QByteArray line;
    const auto next = startHolder(QStringLiteral("declchk"), &line);
    EXPECT_EQ(line, "locked");
    child.kill();
    child.waitForFinished(5000);
}

TEST_F(SingleInstanceTest, SecondProcessIsRefusedUntilTheFirstEnds)
{
    QByteArray line;
    const auto first = startHolder(QStringLiteral("declmod"), &line);
    ASSERT_EQ(line, "locked");

    const auto second = startHolder(QStringLiteral("declmod"), &line);
    EXPECT_EQ(line, "busy");
    ASSERT_TRUE(second->waitForFinished(5000));
    EXPECT_EQ(second->exitCode(), 1);

    const auto other = startHolder(QStringLiteral("declrep"), &line);
    EXPECT_EQ(line, "locked") << "a lock of another name is independent";

    first->closeWriteChannel(); // the first copy ends normally and frees the name
    other->closeWriteChannel();
    ASSERT_TRUE(first->waitForFinished(5000));
    EXPECT_TRUE(other->waitForFinished(5000));
    qz::SingleInstance next;
    EXPECT_TRUE(next.acquire(QStringLiteral("declmod")));
}

TEST_F(SingleInstanceTest, WithinOneProcess)
{
    auto a = std::make_unique<qz::SingleInstance>();
    qz::SingleInstance b;
    EXPECT_TRUE(a->acquire(QStringLiteral("x")));
    EXPECT_TRUE(a->acquire(QStringLiteral("x"))) << "holding it already counts";
    EXPECT_FALSE(b.acquire(QStringLiteral("x")));

    // Moving to another name lets the first one go.
    EXPECT_TRUE(a->acquire(QStringLiteral("y")));
    EXPECT_TRUE(b.acquire(QStringLiteral("x")));
    qz::SingleInstance c;
    EXPECT_FALSE(c.acquire(QStringLiteral("y")));

    a.reset(); // destroying releases
    EXPECT_TRUE(c.acquire(QStringLiteral("y")));
}

} // namespace
