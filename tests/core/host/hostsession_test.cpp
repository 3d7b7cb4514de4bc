// Tests of the host window's logic: the installation read from QZ000.INI, the CLAVES users,
// changing SysUser, and starting declmod and following it to its end (a stand-in script
// records how it was started).
#include "core/data/config.h"
#include "core/data/inifile.h"
#include "core/host/hostsession.h"
#include "support/tempinstall.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <functional>

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

// An application for the tests that follow a process: its end arrives through the event loop.
class CoreApp {
public:
    CoreApp() : app_(argc_, argv_) {}

private:
    int argc_ = 1;
    char name_[10] = "test_host";
    char *argv_[2] = {name_, nullptr};

    QCoreApplication app_;
};

// A core application, a folder for the module's program and one for SysPath.
struct ModuleDirs {
    bool valid() const { return program.isValid() && sys.isValid(); }
    CoreApp app;
    QTemporaryDir program;
    QTemporaryDir sys;
};

// Processes events until done() or 10 s have passed; returns done().
bool processEventsUntil(const std::function<bool()> &done)
{
    const QDeadlineTimer deadline(10000);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

// Writes programDir/declmod: a script that waits for the file "stop" in its current
// directory, then ends with exit status 3 ("kill" instead: it ends itself by SIGKILL).
void writeWaitingDeclmod(const QString &programDir)
{
    QFile script(qz::declmodPath(programDir));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nwhile [ ! -f stop ]; do sleep 0.05; done\n"
                 "if grep -q kill stop; then kill -9 $$; fi\nexit 3\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
}

void writeStop(const QString &dir, const QByteArray &content)
{
    QFile stop(QDir(dir).filePath(QStringLiteral("stop")));
    ASSERT_TRUE(stop.open(QIODevice::WriteOnly));
    stop.write(content);
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

// Read as the host window reads them, through the database QZ000.INI names.
TEST(HostSession, UsersComeFromClavesSorted)
{
    const TempInstall install;
    ASSERT_TRUE(install.ok()) << qPrintable(install.message());
    qz::Database db = qz::openHostDatabase(qz::readHostInstallation());
    EXPECT_EQ(qz::hostUsers(db),
              (QStringList{QStringLiteral("USUARIO0"), QStringLiteral("USUARIO1")}));

    install.open().execute(
        QStringLiteral("INSERT INTO CLAVES (Usuario, Tipo) VALUES ('ANA', '1')"));
    EXPECT_EQ(qz::hostUsers(db), (QStringList{QStringLiteral("ANA"), QStringLiteral("USUARIO0"),
                                              QStringLiteral("USUARIO1")}));
}

// By the database file's name; a missing file is an error, not an empty list.
TEST(HostSession, UsersOfADatabaseFile)
{
    const TempInstall install;
    ASSERT_TRUE(install.ok()) << qPrintable(install.message());
    install.open().execute(
        QStringLiteral("INSERT INTO CLAVES (Usuario, Tipo) VALUES ('ANA', '1')"));
    EXPECT_EQ(qz::hostUsers(install.dbPath()),
              (QStringList{QStringLiteral("ANA"), QStringLiteral("USUARIO0"),
                           QStringLiteral("USUARIO1")}));
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
    const ModuleDirs dirs;
    ASSERT_TRUE(dirs.valid());
    writeFakeDeclmod(dirs.program.path());
    const QString real = QFileInfo(dirs.sys.path()).canonicalFilePath();

    // SysPath as the host writes it: with a trailing backslash.
    qz::ModuleProcess module;
    const qz::StartResult result = module.start(dirs.program.path(), dirs.sys.path() + u'\\');
    ASSERT_TRUE(result.ok) << qPrintable(result.message);
    EXPECT_EQ(waitForStart(dirs.sys.path()), (real + QStringLiteral("\n0\n")).toUtf8());
    EXPECT_TRUE(processEventsUntil([&module] { return !module.isRunning(); }));
}

TEST(HostSession, FollowsTheModuleToItsEnd)
{
    const ModuleDirs dirs;
    ASSERT_TRUE(dirs.valid());
    writeWaitingDeclmod(dirs.program.path());

    qz::ModuleProcess module;
    std::vector<std::pair<int, bool>> ends;
    QObject::connect(&module, &qz::ModuleProcess::finished,
                     [&ends](int exitCode, bool crashed) { ends.emplace_back(exitCode, crashed); });
    ASSERT_TRUE(module.start(dirs.program.path(), dirs.sys.path()).ok);
    EXPECT_TRUE(module.isRunning());
    // One run at a time: a second start while the first runs is refused.
    const qz::StartResult again = module.start(dirs.program.path(), dirs.sys.path());
    EXPECT_FALSE(again.ok);
    EXPECT_FALSE(again.message.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_TRUE(ends.empty());

    writeStop(dirs.sys.path(), "exit");
    ASSERT_TRUE(processEventsUntil([&ends] { return !ends.empty(); }));
    EXPECT_EQ(ends, (std::vector<std::pair<int, bool>>{{3, false}}));
    EXPECT_FALSE(module.isRunning());

    // Once ended it starts again; a module killed by a signal counts as crashed.
    writeStop(dirs.sys.path(), "kill");
    ASSERT_TRUE(module.start(dirs.program.path(), dirs.sys.path()).ok);
    ASSERT_TRUE(processEventsUntil([&ends] { return ends.size() == 2; }));
    EXPECT_TRUE(ends[1].second);
}

TEST(HostSession, StartRefusesWhatCannotWork)
{
    const ModuleDirs dirs;
    ASSERT_TRUE(dirs.valid());

    qz::ModuleProcess module;
    qz::StartResult r = module.start(dirs.program.path(), dirs.sys.path());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("declmod"))) << qPrintable(r.message);

    QFile notExecutable(qz::declmodPath(dirs.program.path()));
    ASSERT_TRUE(notExecutable.open(QIODevice::WriteOnly));
    notExecutable.write("#!/bin/sh\ntouch started.txt\n");
    notExecutable.close();
    notExecutable.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_FALSE(module.start(dirs.program.path(), dirs.sys.path()).ok);

    writeFakeDeclmod(dirs.program.path());
    r = module.start(dirs.program.path(), QString());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("SysPath"))) << qPrintable(r.message);
    EXPECT_FALSE(module.start(dirs.program.path(), dirs.sys.path() + QStringLiteral("/nada")).ok);
    EXPECT_FALSE(module.isRunning());
    EXPECT_FALSE(QFileInfo::exists(QDir(dirs.sys.path()).filePath(QStringLiteral("started.txt"))));
}

} // namespace
