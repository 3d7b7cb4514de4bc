// The throw-away PostgreSQL cluster of a test run (tests/pg/cluster.sh, started and stopped by
// CTest around the tests that need it) and fresh databases in it.
//
// $QZ_PG_CLUSTER names the file the cluster script wrote: the administrator's connection
// string, or "SKIP <reason>" when no server could be started. A test program runs on the
// server instead of SQLite files when $QZ_TEST_ENGINE is "pg": every TempInstall then puts
// its database on the cluster, and when there is no cluster every test of the program
// reports itself skipped with the reason.
#pragma once

#include <QString>

namespace qz::test {

struct PgCluster {
    QString adminConninfo; // empty when there is no cluster
    QString skipReason;    // why not
};

PgCluster pgCluster();

// True when this test program runs on the server ($QZ_TEST_ENGINE=pg).
bool onServer();

// A new, empty database on the cluster, dropped (connections and all) on destruction.
class PgTempDatabase final {
public:
    PgTempDatabase();
    ~PgTempDatabase();
    PgTempDatabase(const PgTempDatabase &) = delete;
    PgTempDatabase &operator=(const PgTempDatabase &) = delete;

    bool ok() const { return ok_; }
    QString message() const { return message_; }
    QString name() const { return name_; }
    // The connection string of this database (the cluster's, with its dbname).
    QString conninfo() const { return conninfo_; }

private:
    PgCluster cluster_;
    QString name_;
    QString conninfo_;
    bool ok_ = false;
    QString message_;
};

} // namespace qz::test
