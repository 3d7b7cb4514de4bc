// The crash harness's fixture: a fresh installation with the module, and runs of a job (the
// crash child doing one operation of declmod, or one of the real programs) that are killed with
// SIGKILL at the Nth call that puts data on disk (the preloaded crash shim) or at a random
// moment. A trial kills a run, checks the database's integrity and the caller's invariant, and
// runs the job once more, which must succeed at once. QZ_CRASH_TRIALS sets the trials per job
// (20 by default; scripts/crash-trials.sh runs 200).
#pragma once

#include "core/data/paths.h"
#include "support/moduleinstall.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>

namespace qz::test {

inline int crashTrials()
{
    const int n = qEnvironmentVariableIntValue("QZ_CRASH_TRIALS");
    return n > 0 ? n : 20;
}

// A program and its arguments.
struct CrashJob {
    QString program;
    QStringList arguments;
    // The job prints "ok N" after each round (the crash child): a timed kill waits for the first.
    bool rounds = false;
};

struct CrashRun {
    bool killed = false;
    int exitCode = 0;
    QString error;
    qint64 milliseconds = 0;
};

class CrashHarness : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString();
        rpt_ = joinPath(inst_.dir(), "RPT");
        ASSERT_TRUE(QDir().mkpath(rpt_));
    }

    // Nearly every kill at a disk call must really have landed, or the harness tests nothing.
    void TearDown() override
    {
        if (!HasFatalFailure() && shimTrials_ > 0) {
            EXPECT_GE(shimKills_ * 10, shimTrials_ * 9) << shimKills_ << " in " << shimTrials_;
        }
    }

    // The crash child doing `loops` rounds of an operation.
    CrashJob child(const QString &op, int loops) const
    {
        return {QZ_CRASH_CHILD, {op, inst_.install().dbPath(), rpt_, QString::number(loops)}, true};
    }

    // Runs a job: killAt places SIGKILL at that disk call, killAfter kills it that many
    // milliseconds after its start (after its first round for a job with rounds).
    CrashRun run(const CrashJob &job, long killAt = 0, std::optional<int> killAfter = {},
                 const QString &countFile = {})
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_PRELOAD", QZ_CRASH_SHIM);
        env.insert("QT_QPA_PLATFORM", "offscreen"); // a message goes to stderr, not to a box
        env.remove("DISPLAY");
        if (killAt > 0) {
            env.insert("QZ_CRASH_AT", QString::number(killAt));
        }
        if (!countFile.isEmpty()) {
            env.insert("QZ_CRASH_COUNT", countFile);
        }
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(inst_.dir());
        QElapsedTimer clock;
        clock.start();
        p.start(job.program, job.arguments);
        EXPECT_TRUE(p.waitForStarted(-1)) << p.errorString().toStdString();
        if (killAfter) {
            QByteArray out;
            while (job.rounds && !out.contains("ok ") && p.waitForReadyRead(5000)) {
                out += p.readAllStandardOutput();
            }
            QThread::msleep(static_cast<unsigned long>(*killAfter));
            p.kill();
        }
        p.waitForFinished(-1);
        CrashRun r;
        r.milliseconds = clock.elapsed();
        r.killed = p.exitStatus() == QProcess::CrashExit;
        r.exitCode = p.exitCode();
        r.error = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }

    // The disk calls of a job, and how long it takes, from a run that is not killed.
    CrashRun measure(const CrashJob &job, long *calls)
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("count");
        const CrashRun r = run(job, 0, std::nullopt, file);
        EXPECT_FALSE(r.killed);
        QFile f(file);
        *calls = f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toLong() : 0;
        EXPECT_GT(*calls, 0);
        return r;
    }
    long points(const CrashJob &job)
    {
        long calls = 0;
        const CrashRun r = measure(job, &calls);
        EXPECT_EQ(r.exitCode, 0) << r.error.toStdString();
        return calls;
    }

    QString scalar(const QString &sql)
    {
        Database db = inst_.install().open();
        return db.scalar(sql).toText();
    }
    std::string integrity() { return scalar("PRAGMA integrity_check").toStdString(); }

    // Trial t: even trials kill `killed` at a disk call drawn from [1, calls], odd ones `timed`
    // at a random moment up to `window` ms; then the integrity check, the invariant, and
    // `again`, which must end normally with the status `againStatus`.
    void trial(int t, const CrashJob &killed, long calls, const CrashJob &timed, int window,
               const CrashJob &again, const std::function<void()> &check, int againStatus = 0)
    {
        SCOPED_TRACE(QString("%1 trial %2").arg(killed.arguments.value(0)).arg(t).toStdString());
        CrashRun r;
        if (t % 2 == 0) {
            ++shimTrials_;
            r = run(killed, 1 + static_cast<long>(rng_() % static_cast<unsigned>(calls)));
            shimKills_ += r.killed ? 1 : 0;
        } else {
            r = run(timed, 0, static_cast<int>(rng_() % static_cast<unsigned>(window + 1)));
        }
        // A run the kill missed (the engine's checkpoints vary the number of calls a little)
        // must still have ended as an unkilled run of the job does.
        EXPECT_TRUE(r.killed || r.exitCode == againStatus) << r.error.toStdString();
        ASSERT_EQ(integrity(), "ok");
        check();
        const CrashRun next = run(again);
        ASSERT_FALSE(next.killed);
        ASSERT_EQ(next.exitCode, againStatus) << next.error.toStdString();
    }
    // The same for an operation of the crash child: two rounds killed at a disk call, fifty
    // killed within 30 ms after the first, one round again.
    void childTrial(const QString &op, int t, long calls, const std::function<void()> &check)
    {
        trial(t, child(op, 2), calls, child(op, 50), 30, child(op, 1), check);
    }

    test::ModuleInstall inst_;
    QString rpt_;
    std::mt19937 rng_{731};
    int shimTrials_ = 0;
    int shimKills_ = 0;
};

} // namespace qz::test
