// The scale lookup.
#include "core/declaration/taxscale.h"

#include "core/data/lookups.h"
#include "core/data/sqltext.h"

#include <QStringList>

namespace qz {

Currency taxScale(Database &db, const QString &exercise, const QString &selector)
{
    const QString key = exercise.trimmed() + QStringLiteral("01");
    QStringList entries;
    // Every scale row counts, however many there are.
    const QueryResult rows = db.query(QStringLiteral("SELECT * ") + QStringLiteral("FROM PARAM ") +
                                      QStringLiteral("WHERE numero='859'"));
    for (int i = 0; i < rows.rowCount(); ++i) {
        entries << rows.at(i, QStringLiteral("Argumento")).toText().trimmed();
    }
    entries.sort();
    entries << QStringLiteral("99991231");
    QString chosen;
    for (int k = 0; k + 1 < entries.size(); ++k) {
        if (entries[k].left(6) <= key && key < entries[k + 1].left(6)) {
            chosen = entries[k];
            break;
        }
    }
    const QueryResult row = db.query(QStringLiteral("SELECT * ") + QStringLiteral("FROM PARAM ") +
                                     QStringLiteral("WHERE numero='859' AND ") +
                                     QStringLiteral("argumento='") + sqlText(chosen) + u'\'');
    if (row.isEmpty()) {
        return Currency();
    }
    const QString funcion = row.at(0, QStringLiteral("Funcion")).toText();
    return Currency::fromText(selector == QLatin1String("1")
                                  ? fixedField(funcion, 1, 10).trimmed()
                                  : fixedField(funcion, 18, 8).trimmed());
}

} // namespace qz
