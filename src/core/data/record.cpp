// The updatable row.
#include "core/data/record.h"

#include "core/data/dberror.h"

namespace qz {

Record::Record(QString table, std::vector<ColumnInfo> columns)
    : table_(std::move(table)), columns_(std::move(columns)), values_(columns_.size())
{
}

int Record::indexOf(const QString &name) const
{
    for (int i = 0; i < columnCount(); ++i) {
        if (columns_[i].name.compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

const Value &Record::value(const QString &name) const
{
    int i = indexOf(name);
    if (i < 0) {
        throw DbError(dberr::kItemNotFound,
                      QStringLiteral("Item not found in this collection: %1.%2").arg(table_, name));
    }
    return values_[i];
}

void Record::set(int index, const Value &v)
{
    values_.at(index) = v;
}

void Record::set(const QString &name, const Value &v)
{
    int i = indexOf(name);
    if (i < 0) {
        throw DbError(dberr::kItemNotFound,
                      QStringLiteral("Item not found in this collection: %1.%2").arg(table_, name));
    }
    values_[i] = v;
}

} // namespace qz
