// A read-only table model over a query result, for the grids of declmod's list windows.
// Values are shown as the engine returned them (numbers in plain decimal, Null as empty).
#pragma once

#include "core/data/queryresult.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace qz {

class ResultTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResultTableModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    // Replaces the rows; headings name the columns (the result's own names when empty).
    void setResult(QueryResult result, const QStringList &headings = {});
    const QueryResult &result() const { return result_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QueryResult result_;
    QStringList headings_;
};

} // namespace qz
