// Lookups in the host tables that several programs share: user type, error texts and the
// parameter table PARAM.
#pragma once

#include "core/data/database.h"

#include <QString>

#include <optional>

namespace qz {

// Tipo of the user in CLAVES; "1" when the user has no row.
QString userType(Database &db, const QString &usuario);

// DescError of ERROR for the code written with four digits; empty text when absent.
QString errorText(Database &db, int code);

// Funcion of PARAM (Numero, Argumento); nullopt when there is no row.
std::optional<QString> paramFuncion(Database &db, const QString &numero, const QString &argumento);

// Characters [position, position + length) of a fixed-column record, 1-based as the host's Mid.
QString fixedField(const QString &record, int position, int length);

// The '044' record of a document type; for type "6" the built-in record when its row is
// missing, for any other missing type empty text.
QString documentTypeRecord(Database &db, const QString &type);
// The built-in '044' record of the taxpayer number (type 6).
QString builtinRucRecord();

} // namespace qz
