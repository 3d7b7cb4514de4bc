// The companies of a reorganization as the window opens: the stored rows copied into the
// scratch table TMPF731EMPRESAS, and their totals, the tax total going into box 115; the
// scratch list read for a draft and put back from one.
#include "core/declaration/declarationmodel.h"

#include "core/data/format.h"
#include "core/data/sqltext.h"
#include "core/data/transaction.h"

namespace qz {

namespace {

constexpr const char *kCompanyColumns[] = {"num_doc_emp", "tip_empresa",  "des_razon",
                                           "mto_activos", "porc_part",    "mto_adic",
                                           "mto_deduc",   "mto_base_imp", "mto_imp_pag"};

} // namespace

void DeclarationModel::loadCompanies()
{
    try {
        Transaction tx(db_);
        db_.execute(QStringLiteral("DELETE * FROM TMPF731EMPRESAS"));
        QString sql = (run_.bHistorico ? QStringLiteral("SELECT * FROM HF731EMPRESAS ")
                                       : QStringLiteral("SELECT * FROM F731EMPRESAS ")) +
                      QStringLiteral("WHERE TIP_DOC_D = 6 AND DOC_ID_D = '") +
                      sqlText(taxpayerRuc()) + QStringLiteral("' AND ") +
                      QStringLiteral("PERIODO = '") + sqlText(sPeriodo_) +
                      QStringLiteral("' AND FORMULARIO = '") + sqlText(sFormulario_);
        if (run_.bHistorico) {
            sql += QStringLiteral("' AND ") + QStringLiteral("CORREL = '") + sqlText(run_.sCorrel);
        }
        sql += u'\'';
        const QueryResult rows = db_.query(sql);
        for (int i = 0; i < rows.rowCount(); ++i) {
            Record copy = db_.newRecord(QStringLiteral("TMPF731EMPRESAS"));
            for (const char *column : kCompanyColumns) {
                copy.set(QString::fromLatin1(column), rows.at(i, QString::fromLatin1(column)));
            }
            db_.store(copy);
        }
        tx.commit();
        showCompanyTotals();
    } catch (const DbError &e) {
        show(MessageIcon::Critical, e.boxText());
    }
    emit companiesChanged();
}

// The totals of the scratch list in TxtBase, TxtPercepcion and box 115. Throws DbError.
void DeclarationModel::showCompanyTotals()
{
    const QueryResult totals = db_.query(
        QStringLiteral("SELECT SUM(val(MTO_BASE_IMP)) as TOTAL_BASE, SUM(VAL(MTO_IMP_PAG)) "
                       "as TOTAL_IMP ") +
        QStringLiteral("FROM TMPF731EMPRESAS"));
    const QString pattern = QStringLiteral("###,###,###,###,##0");
    totalBase_ = formatValue(totals.at(0, 0), pattern);
    totalImpuesto_ = formatValue(totals.at(0, 1), pattern);
    setText(115, totalImpuesto_);
}

std::vector<CompanyRow> DeclarationModel::scratchCompanies()
{
    std::vector<CompanyRow> rows;
    const QueryResult r = db_.query(QStringLiteral("SELECT * FROM TMPF731EMPRESAS"));
    for (int i = 0; i < r.rowCount(); ++i) {
        CompanyRow row;
        for (const char *column : kCompanyColumns) {
            const Value v = r.at(i, QString::fromLatin1(column));
            row[QString::fromLatin1(column)] =
                v.isNull() ? std::nullopt : std::optional<QString>(v.toText());
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// The scratch list becomes rows (columns it does not have are left out), in one transaction.
void DeclarationModel::replaceScratchCompanies(const std::vector<CompanyRow> &rows)
{
    try {
        Transaction tx(db_);
        db_.execute(QStringLiteral("DELETE * FROM TMPF731EMPRESAS"));
        for (const CompanyRow &row : rows) {
            Record copy = db_.newRecord(QStringLiteral("TMPF731EMPRESAS"));
            for (const char *column : kCompanyColumns) {
                const auto it = row.find(QString::fromLatin1(column));
                if (it != row.end() && it->second) {
                    copy.set(QString::fromLatin1(column), Value(*it->second));
                }
            }
            db_.store(copy);
        }
        tx.commit();
        showCompanyTotals();
    } catch (const DbError &e) {
        show(MessageIcon::Critical, e.boxText());
    }
    emit companiesChanged();
}

QueryResult DeclarationModel::companyRows()
{
    try {
        return db_.query(QStringLiteral("SELECT NUM_DOC_EMP, DES_RAZON, MTO_ACTIVOS, PORC_PART, ") +
                         QStringLiteral("MTO_ADIC, MTO_DEDUC, MTO_BASE_IMP, MTO_IMP_PAG ") +
                         QStringLiteral("FROM TMPF731EMPRESAS"));
    } catch (const DbError &e) {
        show(MessageIcon::Critical, e.boxText());
        return QueryResult();
    }
}

} // namespace qz
