// An updatable row: the columns of one table in their order with their declared types, and
// a value per column. Filled by column name (case-insensitive, as the host compares names),
// stored by Database::store as an INSERT (new row) or an UPDATE of the row it was read from.
#pragma once

#include "core/data/value.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace qz {

struct ColumnInfo {
    QString name;
    QString declaredType; // as written in CREATE TABLE, e.g. "Byte", "text(15)", "DATETIME"
};

class Record final {
public:
    Record() = default;
    Record(QString table, std::vector<ColumnInfo> columns);

    const QString &table() const { return table_; }
    const std::vector<ColumnInfo> &columns() const { return columns_; }
    int columnCount() const { return static_cast<int>(columns_.size()); }
    // Index of a column by name, case-insensitive; -1 when the table has no such column.
    int indexOf(const QString &name) const;

    const Value &value(int index) const { return values_.at(index); }
    // Value by column name; throws DbError 3265 when the column does not exist.
    const Value &value(const QString &name) const;
    Value operator[](const QString &name) const { return value(name); }
    void set(int index, const Value &v);
    void set(const QString &name, const Value &v);

    bool isNew() const { return !rowid_.has_value(); }
    std::optional<qint64> rowid() const { return rowid_; }
    void setRowid(std::optional<qint64> rowid) { rowid_ = rowid; }

private:
    QString table_;
    std::vector<ColumnInfo> columns_;
    std::vector<Value> values_;
    std::optional<qint64> rowid_;
};

} // namespace qz
