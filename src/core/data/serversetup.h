// What a database on a server needs before the host's tables: the case-insensitive text type
// and the host's functions. Run by the host's installer, and again by anyone who updates it.
#pragma once

#include "core/data/database.h"

namespace qz {

// On a server: creates the citext extension when missing and the host's functions (or
// replaces them). Nothing on a SQLite file, whose functions every connection registers.
// Throws DbError.
void prepareServerDatabase(Database &db);

} // namespace qz
