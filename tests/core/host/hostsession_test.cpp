// Tests of the host window's logic: the installation read from QZ000.INI, the CLAVES users,
// changing SysUser, and starting declmod (a stand-in script records how it was started).
#include "core/data/config.h"
#include "core/data/inifile.h"
#include "core/host/hostsession.h"
#include "support/tempinstall.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

using qz::test::TempInstall;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes programDir/declmod: a script that leaves, in its current directory, started.txt with
// that directory and its number of arguments.
void writeFakeDeclmod(const QString &programDir)
{
    QFile script(qz::declmodPath(programDir));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n{ pwd -P; echo $#; } > started.tmp && mv started.tmp started.txt\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
}

// The content of started.txt under dir once the detached script has written it.
QByteArray waitForStart(const QString &dir)
{
    const QString path = QDir(dir).filePath(QStringLiteral("started.txt"));
    const QDeadlineTimer deadline(10000);
    while (!QFileInfo::exists(path) && !deadline.hasExpired()) {
        QThread::msleep(20);
    }
    return readAll(path);
}

TEST(HostSession, ReadsTheInstallationWithoutMovingTheCurrentDirectory)
{
    const TempInstall install;
    ASSERT_TRUE(install.ok()) << qPrintable(install.message());
    const QString cwd = QDir::currentPath();

    const qz::HostInstallation host = qz::readHostInstallation();
    EXPECT_EQ(host.iniFile, install.iniPath());
    EXPECT_EQ(host.sysPath, install.sysPath());
    EXPECT_EQ(host.database, install.dbPath());
    EXPECT_EQ(host.user, QStringLiteral("USUARIO1"));
    EXPECT_EQ(QDir::currentPath(), cwd);

    // DBPath written the host's way, with a backslash at the end.
    ASSERT_TRUE(qz::writeProfileString(install.iniPath(), QStringLiteral("Options"),
                                       QStringLiteral("DBPath"), install.dir() + u'\\'));
    EXPECT_EQ(qz::readHostInstallation().database, install.dbPath());
}

TEST(HostSession, UsersComeFromClavesSorted)
{
    const TempInstall install;
    ASSERT_TRUE(install.ok()) << qPrintable(install.message());
    EXPECT_EQ(qz::hostUsers(install.dbPath()),
              (QStringList{QStringLiteral("USUARIO0"), QStringLiteral("USUARIO1")}));

    install.open().execute(
        QStringLiteral("INSERT INTO CLAVES (Usuario, Tipo) VALUES ('ANA', '1')"));
    EXPECT_EQ(qz::hostUsers(install.dbPath()).first(), QStringLiteral("ANA"));

    EXPECT_THROW(qz::hostUsers(install.dir() + QStringLiteral("/missing.mdb")), qz::DbError);
}

TEST(HostSession, SetHostUserEditsOnlySysUser)
{
    const TempInstall install;
    ASSERT_TRUE(install.ok()) << qPrintable(install.message());
    const QByteArray before = readAll(install.iniPath());

    QString error;
    ASSERT_TRUE(qz::setHostUser(QStringLiteral("USUARIO0"), &error)) << qPrintable(error);
    EXPECT_EQ(qz::readOption(QStringLiteral("SysUser")), QStringLiteral("USUARIO0"));
    QByteArray after = readAll(install.iniPath());
    after.replace("SysUser=USUARIO0", "SysUser=USUARIO1");
    EXPECT_EQ(after, before) << "every other byte stays";

    EXPECT_FALSE(qz::setHostUser(QString(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(qz::readOption(QStringLiteral("SysUser")), QStringLiteral("USUARIO0"));
}

TEST(HostSession, SetHostUserReportsAFileItCannotWrite)
{
    QTemporaryDir iniDir;
    ASSERT_TRUE(iniDir.isValid());
    const bool had = qEnvironmentVariableIsSet("QZ_INI_DIR");
    const QByteArray old = qgetenv("QZ_INI_DIR");
    qputenv("QZ_INI_DIR", QFile::encodeName(iniDir.path()));
    // A folder where the file should be: no one, not even root, can write it.
    ASSERT_TRUE(QDir(iniDir.path()).mkdir(QStringLiteral("QZ000.INI")));
    QString error;
    EXPECT_FALSE(qz::setHostUser(QStringLiteral("USUARIO0"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("QZ000.INI"))) << qPrintable(error);
    if (had) {
        qputenv("QZ_INI_DIR", old);
    } else {
        qunsetenv("QZ_INI_DIR");
    }
}

TEST(HostSession, StartsDeclmodWithoutArgumentsInSysPath)
{
    QTemporaryDir programDir;
    QTemporaryDir sysDir;
    ASSERT_TRUE(programDir.isValid() && sysDir.isValid());
    writeFakeDeclmod(programDir.path());
    const QString real = QFileInfo(sysDir.path()).canonicalFilePath();

    // SysPath as the host writes it: with a trailing backslash.
    const qz::StartResult result = qz::startDeclmod(programDir.path(), sysDir.path() + u'\\');
    ASSERT_TRUE(result.ok) << qPrintable(result.message);
    EXPECT_EQ(waitForStart(sysDir.path()), (real + QStringLiteral("\n0\n")).toUtf8());
}

TEST(HostSession, StartRefusesWhatCannotWork)
{
    QTemporaryDir programDir;
    QTemporaryDir sysDir;
    ASSERT_TRUE(programDir.isValid() && sysDir.isValid());

    qz::StartResult r = qz::startDeclmod(programDir.path(), sysDir.path());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("declmod"))) << qPrintable(r.message);

    QFile notExecutable(qz::declmodPath(programDir.path()));
    ASSERT_TRUE(notExecutable.open(QIODevice::WriteOnly));
    notExecutable.write("#!/bin/sh\ntouch started.txt\n");
    notExecutable.close();
    notExecutable.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_FALSE(qz::startDeclmod(programDir.path(), sysDir.path()).ok);

    writeFakeDeclmod(programDir.path());
    r = qz::startDeclmod(programDir.path(), QString());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("SysPath"))) << qPrintable(r.message);
    EXPECT_FALSE(qz::startDeclmod(programDir.path(), sysDir.path() + QStringLiteral("/nada")).ok);
    EXPECT_FALSE(QFileInfo::exists(QDir(sysDir.path()).filePath(QStringLiteral("started.txt"))));
}

} // namespace
