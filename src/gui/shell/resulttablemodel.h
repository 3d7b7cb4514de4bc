// A read-only table model over a query result, for the grids of declmod's list windows.
// Each column may have a format (display pattern, dates held as text): the model formats the
// values and aligns numbers on the right, the view only shows them. Columns without a format
// show the value as the engine returned it (numbers in plain decimal, Null as empty).
#pragma once

#include "core/data/queryresult.h"
#include "core/shell/columnformat.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace qz {

class ResultTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // The role that gives a cell's value as the engine returned it (text), unformatted.
    static constexpr int kRawTextRole = Qt::UserRole;

    explicit ResultTableModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    // Replaces the rows; headings name the columns (the result's own names when empty);
    // formats apply to the columns in order (missing ones show values as they are).
    void setResult(QueryResult result, const QStringList &headings = {},
                   std::vector<ColumnFormat> formats = {});
    const QueryResult &result() const { return result_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    ColumnFormat formatOf(int column) const;

    QueryResult result_;
    QStringList headings_;
    std::vector<ColumnFormat> formats_;
};

} // namespace qz
