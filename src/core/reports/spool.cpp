// SPOOL registration: the two maxima and the new row, in one write transaction.
#include "core/reports/spool.h"
#include "core/data/hosttext.h"

#include "core/data/clock.h"
#include "core/data/format.h"
#include "core/data/sqltext.h"
#include "core/data/transaction.h"

#include <optional>

namespace qz {

namespace {

// Whether an index of SPOOL starts with CodRep, Secuencia.
bool hasSequenceIndex(const std::vector<IndexInfo> &indexes)
{
    for (const IndexInfo &index : indexes) {
        if (!index.partial && index.columns.size() >= 2 &&
            index.columns[0].compare(QLatin1String("CodRep"), Qt::CaseInsensitive) == 0 &&
            index.columns[1].compare(QLatin1String("Secuencia"), Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

// Whether an index of SPOOL is on substr(Archivo,1,8) (blanks, case and the engine's casts
// do not matter).
bool hasFileNumberIndex(const std::vector<IndexInfo> &indexes)
{
    for (const IndexInfo &index : indexes) {
        QString sql = index.definition.toLower();
        sql.remove(u' ');
        sql.remove(QStringLiteral("::text"));
        sql.remove(u'"');
        if (!index.partial &&
            (sql.contains(u"(substr(archivo,1,8))") || sql.contains(u"(substr((archivo),1,8))"))) {
            return true;
        }
    }
    return false;
}

QString registerRow(Database &db, const QString &codRep, int tipDoc, const QString &docId,
                    const QString &usuario)
{
    ensureSpoolIndexes(db);
    const Value secTipo =
        db.scalar(QStringLiteral("SELECT max(Secuencia) as SecTipo FROM SPOOL Where CodRep = '") +
                  sqlText(codRep) + u'\'');
    const std::int64_t lastSequence = secTipo.isNull() ? 0 : secTipo.toInt();
    const Value secRep =
        db.scalar(QStringLiteral("SELECT max(left(Archivo,8)) as SecRep FROM SPOOL"));
    const std::int64_t lastFile = secRep.isNull() ? 0 : secRep.toInt();

    const QString archivo =
        formatNumber(lastFile + 1, QStringLiteral("00000000")) + QStringLiteral(".PRN");
    Record row = db.newRecord(QStringLiteral("SPOOL"));
    row.set(QStringLiteral("CodRep"), codRep);
    row.set(QStringLiteral("Secuencia"), formatNumber(lastSequence + 1, QStringLiteral("000000")));
    row.set(QStringLiteral("Archivo"), archivo);
    row.set(QStringLiteral("Fecha"), now());
    row.set(QStringLiteral("Usuario"), usuario);
    row.set(QStringLiteral("Tip_doc_d"), tipDoc);
    row.set(QStringLiteral("Doc_id_d"), trimBlanks(docId));
    db.store(row);
    return archivo;
}

} // namespace

void ensureSpoolIndexes(Database &db)
{
    const std::vector<IndexInfo> indexes = db.indexesOf(QStringLiteral("SPOOL"));
    if (!hasFileNumberIndex(indexes)) {
        db.execute(QStringLiteral(
            "CREATE INDEX IF NOT EXISTS SPOOL_NumArchivo ON SPOOL (substr(Archivo, 1, 8))"));
    }
    if (!hasSequenceIndex(indexes)) {
        db.execute(QStringLiteral(
            "CREATE INDEX IF NOT EXISTS SPOOL_CodRepSecuencia ON SPOOL (CodRep, Secuencia)"));
    }
}

QString pRegistraSpool(Database &db, const QString &codRep, int tipDoc, const QString &docId,
                       const QString &usuario)
{
    if (db.inTransaction()) {
        return registerRow(db, codRep, tipDoc, docId, usuario);
    }
    Transaction tx(db);
    QString archivo = registerRow(db, codRep, tipDoc, docId, usuario);
    tx.commit();
    return archivo;
}

} // namespace qz
