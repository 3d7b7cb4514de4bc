// The history tables a sending writes: "H" & T for each working table T that envio_t lists.
//
// A history row is the working row with the sending number CORREL added; HCAB also gets the
// control number and the date of sending (NORDEN stays Null until the module registers the
// order number), and a history table that has a state column its working table lacks (HDET)
// gets the header's state. Every working column is copied by name, cNumero unchanged: the
// module's recovery copies the history rows back column by column, so the rows it brings back
// carry the control codes they had when the module saved them. A history table that does not
// exist yet (HF731PORCENTAJE, which decltab does not make) is created from its working table.
#pragma once

#include "core/data/database.h"
#include "core/data/sqltext.h"

#include <QDateTime>
#include <QString>

namespace qz {

// The next sending number of a declaration (key: declarationKey's condition) in HCAB: three
// digits, one more than the highest, "001" for the first. Throws DbError after "999".
QString nextCorrel(Database &db, const QString &key);

// Creates "H" & table when it is missing: the working table's columns with "[CORREL] Text(3)"
// after semana (or, without semana, after formulario), and the working table's key with CORREL
// at the same place. Throws DbError.
void ensureHistoryTable(Database &db, const QString &table);

struct HistoryValues {
    QString correl;
    QString control;
    QDateTime fecEnv;
    int estado = 0;
};

// Copies the rows of table that match key into its history table (made when missing) and
// returns how many. Throws DbError when the history table cannot take them: a working column
// it lacks, no CORREL column, a duplicate key.
int copyToHistory(Database &db, const QString &table, const QString &key,
                  const HistoryValues &values);

} // namespace qz
