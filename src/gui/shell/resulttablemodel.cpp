// The query-result table model.
#include "gui/shell/resulttablemodel.h"

namespace qz {

void ResultTableModel::setResult(QueryResult result, const QStringList &headings)
{
    beginResetModel();
    result_ = std::move(result);
    headings_ = headings;
    endResetModel();
}

int ResultTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : result_.rowCount();
}

int ResultTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(result_.columns().size());
}

QVariant ResultTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return result_.at(index.row(), index.column()).toText();
    }
    if (role == Qt::TextAlignmentRole && result_.at(index.row(), index.column()).isNumber()) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return section < headings_.size() ? headings_[section] : result_.columns()[section];
}

} // namespace qz
