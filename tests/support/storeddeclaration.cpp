// Writing declaration rows for tests.
#include "support/storeddeclaration.h"

#include "core/data/sqltext.h"

namespace qz::test {

QString demoRuc(Database &db, const QString &nombre)
{
    const Value v = db.scalar("SELECT Doc_id_d FROM CONT WHERE Nombre=" + sqlQuoted(nombre));
    if (v.isNull()) {
        throw DbError(3021, "no demo taxpayer " + nombre);
    }
    return v.toText();
}

QString argumentString(const QString &ruc, const QString &periodo, const QString &codigo,
                       const QString &numero)
{
    return "06" + ruc.leftJustified(15, u' ') + "0731" + periodo + codigo + numero;
}

void StoredDeclaration::box(const QString &casilla, const QString &valor)
{
    db_.execute("INSERT INTO DET (tip_doc_d, doc_id_d, periodo, formulario, semana, Casilla, "
                "i_valor, idcasilla, cNumero) VALUES (6, " +
                sqlQuoted(ruc_) + ", " + sqlQuoted(periodo_) + ", '0731', 0, " +
                sqlQuoted(casilla) + ", " + sqlQuoted(valor) + ", '', '000000')");
}

void StoredDeclaration::header(const QMap<QString, QString> &columns, int semana)
{
    QString names = "tip_doc_d, doc_id_d, periodo, formulario, semana";
    QString values = "6, " + sqlQuoted(ruc_) + ", " + sqlQuoted(periodo_) + ", '0731', " +
                     QString::number(semana);
    QMap<QString, QString> all = columns;
    if (!all.contains("estado")) {
        all.insert("estado", "0");
    }
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        names += ", " + it.key();
        values += ", " + sqlQuoted(it.value());
    }
    db_.execute("INSERT INTO CAB (" + names + ") VALUES (" + values + ")");
}

void StoredDeclaration::company(const QString &numDoc, const QString &tipEmpresa,
                                const QString &mtoImpPag)
{
    db_.execute("INSERT INTO F731EMPRESAS (tip_doc_d, doc_id_d, periodo, formulario, tip_doc_emp, "
                "num_doc_emp, tip_empresa, des_razon, mto_activos, porc_part, mto_adic, "
                "mto_deduc, mto_base_imp, mto_imp_pag, cnumero) VALUES (6, " +
                sqlQuoted(ruc_) + ", " + sqlQuoted(periodo_) + ", '0731', 6, " + sqlQuoted(numDoc) +
                ", " + sqlQuoted(tipEmpresa) + ", 'EMPRESA " + numDoc +
                "', '0', '', '0', '0', '0', " + sqlQuoted(mtoImpPag) + ", '000000')");
}

QString numberedRows(int count)
{
    return QStringLiteral(
               "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ")
        .arg(count - 1);
}

} // namespace qz::test
