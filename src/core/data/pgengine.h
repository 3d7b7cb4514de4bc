// The PostgreSQL engine: the host's database on a server, for an office of several
// workstations.
//
// Statements in the host dialect are translated by pgdialect.h and run through libpq over one
// connection. As on SQLite, a failed statement inside a transaction undoes only itself (each
// runs under a savepoint), text compares ignoring case (citext columns), and the writer's
// transaction lets one writer at a time into the database: BEGIN, then a transaction-level
// advisory lock that every writer takes, so a read-then-write is as safe as under SQLite's
// BEGIN IMMEDIATE. Waits are bounded: 5 s to connect (unless the connection string says
// otherwise) and 5 s for any lock; a deadlock or serialization failure is retried three
// times, then reported as locked (3218).
#pragma once

#include "core/data/databaseengine.h"
#include "core/data/dberror.h"

#include <memory>

struct pg_conn;
struct pg_result;

namespace qz {

class PgEngine final : public DatabaseEngine {
public:
    // Connects with a libpq connection string; a password in it is refused (it belongs in the
    // user's password file or the environment). Throws DbError.
    static std::unique_ptr<PgEngine> connect(const QString &conninfo);
    ~PgEngine() override;

    // "database on host:port", for messages.
    QString displayName() const;

    QString translate(const QString &hostSql) const override;
    QueryResult query(const QString &sql) override;
    int execute(const QString &sql) override;
    std::vector<ColumnInfo> tableColumns(const QString &table) override;
    QStringList tableNames() override;
    bool tableExists(const QString &table) override;
    qint64 schemaStamp() override { return schemaChanges_; }
    std::vector<IndexInfo> indexesOf(const QString &table) override;
    QString rowIdSelect() const override { return QStringLiteral("ctid::text"); }
    qint64 rowIdOf(const Value &selected) const override;
    void store(Record &record) override;
    void remove(const Record &record) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override;

private:
    explicit PgEngine(pg_conn *conn) : conn_(conn) {}

    struct Outcome {
        QueryResult rows;
        int changed = 0;
    };
    // Runs server statements, under a savepoint inside a transaction, retrying deadlocks and
    // serialization failures. Throws DbError.
    Outcome run(const QString &sql);
    // Runs statements with no savepoint and no retry; returns the error's state or empty.
    QString runOnce(const QString &sql, Outcome *outcome, QString *message);
    void simple(const QString &sql);

    pg_conn *conn_ = nullptr;
    bool savepoint_ = false;
    qint64 schemaChanges_ = 0;
};

// The host's error number of a server error state (SQLSTATE), given the statement it came
// from.
int hostErrorNumberOfState(const QString &state, const QString &message, const QString &sql);

} // namespace qz
