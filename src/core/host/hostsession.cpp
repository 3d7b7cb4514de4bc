// The host window's logic on QtCore: QZ000.INI, CLAVES, and starting declmod.
#include "core/host/hostsession.h"

#include "core/data/config.h"
#include "core/data/connection.h"
#include "core/data/database.h"
#include "core/data/inifile.h"
#include "core/data/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace qz {

HostInstallation readHostInstallation()
{
    HostInstallation installation;
    installation.iniFile = iniPath();
    IniFile ini;
    ini.load(installation.iniFile);
    const QString section = QString::fromLatin1(kIniSection);
    installation.sysPath = ini.value(section, QStringLiteral("SysPath"));
    const QString dbPath = ini.value(section, QStringLiteral("DBPath"));
    const QString dbName = ini.value(section, QStringLiteral("DBName"));
    // DBPath & DBName, as the module joins them (DBPath normally ends in a separator).
    installation.database = dbPath.isEmpty() ? dbName : joinPath(dbPath, dbName);
    installation.database.replace(u'\\', u'/');
    installation.server = ini.value(section, QString::fromLatin1(kServerKey));
    installation.user = ini.value(section, QStringLiteral("SysUser"));
    return installation;
}

Database openHostDatabase(const HostInstallation &installation)
{
    return openNamedDatabase(installation.server, installation.database);
}

QString databaseLocation(const HostInstallation &installation)
{
    return installation.server.trimmed().isEmpty() ? installation.database : installation.server;
}

QStringList hostUsers(const QString &databasePath)
{
    Database db = Database::open(databasePath);
    return hostUsers(db);
}

QStringList hostUsers(Database &db)
{
    const QueryResult rows =
        db.query(QStringLiteral("SELECT Usuario FROM CLAVES ORDER BY Usuario"));
    QStringList users;
    for (int r = 0; r < rows.rowCount(); ++r) {
        users << rows.at(r, 0).toText();
    }
    return users;
}

bool setHostUser(const QString &user, QString *error)
{
    if (user.isEmpty()) {
        *error = QStringLiteral("No se indicó el usuario.");
        return false;
    }
    const QString path = iniPath();
    if (!writeProfileString(path, QString::fromLatin1(kIniSection), QStringLiteral("SysUser"),
                            user)) {
        *error = QStringLiteral("No se pudo escribir %1.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

QString declmodPath(const QString &programDir)
{
    return QDir(programDir).filePath(QStringLiteral("declmod"));
}

ModuleProcess::ModuleProcess(QObject *parent) : QObject(parent) {}

ModuleProcess::~ModuleProcess()
{
    if (isRunning()) {
        // Let go of the running module on purpose: deleting the QProcess would kill it.
        process_->disconnect(this);
        process_->setParent(nullptr);
    }
}

bool ModuleProcess::isRunning() const
{
    return process_ && process_->state() != QProcess::NotRunning;
}

StartResult ModuleProcess::start(const QString &programDir, const QString &sysPath)
{
    if (isRunning()) {
        return {false, QStringLiteral("El módulo 0731 ya está en ejecución.")};
    }
    const QString workDir = normalizedDir(sysPath);
    if (workDir.isEmpty()) {
        return {false, QStringLiteral("QZ000.INI no indica la carpeta del sistema (SysPath). "
                                      "Cree una instalación con \"velquira --init DIR\".")};
    }
    if (!QFileInfo(workDir).isDir()) {
        return {false, QStringLiteral("La carpeta del sistema %1 no existe.")
                           .arg(QDir::toNativeSeparators(workDir))};
    }
    const QString program = declmodPath(programDir);
    const QFileInfo info(program);
    if (!info.isFile() || !info.isExecutable()) {
        return {false, QStringLiteral("No se encuentra el módulo 0731: falta el programa %1.")
                           .arg(QDir::toNativeSeparators(program))};
    }
    delete process_;
    process_ = new QProcess(this);
    process_->setProgram(program);
    process_->setWorkingDirectory(workDir);
    // No pipes to fill: the module reads nothing and writes where the host writes.
    process_->setStandardInputFile(QProcess::nullDevice());
    process_->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(process_, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        emit finished(exitCode, status == QProcess::CrashExit);
    });
    process_->start();
    if (!process_->waitForStarted()) {
        return {false,
                QStringLiteral("No se pudo iniciar %1.").arg(QDir::toNativeSeparators(program))};
    }
    return {true, {}};
}

QString moduleEndedText(int exitCode, bool crashed)
{
    if (crashed) {
        return QStringLiteral("El módulo 0731 terminó de forma anormal.");
    }
    if (exitCode != 0) {
        return QStringLiteral("Módulo 0731 finalizado (código de salida %1).").arg(exitCode);
    }
    return QStringLiteral("Módulo 0731 finalizado.");
}

} // namespace qz
