// Rows of a query with their values typed as the engine returned them.
#pragma once

#include "core/data/value.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace qz {

class QueryResult final {
public:
    QueryResult() = default;
    QueryResult(QStringList columns, std::vector<std::vector<Value>> rows)
        : columns_(std::move(columns)), rows_(std::move(rows))
    {
    }

    const QStringList &columns() const { return columns_; }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    // Index of a result column by name, case-insensitive; -1 when absent.
    int indexOf(const QString &name) const;
    const Value &at(int row, int column) const { return rows_.at(row).at(column); }
    // Value of a column by name in a row; throws DbError 3265 for an unknown name.
    const Value &at(int row, const QString &name) const;
    const std::vector<Value> &row(int r) const { return rows_.at(r); }

private:
    QStringList columns_;
    std::vector<std::vector<Value>> rows_;
};

} // namespace qz
