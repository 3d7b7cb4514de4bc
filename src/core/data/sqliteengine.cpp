// The SQLite engine behind the host's database interface.
#include "core/data/sqliteengine.h"

#include "core/data/dialect.h"
#include "core/data/sqltext.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace qz {

namespace {

constexpr int kBusyTimeoutMs = 5000;

QString engineMessage(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

bool isDateType(const QString &declared)
{
    QString t = declared.trimmed().toUpper();
    return t.startsWith(QLatin1String("DATE")) || t == QLatin1String("TIMESTAMP");
}

Value readColumn(sqlite3_stmt *stmt, int i)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return Value(static_cast<std::int64_t>(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT:
        return Value(sqlite3_column_double(stmt, i));
    case SQLITE_NULL:
        return Value();
    default: {
        QString text =
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)),
                              sqlite3_column_bytes(stmt, i));
        const char *decl = sqlite3_column_decltype(stmt, i);
        if (decl && isDateType(QString::fromUtf8(decl))) {
            QDateTime dt = Value(text).toDate();
            if (dt.isValid()) {
                return Value(dt);
            }
        }
        return Value(text);
    }
    }
}

void bindValue(sqlite3_stmt *stmt, int index, const Value &v)
{
    switch (v.kind()) {
    case Value::Kind::Null:
        sqlite3_bind_null(stmt, index);
        break;
    case Value::Kind::Integer:
        sqlite3_bind_int64(stmt, index, v.toInt());
        break;
    case Value::Kind::Double:
        sqlite3_bind_double(stmt, index, v.toDouble());
        break;
    case Value::Kind::Text:
    case Value::Kind::Date: {
        QByteArray utf8 = v.toText().toUtf8();
        sqlite3_bind_text(stmt, index, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT);
        break;
    }
    }
}

// Finalizes a statement when the scope ends.
struct Statement {
    sqlite3_stmt *stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

} // namespace

int hostErrorNumber(int sqliteCode, const QString &message)
{
    const int primary = sqliteCode & 0xff;
    const QString m = message.toLower();
    if (m.contains(QLatin1String("already exists"))) {
        return m.startsWith(QLatin1String("index")) ? dberr::kPrimaryKeyExists
                                                    : dberr::kTableExists;
    }
    if (m.contains(QLatin1String("no such table"))) {
        return dberr::kNoSuchTable;
    }
    if (m.contains(QLatin1String("no such column"))) {
        return dberr::kTooFewParameters;
    }
    if (m.contains(QLatin1String("unique constraint"))) {
        return dberr::kDuplicateKey;
    }
    if (message == QLatin1String(dberr::kOverflowText)) {
        return dberr::kOverflow; // raised by our val() on a number beyond any range
    }
    if (m.contains(QLatin1String("syntax error")) ||
        m.contains(QLatin1String("incomplete input"))) {
        return dberr::kSyntax;
    }
    switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return dberr::kLocked;
    case SQLITE_CANTOPEN:
        return dberr::kCannotOpen;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return dberr::kNotADatabase;
    case SQLITE_READONLY:
        return dberr::kReadOnly;
    case SQLITE_FULL:
        return dberr::kDiskFull;
    case SQLITE_IOERR:
        return 3043; // disk or network error
    default:
        return sqliteCode; // the engine's own number
    }
}

