// Opening the shared database through the workgroup file, and the open-error messages.
#include "../hostdatabasefaults.h"
#include "core/data/config.h"
#include "core/data/connection.h"
#include "core/data/inifile.h"
#include "core/data/workgroup.h"
#include "support/tempinstall.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <functional>

using qz::DbError;
using qz::Program;

namespace {

int openError(Program program)
{
    qz::Config config;
    if (program == Program::Decltab) {
        config = qz::loadInstallerConfig();
    } else {
        qz::loadModuleConfig(config);
    }
    try {
        qz::openSharedDatabase(config, program);
    } catch (const DbError &e) {
        return e.number();
    }
    return 0;
}

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cwd_ = QDir::currentPath();
        ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString();
    }
    void TearDown() override { QDir::setCurrent(cwd_); }

    QString cwd_;
    qz::test::TempInstall inst_;
};

TEST_F(ConnectionTest, EveryProgramOpensAFreshInstallation)
{
    for (Program p : {Program::Declmod, Program::Declrep, Program::Declchk, Program::Decltab}) {
        EXPECT_EQ(openError(p), 0);
    }
    EXPECT_EQ(qz::readOption("SystemDB"), inst_.sysPath() + "QZ000.MDW");
}

TEST_F(ConnectionTest, DeclrepDoesNotWriteSystemDb)
{
    qz::IniFile ini;
    ini.load(inst_.iniPath());
    QByteArray before = ini.content();
    ASSERT_FALSE(before.contains("SystemDB"));
    EXPECT_EQ(openError(Program::Declrep), 0);
    QFile f(inst_.iniPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(ConnectionTest, MissingOrForeignWorkgroupFails)
{
    const QString mdw = inst_.dir() + "/QZ000.MDW";
    ASSERT_TRUE(QFile::rename(mdw, mdw + ".bak"));
    EXPECT_EQ(openError(Program::Declmod), qz::dberr::kWorkgroup);
    ASSERT_TRUE(QFile::rename(mdw + ".bak", mdw));

    ASSERT_TRUE(qz::writeWorkgroupFile(mdw, {"OTRACTA1", "secreto1"}, nullptr));
    EXPECT_EQ(openError(Program::Declchk), qz::dberr::kAccount);
    qz::Credentials wrongPassword = qz::systemCredentials();
    wrongPassword.password += "x";
    ASSERT_TRUE(qz::writeWorkgroupFile(mdw, wrongPassword, nullptr));
    EXPECT_EQ(openError(Program::Decltab), qz::dberr::kAccount);
}

TEST_F(ConnectionTest, MissingDatabaseAndEmptySysPathFail)
{
    ASSERT_TRUE(qz::test::removeDatabase(inst_));
    EXPECT_EQ(openError(Program::Declmod), 3024);
    qz::writeProfileString(inst_.iniPath(), "Options", "SysPath", "");
    EXPECT_NE(openError(Program::Declrep), 0);
}

TEST_F(ConnectionTest, LockedDatabaseGivesTheHostMessage)
{
    qz::Database holder = inst_.open();
    holder.execute("PRAGMA locking_mode=EXCLUSIVE");
    holder.execute("UPDATE CLAVES SET Tipo=Tipo");
    EXPECT_EQ(openError(Program::Declmod), qz::dberr::kCannotOpen);
}

TEST_F(ConnectionTest, OpenErrorTextsAreTheHosts)
{
    DbError locked(qz::dberr::kCannotOpen, "database is locked");
    EXPECT_EQ(qz::openErrorTitle(), QString::fromUtf8("Error de Conección"));
    EXPECT_EQ(qz::openErrorText(locked, Program::Declmod), " 3051- Base esta bloqueda");
    EXPECT_EQ(qz::openErrorText(locked, Program::Decltab), " 3051- Base de datos esta bloqueda");
    DbError other(3024, "No se encuentra el archivo 'x'.");
    EXPECT_EQ(qz::openErrorText(other, Program::Declrep), "No se encuentra el archivo 'x'.\n 3024");
}

// What is wrong with the configuration or with the file is said in the description of the
// open-error box, under a number of its own: never " 3051- Base esta bloqueda", which names
// neither. Every program is refused the same way, and nothing is created or written.
struct OpenProblem {
    const char *name;
    std::function<void(const qz::test::TempInstall &)> make;
    int number;
    QStringList says; // each in the description
};

class OpenProblemTest : public ConnectionTest, public ::testing::WithParamInterface<OpenProblem> {};

void setOption(const qz::test::TempInstall &inst, const char *key, const QString &value)
{
    ASSERT_TRUE(qz::writeProfileString(inst.iniPath(), "Options", key, value));
}

void replaceFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

TEST_P(OpenProblemTest, IsRefusedWithItsDescription)
{
    GetParam().make(inst_);
    const bool hadIni = QFile::exists(inst_.iniPath());
    const QString dbState = qz::test::databaseState(inst_);
    for (Program p : {Program::Declmod, Program::Declrep, Program::Declchk, Program::Decltab}) {
        qz::Config config;
        if (p == Program::Decltab) {
            config = qz::loadInstallerConfig();
        } else {
            qz::loadModuleConfig(config);
        }
        try {
            qz::openSharedDatabase(config, p);
            ADD_FAILURE() << "opened by program " << static_cast<int>(p);
        } catch (const DbError &e) {
            EXPECT_EQ(e.number(), GetParam().number) << e.description().toStdString();
            const QString text = qz::openErrorText(e, p);
            EXPECT_FALSE(text.contains("bloqueda")) << text.toStdString();
            for (const QString &word : GetParam().says) {
                EXPECT_TRUE(text.contains(word))
                    << text.toStdString() << " lacks " << word.toStdString();
            }
        }
        QDir::setCurrent(cwd_);
    }
    EXPECT_EQ(QFile::exists(inst_.iniPath()), hadIni) << "only the host creates QZ000.INI";
    EXPECT_EQ(qz::test::databaseState(inst_), dbState) << "the database is never written";
}

INSTANTIATE_TEST_SUITE_P(
    Connection, OpenProblemTest,
    ::testing::Values(
        OpenProblem{"no_ini",
                    [](const auto &inst) { ASSERT_TRUE(QFile::remove(inst.iniPath())); },
                    qz::dberr::kFileNotFound,
                    {"QZ000.INI", "carpeta"}},
        OpenProblem{"empty_sys_path",
                    [](const auto &inst) { setOption(inst, "SysPath", ""); },
                    qz::dberr::kInvalidPath,
                    {"SysPath"}},
        OpenProblem{"sys_path_folder_missing",
                    [](const auto &inst) { setOption(inst, "SysPath", inst.dir() + "/no/"); },
                    qz::dberr::kInvalidPath,
                    {"No existe la carpeta", "/no/"}},
        OpenProblem{"empty_db_name",
                    [](const auto &inst) { setOption(inst, "DBName", ""); },
                    qz::dberr::kInvalidPath,
                    {"DBName"}},
        OpenProblem{"database_is_a_folder",
                    [](const auto &inst) { setOption(inst, "DBName", "RPT"); },
                    qz::dberr::kInvalidPath,
                    {"carpeta", "RPT"}},
        OpenProblem{"empty_database_file",
                    [](const auto &inst) { replaceFile(inst.dbPath(), QByteArray()); },
                    qz::dberr::kNotADatabase,
                    {"vacío", "QZ000.MDB"}},
        OpenProblem{"database_without_host_tables",
                    [](const auto &inst) {
                        ASSERT_TRUE(qz::test::makeNotHostDatabase(
                            inst, qz::test::NotHostDatabase::Foreign));
                    },
                    qz::dberr::kNotADatabase,
                    {"PARAM", "CAB"}}),
    [](const ::testing::TestParamInfo<OpenProblem> &p) { return std::string(p.param.name); });

TEST(Workgroup, CredentialsAreEightCharactersAndNotInTheBinaries)
{
    qz::Credentials c = qz::systemCredentials();
    EXPECT_EQ(c.account.size(), 8);
    EXPECT_EQ(c.password.size(), 8);
    const QString bin = qEnvironmentVariable("QZ_BIN_DIR");
    for (const char *program : {"decltab", "velquira"}) {
        QFile f(bin + "/" + program);
        // The programs are built before this test (DEPENDS): a missing one is a failure.
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << program;
        QByteArray bytes = f.readAll();
        EXPECT_FALSE(bytes.contains(c.account.toLatin1())) << program;
        EXPECT_FALSE(bytes.contains(c.password.toLatin1())) << program;
    }
}

} // namespace
