#include "core/data/transaction.h"

namespace qz {

Transaction::Transaction(Database &db) : db_(db)
{
    db_.begin();
}

Transaction::~Transaction()
{
    if (!done_) {
        try {
            db_.rollback();
        } catch (...) {
            // The connection is gone or broken; the engine rolls back on close.
        }
    }
}

void Transaction::commit()
{
    db_.commit();
    done_ = true;
}

} // namespace qz
