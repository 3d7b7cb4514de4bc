// The SQLite engine: the host's database as one file shared by every program of the system.
//
// Every connection runs in WAL mode with synchronous=FULL, a busy timeout of 5 s and foreign
// keys off, and has the host's functions registered (see dialect.h). The writer's transaction
// is BEGIN IMMEDIATE.
#pragma once

#include "core/data/databaseengine.h"
#include "core/data/dberror.h"

#include <memory>

struct sqlite3;

namespace qz {

class SqliteEngine final : public DatabaseEngine {
public:
    enum class Mode { OpenExisting, Create };

    // Opens a database file shared and read-write; see Database::open. Throws DbError.
    static std::unique_ptr<SqliteEngine> open(const QString &path, Mode mode);
    ~SqliteEngine() override;

    QString translate(const QString &hostSql) const override;
    QueryResult query(const QString &sql) override;
    int execute(const QString &sql) override;
    std::vector<ColumnInfo> tableColumns(const QString &table) override;
    QStringList tableNames() override;
    bool tableExists(const QString &table) override;
    qint64 schemaStamp() override;
    std::vector<IndexInfo> indexesOf(const QString &table) override;
    QString rowIdSelect() const override { return QStringLiteral("rowid"); }
    qint64 rowIdOf(const Value &selected) const override { return selected.toInt(); }
    void store(Record &record) override;
    void remove(const Record &record) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override;

    sqlite3 *handle() const { return db_; }

private:
    explicit SqliteEngine(sqlite3 *db) : db_(db) {}
    [[noreturn]] void fail(int rc, const QString &sql = {}) const;

    sqlite3 *db_ = nullptr;
};

// Maps an SQLite result code and message to the host's error number.
int hostErrorNumber(int sqliteCode, const QString &message);

} // namespace qz
