// QZ000.INI and the start-up configuration of each program.
#include "core/data/config.h"

#include "core/data/inifile.h"
#include "core/data/paths.h"

#include <QDir>
#include <QFileInfo>

namespace qz {

namespace {

// SysPath & name, as the host joins them (SysPath normally ends in a separator).
QString underSysPath(const QString &sysPath, const QString &name)
{
    if (sysPath.endsWith(u'\\') || sysPath.endsWith(u'/')) {
        return sysPath + name;
    }
    return joinPath(sysPath, name);
}

} // namespace

QString iniDirectory()
{
    QString dir = qEnvironmentVariable("QZ_INI_DIR");
    if (dir.isEmpty()) {
        dir = qEnvironmentVariable("XDG_CONFIG_HOME");
    }
    if (dir.isEmpty()) {
        dir = QDir::homePath() + QStringLiteral("/.config");
    }
    return dir;
}

QString iniPath()
{
    return findEntry(iniDirectory(), QString::fromLatin1(kIniFileName));
}

QString readOption(const QString &key)
{
    return readProfileString(iniPath(), QString::fromLatin1(kIniSection), key);
}

bool loadModuleConfig(Config &config)
{
    IniFile ini;
    ini.load(iniPath());
    const QString section = QString::fromLatin1(kIniSection);
    config = Config{};
    config.sysPath = ini.value(section, QStringLiteral("SysPath"));
    bool entered = true;
    if (!config.sysPath.isEmpty()) {
        entered = QDir::setCurrent(normalizedDir(config.sysPath));
    }
    config.dbPath = ini.value(section, QStringLiteral("DBPath"));
    config.dbName = ini.value(section, QStringLiteral("DBName"));
    config.baseDatos =
        config.dbPath.isEmpty() ? config.dbName : underSysPath(config.dbPath, config.dbName);
    config.baseDatos.replace(u'\\', u'/');
    config.dbServer = ini.value(section, QString::fromLatin1(kServerKey));
    config.usuario = ini.value(section, QStringLiteral("SysUser"));
    if (!config.sysPath.isEmpty()) {
        config.dirReportes = findEntry(config.sysPath, QStringLiteral("RPT"));
    }
    config.workgroup = underSysPath(config.sysPath, QString::fromLatin1(kWorkgroupFileName));
    return entered;
}

Config loadInstallerConfig()
{
    IniFile ini;
    ini.load(iniPath());
    const QString section = QString::fromLatin1(kIniSection);
    Config config;
    config.sysPath = ini.value(section, QStringLiteral("SysPath"));
    if (config.sysPath.endsWith(QLatin1String("\\\\"))) {
        config.sysPath.chop(1);
    }
    config.dbName = ini.value(section, QStringLiteral("DBName"));
    config.dbServer = ini.value(section, QString::fromLatin1(kServerKey));
    if (!config.sysPath.isEmpty()) {
        config.baseDatos = underSysPath(config.sysPath, config.dbName);
        config.baseDatos.replace(u'\\', u'/');
        config.dirReportes = findEntry(config.sysPath, QStringLiteral("RPT"));
        // The installer names the workgroup file SysPath & "\QZ000.MDW"; joining avoids the
        // doubled separator that gives on a path that already ends in one.
        config.workgroup = joinPath(config.sysPath, QString::fromLatin1(kWorkgroupFileName));
    }
    return config;
}

bool writeSystemDb(const Config &config)
{
    // Only the host creates QZ000.INI: a missing file stays missing.
    if (!QFileInfo::exists(iniPath())) {
        return false;
    }
    return writeProfileString(iniPath(), QString::fromLatin1(kIniSection),
                              QStringLiteral("SystemDB"), config.workgroup);
}

} // namespace qz
