// The tax scale of PARAM '859': the row in force on 1 January of an exercise, whatever the
// number of rows.
#pragma once

#include "core/data/currency.h"
#include "core/data/database.h"

#include <QString>

namespace qz {

// EscalaOkre for an exercise ("2009"): selector "1" the exemption threshold, any other the
// rate; 0 without a scale row in force. Throws DbError.
Currency taxScale(Database &db, const QString &exercise, const QString &selector);

} // namespace qz
