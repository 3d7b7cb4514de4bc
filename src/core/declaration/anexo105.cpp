// The box-105 assistant's amounts, total, opening and accept, and the row writer.
#include "core/declaration/anexo105.h"

#include "core/data/controlcode.h"
#include "core/data/format.h"
#include "core/data/numbertext.h"
#include "core/data/sqltext.h"
#include "core/data/transaction.h"
#include "core/declaration/declarationkey.h"

namespace qz {

namespace {

// An amount text as the total reads it.
double amountValue(const QString &text)
{
    return val(formatText(text, QString::fromLatin1(Anexo105::kEditPattern)));
}

// The declaration's key, as every statement of the assistant starts its condition.
QString keyCondition(const QString &ruc, const QString &periodo, const QString &formulario)
{
    return declarationKey(ruc, periodo, formulario);
}

} // namespace

double Anexo105::total() const
{
    return amountValue(totalText_);
}

Anexo105::Change Anexo105::change(int field, const QString &text)
{
    amounts_.at(static_cast<size_t>(field)) = text;
    double sum = 0;
    for (int i = 0; i < kFields; ++i) {
        if (i != field) {
            sum += amountValue(amounts_[static_cast<size_t>(i)]);
        }
    }
    const QString plain = formatText(text, QString::fromLatin1(kEditPattern));
    Change result = Change::Counted;
    if (plain.size() >= 12) {
        result = Change::TooManyDigits;
    } else if (sum + val(plain) > kLimit) {
        result = Change::OverLimit;
    } else {
        sum += val(plain);
    }
    totalText_ = formatNumber(sum, QString::fromLatin1(kShownPattern));
    return result;
}

void Anexo105::load(Database &db, const QString &ruc, const QString &periodo,
                    const QString &formulario, bool bHistorico, const QString &sCorrel)
{
    QString sql =
        (bHistorico ? QStringLiteral("SELECT * FROM HDET") : QStringLiteral("SELECT * FROM DET")) +
        keyCondition(ruc.trimmed(), periodo, formulario);
    if (bHistorico) {
        sql += QStringLiteral(" AND CORREL='") + sqlText(sCorrel) + u'\'';
    }
    sql += QStringLiteral(" AND VAL(CASILLA) >= 546 AND VAL(CASILLA) <= 556");
    const QueryResult rows = db.query(sql);
    const int casilla = rows.indexOf(QStringLiteral("Casilla"));
    const int valor = rows.indexOf(QStringLiteral("I_valor"));
    amounts_.fill(QString());
    for (int r = 0; r < rows.rowCount(); ++r) {
        const int field = static_cast<int>(val(rows.at(r, casilla).toText())) - kFirstBox;
        if (field >= 0 && field < kFields) {
            amounts_[static_cast<size_t>(field)] =
                formatValue(rows.at(r, valor), QString::fromLatin1(kLoadPattern));
        }
    }
    // The fields are filled one after the other, so the total is the one the last fill gives.
    change(kFields - 1, amounts_[kFields - 1]);
}

double Anexo105::accept(Database &db, const QString &ruc, const QString &periodo,
                        const QString &formulario, int iAccion) const
{
    // One transaction: a failed write must not leave the declaration without its deductions.
    Transaction tx(db);
    if (iAccion == 0) {
        const std::vector<Record> headers = db.selectForUpdate(
            QStringLiteral("SELECT * FROM CAB") + keyCondition(ruc.trimmed(), periodo, formulario));
        if (headers.empty()) {
            // The provisional header: leaving the declaration unsaved removes it again.
            Record header = db.newRecord(QStringLiteral("CAB"));
            header.set(QStringLiteral("doc_id_d"), ruc.trimmed());
            header.set(QStringLiteral("Tip_doc_d"), 6);
            header.set(QStringLiteral("periodo"), periodo);
            header.set(QStringLiteral("Formulario"), formulario);
            header.set(QStringLiteral("semana"), 0); // the column's default in the host
            header.set(QStringLiteral("cNumero"), QStringLiteral("0"));
            db.store(header);
        }
    }
    db.execute(QStringLiteral("DELETE * FROM DET") + keyCondition(ruc, periodo, formulario) +
               QStringLiteral(" AND (VAL(CASILLA) >= 546 AND VAL(CASILLA) <= 556)"));
    for (int i = 0; i < kFields; ++i) {
        writeRow(db, QString::number(kFirstBox + i), amounts_[static_cast<size_t>(i)], ruc, periodo,
                 formulario);
    }
    tx.commit();
    return total();
}

bool Anexo105::writeRow(Database &db, const QString &casilla, const QString &valor,
                        const QString &ruc, const QString &periodo, const QString &formulario)
{
    if (valor.trimmed().isEmpty() || valor == QLatin1String("________")) {
        return false;
    }
    std::vector<Record> rows = db.selectForUpdate(
        QStringLiteral("SELECT * FROM DET") + keyCondition(ruc.trimmed(), periodo, formulario) +
        QStringLiteral(" AND CASILLA='") + sqlText(casilla) + u'\'');
    Record row;
    if (rows.empty()) {
        row = db.newRecord(QStringLiteral("DET"));
        row.set(QStringLiteral("doc_id_d"), ruc.trimmed());
        row.set(QStringLiteral("Tip_doc_d"), 6);
        row.set(QStringLiteral("periodo"), periodo);
        row.set(QStringLiteral("Formulario"), formulario);
        row.set(QStringLiteral("semana"), 0); // the column's default in the host
        row.set(QStringLiteral("Casilla"), casilla);
    } else {
        row = std::move(rows.front());
    }
    row.set(QStringLiteral("i_valor"), formatText(valor, QStringLiteral("###########0")));
    row.set(QStringLiteral("idcasilla"),
            casilla == QLatin1String("180") ? QStringLiteral("05") : QStringLiteral("01"));
    row.set(QStringLiteral("cNumero"), recordControlCode(row, 6));
    db.store(row);
    return true;
}

} // namespace qz