std::unique_ptr<SqliteEngine> SqliteEngine::open(const QString &path, Mode mode)
{
    if (path.trimmed().isEmpty()) {
        throw DbError(dberr::kInvalidPath,
                      QStringLiteral("No se ha indicado el nombre del archivo de la base de "
                                     "datos."));
    }
    QFileInfo info(path);
    if (mode == Mode::OpenExisting && !info.exists()) {
        throw DbError(dberr::kFileNotFound,
                      QStringLiteral("No se encuentra el archivo '%1'.").arg(path));
    }
    if (info.isDir()) {
        throw DbError(
            dberr::kInvalidPath,
            QStringLiteral("'%1' es una carpeta, no el archivo de la base de datos.").arg(path));
    }
    if (info.exists() && !info.isFile()) {
        throw DbError(dberr::kInvalidPath,
                      QStringLiteral("'%1' no es un archivo de base de datos.").arg(path));
    }
    // The engine takes an empty file for a new, empty database and would let the first
    // statement make one of it; an existing database is never empty.
    if (mode == Mode::OpenExisting && info.size() == 0) {
        throw DbError(dberr::kNotADatabase,
                      QStringLiteral("Formato de base de datos no reconocido '%1': el archivo "
                                     "está vacío.")
                          .arg(path));
    }
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (mode == Mode::Create) {
        flags |= SQLITE_OPEN_CREATE;
    }
    sqlite3 *raw = nullptr;
    QByteArray utf8 = path.toUtf8();
    int rc = sqlite3_open_v2(utf8.constData(), &raw, flags, nullptr);
    if (rc != SQLITE_OK) {
        QString msg = raw ? engineMessage(raw) : QStringLiteral("out of memory");
        sqlite3_close_v2(raw);
        throw DbError(rc == SQLITE_CANTOPEN || rc == SQLITE_BUSY ? dberr::kCannotOpen
                                                                 : hostErrorNumber(rc, msg),
                      msg + QStringLiteral(" (%1)").arg(path));
    }
    std::unique_ptr<SqliteEngine> engine(new SqliteEngine(raw));
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    registerHostFunctions(raw);
    try {
        // Reading the schema is what fails on a file that is not a database or that another
        // program holds exclusively.
        engine->query(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        if (mode == Mode::Create) {
            engine->query(QStringLiteral("PRAGMA journal_mode=WAL"));
        }
        engine->execute(QStringLiteral("PRAGMA synchronous=FULL"));
        engine->execute(QStringLiteral("PRAGMA foreign_keys=OFF"));
    } catch (const DbError &e) {
        if (e.number() == dberr::kNotADatabase) {
            throw DbError(dberr::kNotADatabase,
                          QStringLiteral("Formato de base de datos no reconocido '%1'. (%2)")
                              .arg(path, e.description()));
        }
        if (e.number() == dberr::kLocked || e.number() == dberr::kCannotOpen) {
            throw DbError(dberr::kCannotOpen, e.description());
        }
        throw;
    }
    return engine;
}

SqliteEngine::~SqliteEngine()
{
    sqlite3_close_v2(db_);
}

void SqliteEngine::fail(int rc, const QString &sql) const
{
    QString msg = engineMessage(db_);
    if (!sql.isEmpty()) {
        msg += QStringLiteral(" [") + sql + u']';
    }
    throw DbError(hostErrorNumber(rc, engineMessage(db_)), msg);
}

QString SqliteEngine::translate(const QString &hostSql) const
{
    return translateStatement(hostSql);
}

QueryResult SqliteEngine::query(const QString &translated)
{
    QByteArray utf8 = translated.toUtf8();
    Statement st;
    int rc =
        sqlite3_prepare_v2(db_, utf8.constData(), static_cast<int>(utf8.size()), &st.stmt, nullptr);
    if (rc != SQLITE_OK) {
        fail(rc, translated);
    }
    QStringList columns;
    const int n = st.stmt ? sqlite3_column_count(st.stmt) : 0;
    for (int i = 0; i < n; ++i) {
        columns << QString::fromUtf8(sqlite3_column_name(st.stmt, i));
    }
    std::vector<std::vector<Value>> rows;
    while (st.stmt && (rc = sqlite3_step(st.stmt)) == SQLITE_ROW) {
        std::vector<Value> row;
        row.reserve(n);
        for (int i = 0; i < n; ++i) {
            row.push_back(readColumn(st.stmt, i));
        }
        rows.push_back(std::move(row));
    }
    if (st.stmt && rc != SQLITE_DONE) {
        fail(rc, translated);
    }
    return QueryResult(columns, std::move(rows));
}

int SqliteEngine::execute(const QString &translated)
{
    QByteArray utf8 = translated.toUtf8();
    const char *tail = utf8.constData();
    const char *end = tail + utf8.size();
    int changed = 0;
    while (tail < end) {
        Statement st;
        const char *next = nullptr;
        int rc = sqlite3_prepare_v2(db_, tail, static_cast<int>(end - tail), &st.stmt, &next);
        if (rc != SQLITE_OK) {
            fail(rc, translated);
        }
        tail = next;
        if (!st.stmt) {
            continue; // blanks or a lone ";"
        }
        while ((rc = sqlite3_step(st.stmt)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) {
            fail(rc, translated);
        }
        changed += sqlite3_changes(db_);
    }
    return changed;
}

qint64 SqliteEngine::schemaStamp()
{
    return query(QStringLiteral("PRAGMA schema_version")).at(0, 0).toInt();
}

std::vector<ColumnInfo> SqliteEngine::tableColumns(const QString &table)
{
    QueryResult r = query(QStringLiteral("PRAGMA table_info(%1)").arg(sqlQuoted(table)));
    std::vector<ColumnInfo> columns;
    const int nameCol = r.indexOf(QStringLiteral("name"));
    const int typeCol = r.indexOf(QStringLiteral("type"));
    for (int i = 0; i < r.rowCount(); ++i) {
        columns.push_back({r.at(i, nameCol).toText(), r.at(i, typeCol).toText()});
    }
    return columns;
}

QStringList SqliteEngine::tableNames()
{
    QueryResult r =
        query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"));
    QStringList names;
    for (int i = 0; i < r.rowCount(); ++i) {
        names << r.at(i, 0).toText();
    }
    return names;
}

bool SqliteEngine::tableExists(const QString &table)
{
    return !query(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND "
                                 "upper(name)=upper(%1)")
                      .arg(sqlQuoted(table)))
                .isEmpty();
}

std::vector<IndexInfo> SqliteEngine::indexesOf(const QString &table)
{
    std::vector<IndexInfo> out;
    const QueryResult list =
        query(QStringLiteral("SELECT l.name, l.\"unique\", l.partial, m.sql FROM "
                             "pragma_index_list(%1) AS l LEFT JOIN sqlite_master AS m "
                             "ON m.type = 'index' AND m.name = l.name")
                  .arg(sqlQuoted(table)));
    for (int r = 0; r < list.rowCount(); ++r) {
        IndexInfo index;
        index.name = list.at(r, 0).toText();
        index.unique = list.at(r, 1).toInt() != 0;
        index.partial = list.at(r, 2).toInt() != 0;
        index.definition = list.at(r, 3).toText();
        const QueryResult info =
            query(QStringLiteral("SELECT name FROM pragma_index_info(%1) ORDER BY seqno")
                      .arg(sqlQuoted(index.name)));
        for (int i = 0; i < info.rowCount(); ++i) {
            if (info.at(i, 0).isNull()) { // an expression
                index.columns.clear();
                break;
            }
            index.columns << info.at(i, 0).toText();
        }
        out.push_back(std::move(index));
    }
    return out;
}

void SqliteEngine::store(Record &record)
{
    QString sql;
    if (record.isNew()) {
        QStringList names, marks;
        for (const ColumnInfo &c : record.columns()) {
            names << quotedName(c.name);
            marks << QStringLiteral("?");
        }
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quotedName(record.table()), names.join(u','), marks.join(u','));
    } else {
        QStringList sets;
        for (const ColumnInfo &c : record.columns()) {
            sets << quotedName(c.name) + QStringLiteral("=?");
        }
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?")
                  .arg(quotedName(record.table()), sets.join(u','));
    }
    QByteArray utf8 = sql.toUtf8();
    Statement st;
    int rc =
        sqlite3_prepare_v2(db_, utf8.constData(), static_cast<int>(utf8.size()), &st.stmt, nullptr);
    if (rc != SQLITE_OK) {
        fail(rc, sql);
    }
    int i = 1;
    for (int c = 0; c < record.columnCount(); ++c) {
        bindValue(st.stmt, i++, record.value(c));
    }
    if (!record.isNew()) {
        sqlite3_bind_int64(st.stmt, i, *record.rowid());
    }
    rc = sqlite3_step(st.stmt);
    if (rc != SQLITE_DONE) {
        fail(rc, sql);
    }
    if (record.isNew()) {
        record.setRowid(sqlite3_last_insert_rowid(db_));
    }
}

void SqliteEngine::remove(const Record &record)
{
    if (record.isNew()) {
        return;
    }
    execute(QStringLiteral("DELETE FROM %1 WHERE rowid=%2")
                .arg(quotedName(record.table()))
                .arg(*record.rowid()));
}

void SqliteEngine::begin()
{
    execute(QStringLiteral("BEGIN IMMEDIATE"));
}

void SqliteEngine::commit()
{
    execute(QStringLiteral("COMMIT"));
}

void SqliteEngine::rollback()
{
    if (inTransaction()) {
        execute(QStringLiteral("ROLLBACK"));
    }
}

bool SqliteEngine::inTransaction() const
{
    return sqlite3_get_autocommit(db_) == 0;
}

} // namespace qz
