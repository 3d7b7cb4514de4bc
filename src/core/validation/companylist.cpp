// The companies list: rows, totals, count and deletion over TMPF731EMPRESAS.
#include "core/validation/companylist.h"

#include "core/data/currency.h"
#include "core/data/format.h"
#include "core/data/sqltext.h"

namespace qz {

namespace {

// A stored amount as the list adds it up.
Currency listAmount(const Value &value)
{
    const QString text = formatText(value.toText(), QStringLiteral("###########0.#0"));
    return readNumberText(text) ? Currency::fromText(text) : Currency();
}

} // namespace

QStringList companyColumnCaptions()
{
    return {QStringLiteral("RUC"),
            QStringLiteral("Nombre o Razón Social"),
            QStringLiteral("Activos Netos"),
            QStringLiteral("% Particip."),
            QStringLiteral("Adiciones"),
            QStringLiteral("Deducciones"),
            QStringLiteral("Base imponible"),
            QStringLiteral("Impuesto a pagar")};
}

QueryResult companyListRows(Database &db)
{
    return db.query(QStringLiteral("SELECT NUM_DOC_EMP, DES_RAZON, MTO_ACTIVOS, PORC_PART, ") +
                    QStringLiteral("MTO_ADIC, MTO_DEDUC, MTO_BASE_IMP, MTO_IMP_PAG ") +
                    QStringLiteral("FROM TMPF731EMPRESAS"));
}

bool companyColumnIsNumber(int column)
{
    return column >= 2;
}

QString companyCellText(int column, const Value &value)
{
    const QString text = value.toText();
    if (!companyColumnIsNumber(column) || text.trimmed().isEmpty()) {
        return text;
    }
    return column == 3 ? formatText(text, QStringLiteral("##0.00"))
                       : formatText(text, QStringLiteral("###,###,###,##0"));
}

CompanyTotals companyTotals(Database &db)
{
    const QueryResult rows =
        db.query(QStringLiteral("SELECT MTO_BASE_IMP, MTO_IMP_PAG FROM TMPF731EMPRESAS"));
    Currency base;
    Currency tax;
    for (int r = 0; r < rows.rowCount(); ++r) {
        base += listAmount(rows.at(r, 0));
        tax += listAmount(rows.at(r, 1));
    }
    CompanyTotals totals;
    // "#" in every place: a zero total shows as an empty field.
    const QString totalPattern = QStringLiteral("###,###,###,###,###");
    totals.totalBase = formatCurrency(base, totalPattern);
    totals.totalImpuesto = formatCurrency(tax, totalPattern);
    totals.box115 = formatText(totals.totalImpuesto, QStringLiteral("###,###,###,###,##0"));
    totals.count = rows.rowCount();
    totals.countCaption = QString::number(totals.count) + QStringLiteral("   Registros      ");
    return totals;
}

int deleteCompany(Database &db, const QString &ruc)
{
    return db.execute(QStringLiteral("DELETE * FROM TMPF731EMPRESAS WHERE NUM_DOC_EMP='") +
                      sqlText(ruc) + u'\'');
}

bool confirmDeleteCompany(Database &db, Messenger &messenger, const QString &title,
                          const QString &ruc)
{
    if (ruc.isEmpty()) {
        return false;
    }
    if (messenger.show(MessageIcon::Question, title,
                       QStringLiteral("¿Confirma que va a eliminar la información?"),
                       MessageButtons::YesNo, MessageAnswer::No) != MessageAnswer::Yes) {
        return false;
    }
    try {
        deleteCompany(db, ruc);
        return true;
    } catch (const DbError &e) {
        messenger.show(MessageIcon::Critical, QStringLiteral("Error"), e.boxText());
        return false;
    }
}

} // namespace qz
