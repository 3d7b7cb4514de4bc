// The host's database interface over one engine: the translation, the cache of table
// columns and the updatable records are the same for every engine.
#include "core/data/database.h"

#include "core/data/pgengine.h"
#include "core/data/sqliteengine.h"

#include <QRegularExpression>

namespace qz {

QString quotedName(const QString &name)
{
    QString n = name;
    n.replace(u'"', QStringLiteral("\"\""));
    return u'"' + n + u'"';
}

Database::Database() = default;

Database::Database(std::unique_ptr<DatabaseEngine> engine, QString path)
    : engine_(std::move(engine)), path_(std::move(path))
{
}

Database::~Database() = default;
Database::Database(Database &&other) noexcept = default;
Database &Database::operator=(Database &&other) noexcept = default;

void Database::close()
{
    engine_.reset();
}

Database Database::open(const QString &path, Mode mode)
{
    return Database(SqliteEngine::open(path, mode == Mode::Create
                                                 ? SqliteEngine::Mode::Create
                                                 : SqliteEngine::Mode::OpenExisting),
                    path);
}

Database Database::connect(const QString &conninfo)
{
    std::unique_ptr<PgEngine> engine = PgEngine::connect(conninfo);
    QString name = engine->displayName();
    return Database(std::move(engine), name);
}

bool Database::isServer() const
{
    return dynamic_cast<const PgEngine *>(engine_.get()) != nullptr;
}

sqlite3 *Database::handle() const
{
    const auto *sqlite = dynamic_cast<const SqliteEngine *>(engine_.get());
    return sqlite ? sqlite->handle() : nullptr;
}

DatabaseEngine &Database::engine() const
{
    if (!engine_) {
        throw DbError(3420, QStringLiteral("El objeto no es válido o ya no está definido."));
    }
    return *engine_;
}

QueryResult Database::query(const QString &sql)
{
    DatabaseEngine &e = engine();
    return e.query(e.translate(sql));
}

int Database::execute(const QString &sql)
{
    DatabaseEngine &e = engine();
    return e.execute(e.translate(sql));
}

void Database::executeScript(const QString &sql)
{
    execute(sql);
}

void Database::executeNative(const QString &sql)
{
    engine().execute(sql);
}

Value Database::scalar(const QString &sql)
{
    QueryResult r = query(sql);
    if (r.isEmpty() || r.columns().isEmpty()) {
        return {};
    }
    return r.at(0, 0);
}

std::vector<ColumnInfo> Database::columnsOf(const QString &table)
{
    DatabaseEngine &e = engine();
    const qint64 stamp = e.schemaStamp();
    if (stamp != columnsSchema_) {
        columns_.clear();
        columnsSchema_ = stamp;
    }
    const QString key = table.toLower();
    if (const auto it = columns_.find(key); it != columns_.end()) {
        return it->second;
    }
    std::vector<ColumnInfo> columns = e.tableColumns(table);
    if (columns.empty()) {
        throw DbError(
            dberr::kNoSuchTable,
            QStringLiteral("No se encuentra la tabla o consulta de entrada '%1'.").arg(table));
    }
    columns_[key] = columns;
    return columns;
}

bool Database::tableExists(const QString &table)
{
    return engine().tableExists(table);
}

QStringList Database::tableNames()
{
    return engine().tableNames();
}

std::vector<IndexInfo> Database::indexesOf(const QString &table)
{
    return engine().indexesOf(table);
}

std::vector<Record> Database::selectForUpdate(const QString &sql)
{
    static const QRegularExpression head(
        QStringLiteral(R"(^\s*SELECT\s+\*\s+FROM\s+(\[[^\]]+\]|"[^"]+"|\w+)(.*)$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    QRegularExpressionMatch m = head.match(sql);
    if (!m.hasMatch()) {
        throw DbError(
            dberr::kSyntax,
            QStringLiteral("Only SELECT * FROM <table> can be opened for update: %1").arg(sql));
    }
    QString table = m.captured(1);
    if (table.startsWith(u'[') || table.startsWith(u'"')) {
        table = table.mid(1, table.size() - 2);
    }
    DatabaseEngine &e = engine();
    std::vector<ColumnInfo> columns = columnsOf(table);
    QString select = QStringLiteral("SELECT ") + e.rowIdSelect();
    for (const ColumnInfo &c : columns) {
        select += QStringLiteral(", ") + quotedName(c.name);
    }
    QueryResult r = query(select + QStringLiteral(" FROM ") + quotedName(table) + m.captured(2));
    std::vector<Record> records;
    records.reserve(r.rowCount());
    for (int i = 0; i < r.rowCount(); ++i) {
        Record rec(table, columns);
        rec.setRowid(e.rowIdOf(r.at(i, 0)));
        for (int c = 0; c < rec.columnCount(); ++c) {
            rec.set(c, r.at(i, c + 1));
        }
        records.push_back(std::move(rec));
    }
    return records;
}

Record Database::newRecord(const QString &table)
{
    return Record(table, columnsOf(table));
}

void Database::store(Record &record)
{
    engine().store(record);
}

void Database::remove(const Record &record)
{
    if (!record.isNew()) {
        engine().remove(record);
    }
}

void Database::begin()
{
    engine().begin();
}

void Database::commit()
{
    engine().commit();
}

void Database::rollback()
{
    if (engine_ && engine_->inTransaction()) {
        engine_->rollback();
    }
}

bool Database::inTransaction() const
{
    return engine_ && engine_->inTransaction();
}

} // namespace qz
