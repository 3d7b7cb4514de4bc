#include "core/data/queryresult.h"

#include "core/data/dberror.h"

namespace qz {

int QueryResult::indexOf(const QString &name) const
{
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

const Value &QueryResult::at(int row, const QString &name) const
{
    int c = indexOf(name);
    if (c < 0) {
        throw DbError(dberr::kItemNotFound,
                      QStringLiteral("Item not found in this collection: %1").arg(name));
    }
    return at(row, c);
}

} // namespace qz
