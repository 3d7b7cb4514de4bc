// What each program reads from QZ000.INI, and the folders derived from SysPath.
#include "core/data/config.h"
#include "core/data/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedIni_ = qgetenv("QZ_INI_DIR");
        savedCwd_ = QDir::currentPath();
        qputenv("QZ_INI_DIR", iniDir_.path().toUtf8());
    }
    void TearDown() override
    {
        qputenv("QZ_INI_DIR", savedIni_);
        QDir::setCurrent(savedCwd_);
    }
    void writeIni(const QByteArray &content)
    {
        QFile f(iniDir_.filePath("QZ000.INI"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    QTemporaryDir iniDir_;
    QTemporaryDir sys_;
    QByteArray savedIni_;
    QString savedCwd_;
};

TEST_F(ConfigTest, ModuleConfigEntersSysPathAndJoinsTheDatabase)
{
    const QString sys = sys_.path() + "/";
    writeIni("[Options]\r\nSysPath=" + sys.toUtf8() + "\r\nDBPath=" + sys.toUtf8() +
             "db\\\r\nDBName=QZ000.MDB\r\nSysUser=USUARIO1\r\n");
    qz::Config c;
    ASSERT_TRUE(qz::loadModuleConfig(c));
    EXPECT_EQ(QDir::currentPath(), QDir(sys_.path()).canonicalPath());
    EXPECT_EQ(c.baseDatos, sys + "db/QZ000.MDB");
    EXPECT_EQ(c.usuario, "USUARIO1");
    EXPECT_EQ(c.workgroup, sys + "QZ000.MDW");
    EXPECT_EQ(c.dirReportes, sys_.path() + "/RPT");
}

TEST_F(ConfigTest, IniFileNameIsFoundIgnoringCase)
{
    QFile f(iniDir_.filePath("qz000.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Options]\nSysUser=X\n");
    f.close();
    EXPECT_EQ(qz::readOption("SysUser"), "X");
}

TEST_F(ConfigTest, InstallerUsesSysPathAndDropsADoubledBackslash)
{
    writeIni("[Options]\r\nSysPath=" + sys_.path().toUtf8() +
             "\\\\\r\nDBPath=/elsewhere/\r\nDBName=QZ000.MDB\r\n");
    qz::Config c = qz::loadInstallerConfig();
    EXPECT_EQ(c.sysPath, sys_.path() + "\\");
    EXPECT_EQ(c.baseDatos, sys_.path() + "/QZ000.MDB"); // DBPath is not read
    EXPECT_EQ(c.workgroup, sys_.path() + "/QZ000.MDW");
}

TEST_F(ConfigTest, MissingKeysReadEmpty)
{
    writeIni("[Other]\r\nSysPath=/x/\r\n");
    qz::Config c;
    EXPECT_TRUE(qz::loadModuleConfig(c));
    EXPECT_TRUE(c.sysPath.isEmpty());
    EXPECT_TRUE(c.baseDatos.isEmpty());
    EXPECT_TRUE(qz::loadInstallerConfig().baseDatos.isEmpty());
}

TEST_F(ConfigTest, SystemDbIsWrittenWithoutTouchingOtherLines)
{
    const QByteArray before = "; c\r\n[Options]\r\nSysPath = " + sys_.path().toUtf8() +
                              "/ \r\nDBName=QZ000.MDB\r\n[Z]\r\nk=v\r\n";
    writeIni(before);
    qz::Config c;
    qz::loadModuleConfig(c);
    ASSERT_TRUE(qz::writeSystemDb(c));
    QFile f(iniDir_.filePath("QZ000.INI"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray expected = before;
    expected.replace("DBName=QZ000.MDB\r\n",
                     "DBName=QZ000.MDB\r\nSystemDB=" + sys_.path().toUtf8() + "/QZ000.MDW\r\n");
    EXPECT_EQ(f.readAll(), expected);
}

TEST(Paths, SubFoldersAreFoundIgnoringCaseAndCreatedWhenMissing)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("rpt");
    EXPECT_EQ(qz::findEntry(dir.path() + "\\", "RPT"), dir.path() + "/rpt");
    EXPECT_EQ(qz::ensureFolder(dir.path(), "RPT"), dir.path() + "/rpt");
    EXPECT_EQ(qz::ensureFolder(dir.path(), "0731"), dir.path() + "/0731");
    EXPECT_TRUE(QDir(dir.path() + "/0731").exists());
    QDir(dir.path()).mkdir("Tmp");
    QFile f(dir.path() + "/Tmp/ENV731.TXT");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    EXPECT_EQ(qz::resolveHostPath(dir.path() + "/", "tmp\\env731.txt"),
              dir.path() + "/Tmp/ENV731.TXT");
    EXPECT_EQ(qz::joinPath("C:\\V\\", "QZ000.MDW"), "C:/V/QZ000.MDW");
    EXPECT_EQ(qz::joinPath("", "x"), "x");
}

} // namespace
