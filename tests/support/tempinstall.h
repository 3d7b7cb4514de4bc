// A fresh host installation in temporary folders for one test.
//
// The constructor makes two temporary folders, points $QZ_INI_DIR at the second one (so
// QZ000.INI lands there and the user's own configuration is never touched) and creates the
// installation in the first one with velquira's own code. The destructor removes both folders
// and restores $QZ_INI_DIR as it was. Instances may nest; destroy them in reverse order.
// In a test program that runs on the server (pgcluster.h), the database is a fresh database
// on the test cluster, named in QZ000.INI by DBServer, and dropped at the end.
#pragma once

#include "core/data/database.h"
#include "support/pgcluster.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace qz::test {

class TempInstall final {
public:
    TempInstall();
    ~TempInstall();
    TempInstall(const TempInstall &) = delete;
    TempInstall &operator=(const TempInstall &) = delete;

    // True when the installation was created; message() says why not.
    bool ok() const { return ok_; }
    QString message() const { return message_; }

    QString dir() const;     // the installation folder, without a trailing separator
    QString sysPath() const; // SysPath as written into QZ000.INI: dir() and "/"
    QString dbPath() const;  // the shared database file (none on the server)
    QString server() const;  // the server's connection string, empty on a file
    // Where the database is, for a child process: the server's connection string or the file
    // (openLocation opens either).
    QString location() const { return server_ ? server() : dbPath(); }
    QString iniDir() const;  // the folder $QZ_INI_DIR points to
    QString iniPath() const; // QZ000.INI in iniDir()

    // A new connection to the shared database. Throws DbError.
    Database open() const;

private:
    std::unique_ptr<PgTempDatabase> server_;
    QTemporaryDir installDir_;
    QTemporaryDir iniDir_;
    bool hadIniDir_ = false;
    QByteArray oldIniDir_;
    // The programs a test starts allow one running copy per runtime folder: each installation
    // gets its own, so that tests running at the same time never see each other's copies.
    QTemporaryDir runtimeDir_;
    bool hadRuntimeDir_ = false;
    QByteArray oldRuntimeDir_;
    bool ok_ = false;
    QString message_;
};

// Opens the database of TempInstall::location(). Throws DbError.
Database openLocation(const QString &location);

} // namespace qz::test
