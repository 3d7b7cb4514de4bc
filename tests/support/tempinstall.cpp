// A fresh host installation in temporary folders for one test.
#include "support/tempinstall.h"

#include "core/data/config.h"
#include "core/host/installation.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace qz::test {

namespace {
constexpr const char *kIniDirVariable = "QZ_INI_DIR";
constexpr const char *kRuntimeDirVariable = "XDG_RUNTIME_DIR";
} // namespace

TempInstall::TempInstall()
    : hadIniDir_(qEnvironmentVariableIsSet(kIniDirVariable)), oldIniDir_(qgetenv(kIniDirVariable)),
      hadRuntimeDir_(qEnvironmentVariableIsSet(kRuntimeDirVariable)),
      oldRuntimeDir_(qgetenv(kRuntimeDirVariable))
{
    if (runtimeDir_.isValid()) {
        qputenv(kRuntimeDirVariable, QFile::encodeName(runtimeDir_.path()));
    }
    if (!installDir_.isValid() || !iniDir_.isValid()) {
        message_ = QStringLiteral("cannot create temporary folders");
    } else {
        qputenv(kIniDirVariable, QFile::encodeName(iniDir_.path()));
        if (onServer()) {
            server_ = std::make_unique<PgTempDatabase>();
        }
        if (server_ && !server_->ok()) {
            message_ = server_->message();
        } else {
            const InstallResult result = createInstallation(
                installDir_.path(), false, server_ ? server_->conninfo() : QString());
            ok_ = result.ok;
            message_ = result.message;
        }
    }
    if (!ok_) {
        std::fprintf(stderr, "TempInstall: %s\n", qPrintable(message_));
    }
}

TempInstall::~TempInstall()
{
    if (hadRuntimeDir_) {
        qputenv(kRuntimeDirVariable, oldRuntimeDir_);
    } else {
        qunsetenv(kRuntimeDirVariable);
    }
    if (hadIniDir_) {
        qputenv(kIniDirVariable, oldIniDir_);
    } else {
        qunsetenv(kIniDirVariable);
    }
}

QString TempInstall::dir() const
{
    return QDir::cleanPath(QDir(installDir_.path()).absolutePath());
}

QString TempInstall::sysPath() const
{
    return dir() + u'/';
}

QString TempInstall::dbPath() const
{
    return QDir(dir()).filePath(QString::fromLatin1(kDatabaseFileName));
}

QString TempInstall::iniDir() const
{
    return QDir::cleanPath(QDir(iniDir_.path()).absolutePath());
}

QString TempInstall::iniPath() const
{
    return QDir(iniDir()).filePath(QString::fromLatin1(kIniFileName));
}

Database openLocation(const QString &location)
{
    // A connection string always holds "=", a file name of an installation never does.
    if (location.contains(u'=')) {
        return Database::connect(location);
    }
    return Database::open(location, Database::Mode::OpenExisting);
}

QString TempInstall::server() const
{
    return server_ ? server_->conninfo() : QString();
}

Database TempInstall::open() const
{
    if (server_) {
        return Database::connect(server_->conninfo());
    }
    return Database::open(dbPath(), Database::Mode::OpenExisting);
}

} // namespace qz::test
