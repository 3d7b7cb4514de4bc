// Scope guard for one write: BEGIN IMMEDIATE on construction, ROLLBACK when the scope is left
// without commit() (an exception or an early return), so a failed write leaves nothing behind.
#pragma once

#include "core/data/database.h"

namespace qz {

class Transaction final {
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    Database &db_;
    bool done_ = false;
};

} // namespace qz
