// Tests of the velquira program's command line: --init with and without --force, --help and
// arguments it must refuse.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

// The program itself, run as the README and the end-to-end tests run it.
class Program : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString bin = qEnvironmentVariable("QZ_BIN_DIR");
        if (bin.isEmpty()) {
            GTEST_SKIP() << "QZ_BIN_DIR is not set";
        }
        program_ = QDir(bin).filePath(QStringLiteral("velquira"));
        ASSERT_TRUE(iniDir_.isValid() && installDir_.isValid());
    }
    struct Run {
        int exitCode;
        QString out;
        QString err;
    };
    Run run(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QZ_INI_DIR"), iniDir_.path());
        process.setProcessEnvironment(env);
        process.start(program_, arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }
    QString program_;
    QTemporaryDir iniDir_;
    QTemporaryDir installDir_;
};

TEST_F(Program, InitRefusesASecondRunUnlessForced)
{
    const QString dir = installDir_.path() + QStringLiteral("/host");
    const Run first = run({QStringLiteral("--init"), dir});
    EXPECT_EQ(first.exitCode, 0) << qPrintable(first.err);
    EXPECT_TRUE(QFileInfo::exists(QDir(iniDir_.path()).filePath(QStringLiteral("QZ000.INI"))));
    EXPECT_TRUE(QFileInfo::exists(dir + QStringLiteral("/QZ000.MDB")));

    const Run second = run({QStringLiteral("--init"), dir});
    EXPECT_NE(second.exitCode, 0);
    EXPECT_TRUE(second.err.contains(QStringLiteral("--force"))) << qPrintable(second.err);

    const Run forced = run({QStringLiteral("--init"), dir, QStringLiteral("--force")});
    EXPECT_EQ(forced.exitCode, 0) << qPrintable(forced.err);
}

TEST_F(Program, HelpAndBadArguments)
{
    const Run help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("--init"))) << qPrintable(help.out);

    for (const QStringList &bad :
         {QStringList{QStringLiteral("--bogus")}, QStringList{QStringLiteral("--force")},
          QStringList{QStringLiteral("--init")}, QStringList{QStringLiteral("stray")}}) {
        const Run r = run(bad);
        EXPECT_NE(r.exitCode, 0) << qPrintable(bad.join(u' '));
        EXPECT_FALSE(r.err.isEmpty()) << qPrintable(bad.join(u' '));
    }
}

// Without arguments velquira is the host window: it stays open where there is a screen and
// ends with a message where there is none.
TEST_F(Program, WithoutArgumentsShowsTheWindowOrExplainsWhyNot)
{
    QProcess shown;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QZ_INI_DIR"), iniDir_.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    shown.setProcessEnvironment(env);
    shown.start(program_, {});
    ASSERT_TRUE(shown.waitForStarted(10000));
    EXPECT_FALSE(shown.waitForFinished(1500)) << "the window closed by itself";
    shown.kill();
    shown.waitForFinished(5000);

    QProcess headless;
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        env.remove(QString::fromLatin1(name));
    }
    headless.setProcessEnvironment(env);
    headless.start(program_, {});
    ASSERT_TRUE(headless.waitForFinished(10000));
    EXPECT_EQ(headless.exitCode(), 1);
    EXPECT_TRUE(headless.readAllStandardError().contains("DISPLAY"));
}
