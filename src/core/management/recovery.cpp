// The recovery of a sent declaration.
#include "core/management/recovery.h"

#include "core/data/clock.h"
#include "core/data/sqltext.h"
#include "core/data/transaction.h"
#include "core/declaration/declarationkey.h"

namespace qz {

namespace {

// The key of the declaration as the recovery's delete and history statements write it (lower
// case, with the host's blanks).
QString lowerKey(const SentDeclaration &d, const QString &gap)
{
    return QStringLiteral("WHERE doc_id_d='") + sqlText(d.ruc) + QStringLiteral("' and ") + gap +
           QStringLiteral("tip_doc_d=6 and ") + gap + QStringLiteral("periodo='") +
           sqlText(d.periodo) + QStringLiteral("' and formulario='") + sqlText(d.formulario) +
           u'\'';
}

void copyTable(Database &db, const QString &table, const SentDeclaration &d)
{
    requirePlainTableName(table);
    db.execute(recoveryDeleteSql(table, d));
    // A history table the host's sending has not made yet (HF731PORCENTAJE before the first
    // sending that carries it) holds no rows of this sending.
    if (!db.tableExists(QStringLiteral("H") + table)) {
        return;
    }
    const QueryResult history = db.query(recoveryHistorySql(table, d));
    if (history.isEmpty()) {
        return;
    }
    db.selectForUpdate(recoveryTargetSql(table, d)); // the host opens it; it is empty by now
    const bool header = table.compare(QLatin1String("CAB"), Qt::CaseInsensitive) == 0;
    for (int r = 0; r < history.rowCount(); ++r) {
        Record row = db.newRecord(table);
        for (int c = 0; c < history.columns().size(); ++c) {
            const QString name = history.columns().at(c).toUpper();
            if (name == QLatin1String("CORREL") ||
                (header && (name == QLatin1String("CONTROL") || name == QLatin1String("ESTADO")))) {
                continue;
            }
            const int target = row.indexOf(name);
            if (target >= 0) {
                row.set(target, history.at(r, c));
            }
        }
        if (header) {
            // Brought back as saved with inconsistencies until validated and saved again.
            row.set(QStringLiteral("estado"), 9);
        }
        db.store(row);
    }
}

} // namespace

QString activeDeclarationSql(const SentDeclaration &d)
{
    return QStringLiteral("SELECT * FROM CAB") + declarationKey(d.ruc, d.periodo, d.formulario);
}

QString recoveryTablesSql(const QString &formulario)
{
    return QStringLiteral("SELECT tabla_o  FROM envio_t WHERE formulario='") + sqlText(formulario) +
           QStringLiteral("' and ucase(tabla_o)<>'CONTROL'");
}

QString recoveryDeleteSql(const QString &table, const SentDeclaration &d)
{
    return QStringLiteral("DELETE * FROM  ") + table + u' ' + lowerKey(d, QString());
}

QString recoveryHistorySql(const QString &table, const SentDeclaration &d)
{
    return QStringLiteral("SELECT * FROM H") + table + u' ' + lowerKey(d, QStringLiteral(" ")) +
           QStringLiteral(" AND CORREL='") + sqlText(d.correl) + u'\'';
}

QString recoveryTargetSql(const QString &table, const SentDeclaration &d)
{
    return QStringLiteral("SELECT * FROM ") + table +
           declarationKey(d.ruc, d.periodo, d.formulario);
}

DialogMessage overwriteQuestion()
{
    return {MessageIcon::Question, QStringLiteral("Recuperar"),
            QStringLiteral("Periodo destino ya tiene una declaración activa. ¿Desea "
                           "sobreescribirla?"),
            MessageButtons::YesNo, MessageAnswer::No};
}

bool Recover(Database &db, Messenger &messenger, const SentDeclaration &d)
{
    // Asked before the transaction: a write lock must not wait on the user.
    if (!db.query(activeDeclarationSql(d)).isEmpty() &&
        overwriteQuestion().showOn(messenger) != MessageAnswer::Yes) {
        return false;
    }
    Transaction t(db);
    const QueryResult tables = db.query(recoveryTablesSql(d.formulario));
    for (int i = 0; i < tables.rowCount(); ++i) {
        copyTable(db, tables.at(i, 0).toText(), d);
    }
    t.commit();
    return true;
}

QString FrmRecuperarCaption()
{
    return QStringLiteral("Recuperar Declaración");
}

bool RecuperarDeclaracion(Database &db, Messenger &messenger, const TextUtility &utility,
                          const SentDeclaration &d)
{
    if (!utility.approveRecovery()) {
        return false;
    }
    const QString failed = QStringLiteral("No se recupero la información.");
    bool recovered = false;
    DialogMessage outcome{MessageIcon::Exclamation, FrmRecuperarCaption(), failed};
    try {
        recovered = Recover(db, messenger, d);
        if (recovered) {
            outcome.text =
                QStringLiteral("Se termino de recuperar la información satisfactoriamente.");
        }
    } catch (const DbError &e) {
        outcome.icon = MessageIcon::Critical;
        outcome.text = failed + QStringLiteral("\n\n") + e.boxText();
    }
    outcome.showOn(messenger);
    return recovered;
}

bool periodoDestinoCompleto(const QString &text)
{
    return !text.contains(u'_');
}

bool periodoDestinoValido(const QString &text, const QDate &today)
{
    const QString month = text.mid(0, 2);
    const QString yyyymm = text.mid(3, 4) + month;
    bool numeric = false;
    const int m = month.toInt(&numeric);
    if (!numeric || m < 1 || m > 12) {
        return false;
    }
    // Both texts have six digits, so comparing them as text compares the months.
    if (yyyymm > today.toString(QStringLiteral("yyyyMM"))) {
        return false;
    }
    // The host compares with a seven-character text; character by character this still refuses
    // every month before January 1993 and accepts 199301.
    return yyyymm >= QLatin1String("1993001");
}

std::optional<DialogMessage> checkPeriodoDestino(const QString &text)
{
    if (!periodoDestinoCompleto(text) || periodoDestinoValido(text, today())) {
        return std::nullopt;
    }
    return DialogMessage{MessageIcon::Critical, FrmRecuperarCaption(),
                         QStringLiteral("El periodo no es valido.")};
}

} // namespace qz
