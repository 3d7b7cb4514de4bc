// Tests of the velquira program's command line: --init with and without --force, --help,
// arguments it must refuse, and the demo declarations and --send with the real decltab,
// declchk and declrep.
#include "core/data/database.h"

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
    Run run(const QStringList &arguments) { return runProgram(program_, arguments); }
    Run runProgram(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QZ_INI_DIR"), iniDir_.path());
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(120000));
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

// The demo: decltab's tables, then the declarations saved and one sent, whose receipt comes on
// stdout. Then --send: 0 sent, 1 refused by declchk with its listing on stderr, 2 an error.
TEST_F(Program, DemoDeclarationsAndSend)
{
    const QString dir = installDir_.path() + QStringLiteral("/host");
    ASSERT_EQ(run({QStringLiteral("--init"), dir}).exitCode, 0);
    const QString bin = QFileInfo(program_).absolutePath();
    const Run early = run({QStringLiteral("--demo-declarations")});
    EXPECT_EQ(early.exitCode, 1); // no module tables yet
    EXPECT_TRUE(early.err.contains(QStringLiteral("decltab"))) << qPrintable(early.err);
    ASSERT_EQ(runProgram(QDir(bin).filePath(QStringLiteral("decltab")), {}).exitCode, 0);

    const Run demo = run({QStringLiteral("--demo-declarations")});
    ASSERT_EQ(demo.exitCode, 0) << qPrintable(demo.err);
    EXPECT_TRUE(demo.out.contains(QStringLiteral("Código de verificación: ")))
        << qPrintable(demo.out);
    // A second run adds nothing: the installation holds declarations.
    EXPECT_EQ(run({QStringLiteral("--demo-declarations")}).exitCode, 1);

    qz::Database db = qz::Database::open(dir + QStringLiteral("/QZ000.MDB"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM CAB")).toInt(), 2);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM HCAB")).toInt(), 1);
    const QString reorg = db.scalar(QStringLiteral("SELECT doc_id_d FROM F731EMPRESAS")).toText();
    const QString plain =
        db.scalar(QStringLiteral("SELECT doc_id_d FROM CAB WHERE doc_id_d<>'") + reorg + u'\'')
            .toText();
    db.execute(QStringLiteral("DELETE FROM F731EMPRESAS WHERE num_doc_emp<>'20100079705'"));
    db.close();

    const Run refused = run({QStringLiteral("--send"), reorg, QStringLiteral("2009")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("La  cantidad de empresas")))
        << qPrintable(refused.err);

    const Run sent = run({QStringLiteral("--send"), plain, QStringLiteral("2009")});
    EXPECT_EQ(sent.exitCode, 0) << qPrintable(sent.err);
    EXPECT_TRUE(sent.out.contains(QStringLiteral("envío 001"))) << qPrintable(sent.out);
    EXPECT_TRUE(sent.out.contains(QStringLiteral("Número de orden: "))) << qPrintable(sent.out);

    const Run gone = run({QStringLiteral("--send"), plain, QStringLiteral("2009")});
    EXPECT_EQ(gone.exitCode, 2);
    EXPECT_TRUE(gone.err.contains(QStringLiteral("No existe"))) << qPrintable(gone.err);
    EXPECT_EQ(run({QStringLiteral("--send"), plain}).exitCode, 2);
}
