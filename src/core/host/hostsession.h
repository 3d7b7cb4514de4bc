// What the host window does without a screen: reading the installation that QZ000.INI points
// at, the host's users, changing the current user, and starting the form module the way the
// host starts it, following it until it ends.
#pragma once

#include "core/data/database.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QProcess;

namespace qz {

// The installation as QZ000.INI describes it.
struct HostInstallation {
    QString iniFile;  // the QZ000.INI read
    QString sysPath;  // SysPath as written
    QString database; // DBPath & DBName, separators turned into "/"
    QString server;   // DBServer: the database server's connection string, or empty
    QString user;     // SysUser
};

// Reads [Options] of QZ000.INI (qz::iniPath()); missing keys read empty. Changes nothing,
// not even the current directory.
HostInstallation readHostInstallation();

// A connection to the installation's database (server or file). Throws DbError.
Database openHostDatabase(const HostInstallation &installation);
// Where the database is, for the host window: the server's connection or the file.
QString databaseLocation(const HostInstallation &installation);

// The names in CLAVES.Usuario, sorted. Throws DbError (3051 when the file is missing, 3078
// when it has no CLAVES table).
QStringList hostUsers(const QString &databasePath);
QStringList hostUsers(Database &db);

// Makes user the host's current user: writes SysUser into [Options] of QZ000.INI, touching no
// other line. False with *error set when user is empty or the file cannot be written.
bool setHostUser(const QString &user, QString *error);

// The form module's program beside the host's own: programDir/declmod.
QString declmodPath(const QString &programDir);

struct StartResult {
    bool ok = false;
    QString message; // why it did not start (Spanish, for the host window's message box)
};

// The form module's run, followed until it ends, so that the host can say when it has.
class ModuleProcess final : public QObject {
    Q_OBJECT
public:
    explicit ModuleProcess(QObject *parent = nullptr);
    // A module still running keeps running: closing the host does not end the module (it
    // checked for the host's window once, at its start).
    ~ModuleProcess() override;

    // Starts declmod as the host does: no arguments, current directory SysPath (a trailing
    // "/" or "\" and backslashes allowed), the host's environment, its output on the host's.
    // Refuses when SysPath is empty or not a folder, when declmod is missing or not
    // executable, when it cannot be started, or while an earlier start still runs.
    StartResult start(const QString &programDir, const QString &sysPath);

    bool isRunning() const;

signals:
    // The module ended: its exit status, or crashed when a signal ended it.
    void finished(int exitCode, bool crashed);

private:
    QProcess *process_ = nullptr;
};

// The host window's status line once the module has ended.
QString moduleEndedText(int exitCode, bool crashed);

} // namespace qz
