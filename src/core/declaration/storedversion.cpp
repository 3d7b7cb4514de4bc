// The stored version of a declaration, read from its control codes and companies.
#include "core/declaration/storedversion.h"

#include "core/declaration/declarationkey.h"

namespace qz {

namespace {

void append(QString &out, const QueryResult &rows)
{
    for (int r = 0; r < rows.rowCount(); ++r) {
        for (const Value &v : rows.row(r)) {
            out += v.toText() + u'\x1f';
        }
        out += u'\x1e';
    }
    out += u'\x1d';
}

} // namespace

QString storedVersion(Database &db, const QString &ruc, const QString &periodo,
                      const QString &formulario)
{
    // One statement: on a server every statement is a round trip, and a save reads this twice.
    const QString key = declarationKey(ruc, periodo, formulario);
    QString sql = QStringLiteral("SELECT 'C' AS parte, '' AS clave, cNumero FROM CAB") + key +
                  QStringLiteral(" AND cNumero <> '0' UNION ALL SELECT 'D', Casilla, cNumero FROM "
                                 "DET") +
                  key + QStringLiteral(" AND (VAL(CASILLA) < 546 OR VAL(CASILLA) > 556)");
    if (db.tableExists(QStringLiteral("F731EMPRESAS"))) {
        sql +=
            QStringLiteral(" UNION ALL SELECT 'E', num_doc_emp, cnumero FROM F731EMPRESAS") + key;
    }
    QString out;
    append(out, db.query(sql + QStringLiteral(" ORDER BY 1, 2, 3")));
    return out;
}

} // namespace qz
