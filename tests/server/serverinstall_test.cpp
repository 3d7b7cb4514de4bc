// A host installation on the server made the way an office makes it: velquira --init with
// --server, then decltab, as separate programs reading QZ000.INI.
#include "core/data/config.h"
#include "core/data/database.h"
#include "core/data/inifile.h"
#include "support/pgcluster.h"
#include "support/storeddeclaration.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status = -1;
    QString output;
};

class ServerInstall : public testing::Test {
protected:
    void SetUp() override
    {
        if (!server_.ok()) {
            GTEST_SKIP() << "no PostgreSQL server: " << server_.message().toStdString();
        }
        bin_ = qEnvironmentVariable("QZ_BIN_DIR");
        ASSERT_FALSE(bin_.isEmpty()) << "QZ_BIN_DIR is not set";
        ASSERT_TRUE(dir_.isValid() && ini_.isValid());
    }

    Outcome run(const QString &program, const QStringList &args, const QString &workDir = {})
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QZ_INI_DIR", ini_.path());
        env.remove("DISPLAY");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        if (!workDir.isEmpty()) {
            p.setWorkingDirectory(workDir);
        }
        p.start(QDir(bin_).filePath(program), args);
        if (!p.waitForFinished(120000)) {
            return {};
        }
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromLocal8Bit(p.readAll())};
    }

    QString option(const QString &key)
    {
        qz::IniFile ini;
        ini.load(QDir(ini_.path()).filePath("QZ000.INI"));
        return ini.value("Options", key);
    }

    qz::test::PgTempDatabase server_;
    QString bin_;
    QTemporaryDir dir_;
    QTemporaryDir ini_;
};

TEST_F(ServerInstall, VelquiraAndDecltabInstallOnTheServer)
{
    const QString home = dir_.filePath("office");
    Outcome r = run("velquira", {"--init", home, "--server", server_.conninfo()});
    ASSERT_EQ(r.status, 0) << r.output.toStdString();
    EXPECT_EQ(option("DBServer"), server_.conninfo());
    EXPECT_EQ(option("DBName"), "QZ000.MDB"); // kept for the host's other programs
    EXPECT_FALSE(QFile::exists(QDir(home).filePath("QZ000.MDB"))); // no file database
    EXPECT_TRUE(QFile::exists(QDir(home).filePath("QZ000.MDW")));
    EXPECT_TRUE(QFile::exists(QDir(home).filePath("tmp/env731.txt")));

    qz::Database db = qz::Database::connect(server_.conninfo());
    EXPECT_TRUE(db.tableExists("PARAM"));
    EXPECT_GT(db.scalar("SELECT count(*) FROM CLAVES").toInt(), 0);

    // A second installation on the same database is refused and changes nothing; --force
    // replaces the tables.
    db.execute("INSERT INTO CLAVES (Usuario, Tipo) VALUES ('EXTRA', '1')");
    r = run("velquira", {"--init", dir_.filePath("other"), "--server", server_.conninfo()});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.output.contains("--force")) << r.output.toStdString();
    EXPECT_EQ(db.scalar("SELECT count(*) FROM CLAVES WHERE Usuario='extra'").toInt(), 1);
    r = run("velquira", {"--init", home, "--force", "--server", server_.conninfo()});
    ASSERT_EQ(r.status, 0) << r.output.toStdString();
    EXPECT_EQ(db.scalar("SELECT count(*) FROM CLAVES WHERE Usuario='EXTRA'").toInt(), 0);

    // decltab installs the module's tables there, twice without harm.
    for (int pass = 0; pass < 2; ++pass) {
        r = run("decltab", {}, home);
        EXPECT_EQ(r.status, 0) << r.output.toStdString();
        EXPECT_TRUE(db.tableExists("F731EMPRESAS"));
        EXPECT_TRUE(db.tableExists("HF731EMPRESAS"));
        EXPECT_EQ(db.scalar("SELECT count(*) FROM envio_t").toInt(), 4);
    }
    const std::vector<qz::ColumnInfo> columns = db.columnsOf("F731EMPRESAS");
    ASSERT_FALSE(columns.empty());
    EXPECT_EQ(columns.front().declaredType, "Byte");

    // A password in the connection string is refused before anything is made.
    r = run("velquira",
            {"--init", dir_.filePath("third"), "--server", server_.conninfo() + " password=x"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.output.contains("3029")) << r.output.toStdString();
    EXPECT_FALSE(QFile::exists(dir_.filePath("third/QZ000.MDW")));
    // --server belongs to --init.
    EXPECT_EQ(run("velquira", {"--server", server_.conninfo()}).status, 2);
}

TEST_F(ServerInstall, ProgramsEndWithTheOpenErrorWhenTheServerIsAway)
{
    const QString home = dir_.filePath("office");
    ASSERT_EQ(run("velquira", {"--init", home, "--server", server_.conninfo()}).status, 0);
    // The key now names a port where nothing listens.
    const QString away = server_.conninfo() + " port=1";
    ASSERT_TRUE(qz::writeProfileString(QDir(ini_.path()).filePath("QZ000.INI"), "Options",
                                       "DBServer", away));
    const Outcome tab = run("decltab", {}, home);
    EXPECT_NE(tab.status, 0);
    EXPECT_TRUE(tab.output.contains("3151")) << tab.output.toStdString();
    EXPECT_TRUE(tab.output.contains("Error de Conección")) << tab.output.toStdString();
    const Outcome chk = run("declchk", {qz::test::argumentString("20100000001", "200913")}, home);
    EXPECT_TRUE(chk.output.contains("3151")) << chk.output.toStdString();
}

} // namespace
