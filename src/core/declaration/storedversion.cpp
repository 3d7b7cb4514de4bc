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
    const QString key = declarationKey(ruc, periodo, formulario);
    QString out;
    append(out, db.query(QStringLiteral("SELECT cNumero FROM CAB") + key +
                         QStringLiteral(" AND cNumero <> '0'")));
    append(out, db.query(QStringLiteral("SELECT Casilla, cNumero FROM DET") + key +
                         QStringLiteral(" AND (VAL(CASILLA) < 546 OR VAL(CASILLA) > 556) ORDER "
                                        "BY Casilla")));
    if (db.tableExists(QStringLiteral("F731EMPRESAS"))) {
        append(out, db.query(QStringLiteral("SELECT tip_doc_emp, num_doc_emp, cnumero FROM "
                                            "F731EMPRESAS") +
                             key + QStringLiteral(" ORDER BY tip_doc_emp, num_doc_emp")));
    }
    return out;
}

} // namespace qz
