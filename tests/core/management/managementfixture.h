// A fresh installation with the module installed, the clock pinned to 1 June 2026, scripted
// messages, and writers of registered and sent declaration rows for the management tests.
#pragma once

#include "core/data/sqltext.h"
#include "support/modelfixture.h"
#include "support/storeddeclaration.h"

#include <gtest/gtest.h>

namespace qz::test {

class ManagementTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        // A taxpayer with a quote in its name, and another one to stay untouched.
        ruc_ = demoRuc(db_, "INVERSIONES D'ALESSANDRO S.A.C.");
        other_ = demoRuc(db_, "COMERCIAL ANDINA S.A.");
    }

    qint64 count(const QString &sql) { return db_.scalar(sql).toInt(); }
    // Every row of the working and history tables, for "nothing changed".
    QList<qint64> allCounts()
    {
        QList<qint64> c;
        for (const char *t :
             {"CAB", "DET", "F731EMPRESAS", "F731PORCENTAJE", "HCAB", "HDET", "HF731EMPRESAS"}) {
            c << count(QString("SELECT count(*) FROM ") + t);
        }
        return c;
    }
    // Rows of a table for one taxpayer.
    qint64 rowsOf(const QString &table, const QString &ruc)
    {
        return count("SELECT count(*) FROM " + table + " WHERE doc_id_d=" + sqlQuoted(ruc));
    }

    // A registered declaration with its header, two boxes, one company and a percentage row.
    void registered(const QString &ruc, const QString &periodo, const QString &formulario = "0731")
    {
        StoredDeclaration d(db_, ruc, periodo);
        if (formulario == "0731") {
            d.header();
            d.box("101", "1000");
            d.box("180", "50");
            d.company("20100079705", "1", "10");
        } else {
            db_.execute("INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, formulario, semana, "
                        "estado) VALUES (6, " +
                        sqlQuoted(ruc) + ", " + sqlQuoted(periodo) + ", " + sqlQuoted(formulario) +
                        ", 0, 0)");
        }
        db_.execute("INSERT INTO F731PORCENTAJE VALUES (6, " + sqlQuoted(ruc) + ", " +
                    sqlQuoted(periodo) + ", " + sqlQuoted(formulario) + ", 1, 2, '0')");
    }

    // A sending of a declaration in HCAB, HDET and HF731EMPRESAS; box 101 holds `amount`.
    void sent(const QString &ruc, const QString &periodo, const QString &correl,
              const QString &amount = "2000")
    {
        const QString key = "6, " + sqlQuoted(ruc) + ", " + sqlQuoted(periodo) + ", '0731', 0, " +
                            sqlQuoted(correl);
        db_.execute("INSERT INTO HCAB (tip_doc_d, doc_id_d, periodo, formulario, semana, CORREL, "
                    "fec_pro, estado, rectifica, NORDEN, FEC_ENV, CONTROL, cNumero) VALUES (" +
                    key + ", '01/05/2026', 0, '0', 77, '2026-05-02 10:00:00', 'C" + correl +
                    "', '123456')");
        for (const char *box : {"101", "180"}) {
            db_.execute("INSERT INTO HDET (tip_doc_d, doc_id_d, periodo, formulario, semana, "
                        "CORREL, Casilla, i_valor, idcasilla, estado, cNumero) VALUES (" +
                        key + ", '" + box + "', " + sqlQuoted(amount) + ", '01', 0, '000000')");
        }
        db_.execute("INSERT INTO HF731EMPRESAS (tip_doc_d, doc_id_d, periodo, formulario, correl, "
                    "tip_doc_emp, num_doc_emp, tip_empresa, des_razon, mto_imp_pag, cnumero) "
                    "VALUES (6, " +
                    sqlQuoted(ruc) + ", " + sqlQuoted(periodo) + ", '0731', " + sqlQuoted(correl) +
                    ", 6, '20100079705', '2', 'EMPRESA H', " + sqlQuoted(amount) + ", '000000')");
    }

    QString ruc_;
    QString other_;
};

} // namespace qz::test
