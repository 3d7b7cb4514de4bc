// Copying a sent declaration's rows into the history tables.
#include "core/host/historytables.h"

#include "core/data/sqltext.h"
#include "core/data/value.h"

#include <algorithm>

namespace qz {

namespace {

int indexOfColumn(const std::vector<ColumnInfo> &columns, const QString &name)
{
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Where CORREL goes in a history table: after the declaration's key columns.
QString correlFollows(const std::vector<ColumnInfo> &columns)
{
    for (const char *name : {"semana", "formulario"}) {
        const int i = indexOfColumn(columns, QString::fromLatin1(name));
        if (i >= 0) {
            return columns[static_cast<size_t>(i)].name;
        }
    }
    return {};
}

// The columns of the working table's first unique index (its key), in key order.
QStringList keyColumns(Database &db, const QString &table)
{
    for (const IndexInfo &index : db.indexesOf(table)) {
        if (index.unique && !index.columns.isEmpty()) {
            return index.columns;
        }
    }
    return {};
}

QString bracketed(const QString &name)
{
    return u'[' + name + u']';
}

} // namespace

QString nextCorrel(Database &db, const QString &key)
{
    const QueryResult rows = db.query(QStringLiteral("SELECT CORREL FROM HCAB") + key);
    qint64 highest = 0;
    for (int r = 0; r < rows.rowCount(); ++r) {
        highest = std::max<qint64>(highest, rows.at(r, 0).toInt());
    }
    if (highest >= 999) {
        throw DbError(
            dberr::kOverflow,
            QStringLiteral("La declaración ya tiene 999 envíos: no hay número de envío."));
    }
    return QStringLiteral("%1").arg(highest + 1, 3, 10, QChar(u'0'));
}

void ensureHistoryTable(Database &db, const QString &table)
{
    requirePlainTableName(table);
    const QString history = QStringLiteral("H") + table;
    if (db.tableExists(history)) {
        return;
    }
    const std::vector<ColumnInfo> columns = db.columnsOf(table);
    const QString after = correlFollows(columns);
    if (after.isEmpty()) {
        throw DbError(dberr::kNoSuchTable,
                      QStringLiteral("No se puede crear %1: %2 no tiene la columna formulario.")
                          .arg(history, table));
    }
    const QString correl = QStringLiteral("[CORREL] Text(3)");
    QStringList definitions;
    for (const ColumnInfo &c : columns) {
        definitions << bracketed(c.name) + u' ' + c.declaredType;
        if (c.name == after) {
            definitions << correl;
        }
    }
    db.execute(QStringLiteral("CREATE TABLE %1 (%2)").arg(history, definitions.join(u',')));

    QStringList key = keyColumns(db, table);
    if (key.isEmpty()) {
        return;
    }
    const auto at = std::find_if(key.begin(), key.end(), [&](const QString &name) {
        return name.compare(after, Qt::CaseInsensitive) == 0;
    });
    key.insert(at == key.end() ? key.end() : at + 1, QStringLiteral("CORREL"));
    std::transform(key.begin(), key.end(), key.begin(), bracketed);
    db.execute(QStringLiteral("ALTER TABLE %1 ADD CONSTRAINT PK_%1 PRIMARY KEY (%2)")
                   .arg(history, key.join(u',')));
}

int copyToHistory(Database &db, const QString &table, const QString &key,
                  const HistoryValues &values)
{
    ensureHistoryTable(db, table);
    const QString history = QStringLiteral("H") + table;
    const std::vector<ColumnInfo> working = db.columnsOf(table);
    const std::vector<ColumnInfo> target = db.columnsOf(history);

    QStringList into;
    QStringList from;
    for (const ColumnInfo &c : working) {
        if (indexOfColumn(target, c.name) < 0) {
            throw DbError(dberr::kTooFewParameters,
                          QStringLiteral("La tabla %1 no tiene la columna %2 de %3.")
                              .arg(history, c.name, table));
        }
        into << bracketed(c.name);
        from << bracketed(c.name);
    }
    const auto add = [&](const char *column, const QString &value) {
        const QString name = QString::fromLatin1(column);
        if (indexOfColumn(target, name) >= 0 && indexOfColumn(working, name) < 0) {
            into << bracketed(name);
            from << value;
            return true;
        }
        return false;
    };
    if (!add("CORREL", sqlQuoted(values.correl))) {
        throw DbError(dberr::kTooFewParameters,
                      QStringLiteral("La tabla %1 no tiene la columna CORREL.").arg(history));
    }
    add("CONTROL", sqlQuoted(values.control));
    add("FEC_ENV", sqlQuoted(isoDateText(values.fecEnv)));
    add("NORDEN", QStringLiteral("NULL"));
    add("estado", QString::number(values.estado));
    return db.execute(QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4")
                          .arg(history, into.join(u','), from.join(u','), table) +
                      key);
}

} // namespace qz
