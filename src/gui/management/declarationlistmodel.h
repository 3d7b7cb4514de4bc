// The grid model of the management dialogs: a read-only table over a declaration list
// (core/management/declarationlists.h) that reads its rows a batch at a time, as the view asks
// for them (canFetchMore/fetchMore), never the whole list at once.
//
// The model formats in data(): each column's display pattern ("Fecha Env." as dd/mm/yyyy),
// numbers aligned on the right. Rows are named by their key, so a dialog can select the same
// declaration again after the list is read anew.
#pragma once

#include "core/data/database.h"
#include "core/management/declarationlists.h"
#include "core/shell/columnformat.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <optional>
#include <vector>

namespace qz {

class DeclarationListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kBatchSize = 256;

    // headings name the shown columns; formats apply to them in order (missing: as stored).
    DeclarationListModel(Database &db, DeclarationListQuery query, QStringList headings,
                         std::vector<ColumnFormat> formats, QObject *parent = nullptr);

    // Reads the list anew: at least as many rows as were read before, and, when the row named
    // `keep` still exists further on, every row up to it. Throws DbError, leaving the rows read
    // before in place.
    void reload(const std::optional<ListKey> &keep = std::nullopt);
    // Lets the rows go (the host detaches the grid's data source).
    void clear();

    const ListRow &row(int r) const { return rows_.at(r); }
    ListKey keyOf(int r) const { return query_.keyOf(rows_.at(r)); }
    // The row with this key among the rows read; -1 when none.
    int rowOf(const ListKey &key) const;
    const DeclarationListQuery &query() const { return query_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

signals:
    // A batch the view asked for could not be read; the model stops reading until reload().
    void fetchFailed(int number, const QString &description);

private:
    // Marks a reset or an insertion under way, for as long as it lives.
    struct Changing {
        explicit Changing(bool &flag) : flag_(flag) { flag_ = true; }
        ~Changing() { flag_ = false; }
        Changing(const Changing &) = delete;
        Changing &operator=(const Changing &) = delete;
        bool &flag_;
    };

    std::optional<ListKey> lastKey() const;

    Database &db_;
    DeclarationListQuery query_;
    QStringList headings_;
    std::vector<ColumnFormat> formats_;
    std::vector<ListRow> rows_;
    bool atEnd_ = true;
    bool changing_ = false;
};

} // namespace qz
