// The batched declaration-list model.
#include "gui/management/declarationlistmodel.h"

#include <algorithm>

namespace qz {

DeclarationListModel::DeclarationListModel(Database &db, DeclarationListQuery query,
                                           QStringList headings, std::vector<ColumnFormat> formats,
                                           QObject *parent)
    : QAbstractTableModel(parent), db_(db), query_(std::move(query)),
      headings_(std::move(headings)), formats_(std::move(formats))
{
}

std::optional<ListKey> DeclarationListModel::lastKey() const
{
    if (rows_.empty()) {
        return std::nullopt;
    }
    return query_.keyOf(rows_.back());
}

void DeclarationListModel::reload(const std::optional<ListKey> &keep)
{
    const int wanted = std::max(kBatchSize, rowCount());
    const QueryResult first = query_.batch(db_, std::nullopt, wanted);
    std::vector<ListRow> rows;
    rows.reserve(static_cast<size_t>(first.rowCount()));
    for (int r = 0; r < first.rowCount(); ++r) {
        rows.push_back(first.row(r));
    }
    bool atEnd = first.rowCount() < wanted;
    if (keep && !atEnd) {
        // Rows inserted before the kept one moved it further down: read on up to it.
        const auto kept = std::find_if(rows.begin(), rows.end(), [&](const ListRow &row) {
            return query_.keyOf(row) == *keep;
        });
        if (kept == rows.end()) {
            const QueryResult more = query_.batch(db_, query_.keyOf(rows.back()), 0, *keep);
            for (int r = 0; r < more.rowCount(); ++r) {
                rows.push_back(more.row(r));
            }
        }
    }
    const Changing changing(changing_);
    beginResetModel();
    rows_ = std::move(rows);
    atEnd_ = atEnd;
    endResetModel();
}

void DeclarationListModel::clear()
{
    const Changing changing(changing_);
    beginResetModel();
    rows_.clear();
    atEnd_ = true;
    endResetModel();
}

int DeclarationListModel::rowOf(const ListKey &key) const
{
    for (size_t r = 0; r < rows_.size(); ++r) {
        if (query_.keyOf(rows_[r]) == key) {
            return static_cast<int>(r);
        }
    }
    return -1;
}

int DeclarationListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DeclarationListModel::columnCount(const QModelIndex &parent) const
{
    // The headings name the grid's columns; a dialog may name more than its list reads (the
    // print dialog's registered list, whose sending columns stay hidden and empty).
    return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant DeclarationListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    if (index.column() >= query_.shownColumns()) {
        return {};
    }
    const Value &value = rows_[static_cast<size_t>(index.row())].at(index.column());
    const size_t column = static_cast<size_t>(index.column());
    const ColumnFormat format = column < formats_.size() ? formats_[column] : ColumnFormat{};
    switch (role) {
    case Qt::DisplayRole:
        return columnText(value, format);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue((alignsRight(value, format) ? Qt::AlignRight : Qt::AlignLeft) |
                                   Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant DeclarationListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= headings_.size()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return headings_.at(section);
}

bool DeclarationListModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !atEnd_;
}

void DeclarationListModel::fetchMore(const QModelIndex &parent)
{
    // Asked from a slot of our own reset or insertion, new rows would be a change inside a
    // change that the other listeners have not seen the end of: the view asks again later.
    if (parent.isValid() || atEnd_ || changing_) {
        return;
    }
    QueryResult batch;
    try {
        batch = query_.batch(db_, lastKey(), kBatchSize);
    } catch (const DbError &e) {
        atEnd_ = true;
        emit fetchFailed(e.number(), e.description());
        return;
    }
    atEnd_ = batch.rowCount() < kBatchSize;
    if (batch.isEmpty()) {
        return;
    }
    const Changing changing(changing_);
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + batch.rowCount() - 1);
    for (int r = 0; r < batch.rowCount(); ++r) {
        rows_.push_back(batch.row(r));
    }
    endInsertRows();
}

} // namespace qz
