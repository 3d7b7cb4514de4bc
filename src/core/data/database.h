// The connection to the shared database: one SQLite file opened shared and read-write by
// every program of the system and by the host at the same time.
//
// Every connection runs in WAL mode with synchronous=FULL, a busy timeout of 5 s and
// foreign keys off, and has the host's functions registered (see dialect.h). Statements are
// given in the host dialect and translated before they run. Errors throw DbError with the
// host's number (dberror.h) and the engine's text.
#pragma once

#include "core/data/databaseengine.h"
#include "core/data/dberror.h"
#include "core/data/queryresult.h"
#include "core/data/record.h"

#include <QString>

#include <map>
#include <memory>
#include <vector>

struct sqlite3;

namespace qz {

class Database final {
public:
    enum class Mode { OpenExisting, Create };

    Database();
    ~Database();
    Database(Database &&) noexcept;
    Database &operator=(Database &&) noexcept;
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens a database file shared and read-write. OpenExisting refuses a missing file
    // (3024), a folder or no name (3044), an empty file or one that is not a database (3343)
    // and a file opened exclusively by another program (3051); it never creates or writes
    // the file. Create (the host's installation only) makes a new database in WAL mode.
    // Throws DbError.
    static Database open(const QString &path, Mode mode = Mode::OpenExisting);
    // Connects to a database on a PostgreSQL server; conninfo is libpq's connection string
    // (the password comes from the user's password file or the environment). Throws DbError:
    // 3151 server not reached, 3029 password refused, 3024 no such database.
    static Database connect(const QString &conninfo);

    bool isOpen() const { return engine_ != nullptr; }
    // True on a database server (PostgreSQL), false on a SQLite file. Only the host's
    // installer needs to know.
    bool isServer() const;
    void close();
    QString path() const { return path_; }

    // Runs a statement that returns rows.
    QueryResult query(const QString &sql);
    // Runs a statement that changes data or structure; returns the number of rows changed.
    int execute(const QString &sql);
    // Runs several statements separated by ";" (used for schemas).
    void executeScript(const QString &sql);
    // Runs statements written for this engine, untranslated (the installation's own setup).
    void executeNative(const QString &sql);

    // First column of the first row, or Null when there is no row.
    Value scalar(const QString &sql);

    // Rows of "SELECT * FROM T [WHERE ...]" as updatable records of table T.
    std::vector<Record> selectForUpdate(const QString &sql);
    // A new, empty record of a table (all Null).
    Record newRecord(const QString &table);
    // Stores a record: INSERT when it is new (and then remembers its row), UPDATE otherwise.
    void store(Record &record);
    // Deletes the stored row of a record.
    void remove(const Record &record);

    // Columns of a table in order with their declared types; throws 3078 when missing.
    std::vector<ColumnInfo> columnsOf(const QString &table);
    bool tableExists(const QString &table);
    QStringList tableNames();
    // Indexes of a table, its primary key among them.
    std::vector<IndexInfo> indexesOf(const QString &table);

    // The writer's transaction (one writer at a time, as SQLite's BEGIN IMMEDIATE) / COMMIT /
    // ROLLBACK; prefer the Transaction guard.
    void begin();
    void commit();
    void rollback();
    bool inTransaction() const;

    // The SQLite connection, or null on a server (tests that interrupt the engine use it).
    sqlite3 *handle() const;

private:
    Database(std::unique_ptr<DatabaseEngine> engine, QString path);
    DatabaseEngine &engine() const;

    std::unique_ptr<DatabaseEngine> engine_;
    QString path_;
    // Columns of the tables already asked for, valid while the schema version stays the same
    // (any connection that changes the schema changes it).
    std::map<QString, std::vector<ColumnInfo>> columns_;
    qint64 columnsSchema_ = -1;
};

} // namespace qz
