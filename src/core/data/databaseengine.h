// What the database layer needs of an engine: the host dialect translated for it, rows, the
// columns of a table with their declared types, stored records and the writer's transaction.
// Database (database.h) is the one interface the programs use; it holds one engine, SQLite
// (sqliteengine.h) or PostgreSQL (pgengine.h), and nothing above it knows which.
#pragma once

#include "core/data/queryresult.h"
#include "core/data/record.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace qz {

// An index of a table: its columns in key order, or the expression it is on.
struct IndexInfo {
    QString name;
    bool unique = false;
    bool partial = false; // has a WHERE clause
    QStringList columns;  // empty for an index on an expression
    QString definition;   // the statement that made it, blanks and case as the engine keeps
};

class DatabaseEngine {
public:
    virtual ~DatabaseEngine() = default;

    // A statement in the host dialect as this engine runs it.
    virtual QString translate(const QString &hostSql) const = 0;
    // Runs one translated statement that returns rows.
    virtual QueryResult query(const QString &sql) = 0;
    // Runs translated statements (one or several separated by ";"); returns the rows changed.
    virtual int execute(const QString &sql) = 0;

    // Columns of a table in order with their declared types; empty when there is no table.
    virtual std::vector<ColumnInfo> tableColumns(const QString &table) = 0;
    virtual QStringList tableNames() = 0;
    // Whether a table of that name (ignoring case) exists.
    virtual bool tableExists(const QString &table) = 0;
    // A number that changes when the schema changes: through any connection on SQLite, through
    // this one on the server, which keeps no schema version.
    virtual qint64 schemaStamp() = 0;

    // Indexes of a table (its primary key among them), in no particular order.
    virtual std::vector<IndexInfo> indexesOf(const QString &table) = 0;

    // The column list of "SELECT <rowIdSelect>, ..." that reads a row's identity.
    virtual QString rowIdSelect() const = 0;
    virtual qint64 rowIdOf(const Value &selected) const = 0;
    // INSERT (a new record, which then knows its row) or UPDATE of the row it was read from.
    virtual void store(Record &record) = 0;
    virtual void remove(const Record &record) = 0;

    // The writer's transaction: one writer at a time in the whole database, as BEGIN IMMEDIATE.
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;
};

// A table or column name quoted for a statement in the host dialect.
QString quotedName(const QString &name);

} // namespace qz
