// The query-result table model.
#include "gui/shell/resulttablemodel.h"

namespace qz {

void ResultTableModel::setResult(QueryResult result, const QStringList &headings,
                                 std::vector<ColumnFormat> formats)
{
    beginResetModel();
    result_ = std::move(result);
    headings_ = headings;
    formats_ = std::move(formats);
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

ColumnFormat ResultTableModel::formatOf(int column) const
{
    return column < static_cast<int>(formats_.size()) ? formats_[column] : ColumnFormat{};
}

QVariant ResultTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const Value &value = result_.at(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        return columnText(value, formatOf(index.column()));
    case kRawTextRole:
        return value.toText();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            (alignsRight(value, formatOf(index.column())) ? Qt::AlignRight : Qt::AlignLeft) |
            Qt::AlignVCenter);
    default:
        return {};
    }
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
