// The host's configuration file QZ000.INI, section [Options], and what each program reads
// from it. The file lives in $QZ_INI_DIR when set, else $XDG_CONFIG_HOME, else ~/.config.
#pragma once

#include <QString>

namespace qz {

constexpr const char *kIniFileName = "QZ000.INI";
constexpr const char *kIniSection = "Options";
constexpr const char *kWorkgroupFileName = "QZ000.MDW";
// The optional key of [Options] that puts the shared database on a PostgreSQL server: a libpq
// connection string (host, port, dbname, user; never the password). Without it the database
// is the file DBPath & DBName.
constexpr const char *kServerKey = "DBServer";

// Folder and full path of QZ000.INI.
QString iniDirectory();
QString iniPath();

// What the programs read at start.
struct Config {
    QString sysPath;     // SysPath as written (a trailing "\" or "/" kept)
    QString dbPath;      // DBPath
    QString dbName;      // DBName
    QString baseDatos;   // database file: DBPath & DBName (decltab: SysPath & DBName)
    QString dbServer;    // DBServer: the server's connection string, or empty for the file
    QString dirReportes; // SysPath & "RPT"
    QString usuario;     // SysUser
    QString workgroup;   // SysPath & "QZ000.MDW"
};

// declmod, declrep, declchk: SysPath, made the current directory; DBPath & DBName; SysUser.
// Returns false when SysPath is set but is not a folder that can be entered.
bool loadModuleConfig(Config &config);

// decltab: SysPath and DBName only; the database is SysPath & DBName. A SysPath ending in
// two backslashes loses the last one.
Config loadInstallerConfig();

// Writes SystemDB = SysPath & "QZ000.MDW" into [Options], touching no other line. False,
// and nothing written, when QZ000.INI does not exist or cannot be replaced.
bool writeSystemDb(const Config &config);

// Reads one key of [Options].
QString readOption(const QString &key);

} // namespace qz
