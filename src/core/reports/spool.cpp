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
bool hasSequenceIndex(Database &db)
{
    const Value n = db.scalar(QStringLiteral(
        "SELECT count(*) FROM pragma_index_list('SPOOL') AS l"
        " WHERE l.partial = 0 AND (SELECT name FROM pragma_index_info(l.name) WHERE seqno = 0)"
        " = 'CodRep' COLLATE NOCASE"
        " AND (SELECT name FROM pragma_index_info(l.name) WHERE seqno = 1)"
        " = 'Secuencia' COLLATE NOCASE"));
    return n.toInt() > 0;
}

// Whether an index of SPOOL is on substr(Archivo,1,8) (blanks and case do not matter).
bool hasFileNumberIndex(Database &db)
{
    const QueryResult r = db.query(
        QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL"
                       " AND tbl_name = 'SPOOL' COLLATE NOCASE"));
    for (int i = 0; i < r.rowCount(); ++i) {
        QString sql = r.at(i, 0).toText().toLower();
        sql.remove(u' ');
        if (sql.contains(u"(substr(archivo,1,8))") && !sql.contains(u"where")) {
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
    if (!hasFileNumberIndex(db)) {
        db.execute(QStringLiteral(
            "CREATE INDEX IF NOT EXISTS SPOOL_NumArchivo ON SPOOL (substr(Archivo, 1, 8))"));
    }
    if (!hasSequenceIndex(db)) {
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
