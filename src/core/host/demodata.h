// Demo rows of a fresh host installation: users, taxpayers, the host's parameter families
// and message texts, enough for every program of the module to run against it.
#pragma once

#include <QString>

namespace qz {

class Database;

// The user who sees every taxpayer (CLAVES.Tipo "0") and the ordinary demo user (Tipo "1"),
// who is the one logged in to the host after an installation.
constexpr const char *kDemoUserAll = "USUARIO0";
constexpr const char *kDemoUser = "USUARIO1";

// Inserts the demo rows into the host tables of a new database (createHostSchema). Throws
// DbError, for example 3022 when the rows exist already.
void insertDemoData(Database &db);

} // namespace qz
