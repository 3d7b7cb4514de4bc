// The host's shared tables as the host stand-in creates them in a new database.
//
// Key columns come first in every table, in the order the record control code counts them,
// and the record control code column cNumero comes last in CAB, DET, HCAB and HDET. Text
// columns compare without regard to case (COLLATE NOCASE), numbers are INTEGER or DOUBLE and
// dates DATETIME holding ISO text. docs/host-tables.md lists every column in order.
#pragma once

#include <QStringList>

namespace qz {

class Database;

// The tables createHostSchema makes, in creation order.
QStringList hostTableNames();

// Creates every host table with its keys and indexes on an empty database. The module's own
// tables (F731EMPRESAS and its copies) are not created here: decltab makes them. Throws
// DbError, for example 3010 when a table exists already.
void createHostSchema(Database &db);

} // namespace qz
