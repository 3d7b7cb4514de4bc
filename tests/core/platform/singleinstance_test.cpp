// Tests of the single-instance lock: between processes (a live holder blocks, one that was
// killed does not) and within one process (re-taking, renaming, releasing).
#include "core/platform/singleinstance.h"

#include <gtest/gtest.h>

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

    holder->kill();
    ASSERT_TRUE(holder->waitForFinished(5000));
    // The killed process could not remove its lock file; the next start breaks it.
    EXPECT_TRUE(QFileInfo::exists(qz::SingleInstance::lockPath(QStringLiteral("declmod"))));
    EXPECT_TRUE(second.acquire(QStringLiteral("declmod")));
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
