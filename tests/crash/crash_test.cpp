// declmod's operations cut short by SIGKILL (see crashharness.h): after each kill the
// operation's data is all old or all new, and the operation runs again at once.
#include "core/data/sqltext.h"
#include "crashharness.h"

#include <QRegularExpression>

namespace qz {
namespace {

using CrashRun = test::CrashRun;

class CrashHarness : public test::CrashHarness {
protected:
    CrashRun run(const QString &op, int loops) { return test::CrashHarness::run(child(op, loops)); }
    long points(const QString &op, int loops)
    {
        return test::CrashHarness::points(child(op, loops));
    }
    void trial(const QString &op, int t, long calls, const std::function<void()> &check)
    {
        childTrial(op, t, calls, check);
    }
    static int trials() { return test::crashTrials(); }
};

// What the stored declaration of 2009 holds, every table of it.
const char *const kDeclarationRows =
    "SELECT (SELECT group_concat(estado || '/' || cNumero) FROM CAB WHERE periodo='2009') || '|' "
    "|| (SELECT group_concat(r, ',') FROM (SELECT Casilla || '=' || i_valor || '/' || cNumero "
    "AS r FROM DET WHERE periodo='2009' AND CAST(Casilla AS INTEGER) NOT BETWEEN 546 AND 556 "
    "ORDER BY Casilla)) || '|' || (SELECT count(*) FROM F731EMPRESAS) || '|' || "
    "(SELECT count(*) FROM F731PORCENTAJE)";
const char *const kAnexoRows =
    "SELECT group_concat(r, ',') FROM (SELECT Casilla || '=' || i_valor || '/' || cNumero AS r "
    "FROM DET WHERE periodo='2009' AND CAST(Casilla AS INTEGER) BETWEEN 546 AND 556 "
    "ORDER BY Casilla)";

// A save is one transaction: the declaration is the one of the first or of the second amount,
// never a mixture.
TEST_F(CrashHarness, SaveIsAllOldOrAllNew)
{
    ASSERT_EQ(run("save", 2).exitCode, 0);
    const QString second = scalar(kDeclarationRows);
    ASSERT_EQ(run("save", 1).exitCode, 0);
    const QString first = scalar(kDeclarationRows);
    ASSERT_NE(first, second);
    const long calls = points("save", 2);
    ASSERT_GT(calls, 0);
    for (int t = 0; t < trials(); ++t) {
        trial("save", t, calls, [&] {
            const QString now = scalar(kDeclarationRows);
            EXPECT_TRUE(now == first || now == second) << now.toStdString();
        });
    }
}

// A delete removes every row of the declaration or none.
TEST_F(CrashHarness, DeleteLeavesTheDeclarationWholeOrAbsent)
{
    ASSERT_EQ(run("delete", 1).exitCode, 0);
    const QString saved = scalar(kDeclarationRows);
    ASSERT_EQ(run("delete", 2).exitCode, 0);
    const QString absent = scalar(kDeclarationRows);
    ASSERT_NE(saved, absent);
    // Counted from the state every trial starts in: the declaration saved.
    ASSERT_EQ(run("delete", 1).exitCode, 0);
    const long calls = points("delete", 2);
    for (int t = 0; t < trials(); ++t) {
        trial("delete", t, calls, [&] {
            const QString now = scalar(kDeclarationRows);
            EXPECT_TRUE(now == saved || now == absent)
                << now.toStdString() << "\nsaved: " << saved.toStdString();
        });
    }
}

// A recovery copies the whole sending into the working tables or nothing, and never changes
// the sending.
TEST_F(CrashHarness, RecoveryIsWholeOrNothing)
{
    ASSERT_EQ(run("save", 1).exitCode, 0);
    {
        // The sending: the saved declaration copied into the history tables as number 001.
        Database db = inst_.install().open();
        db.execute("CREATE TABLE HF731PORCENTAJE (tip_doc_d INTEGER, doc_id_d TEXT, periodo "
                   "TEXT, formulario TEXT, correl TEXT, mto_det DOUBLE, mto_net DOUBLE, "
                   "cnumero TEXT)");
        const auto copy = [&db](const QString &table, const QString &columns) {
            QStringList cols = columns.split(',');
            QStringList from = cols;
            from.replaceInStrings(QRegularExpression("^CORREL$"), "'001'");
            from.replaceInStrings(QRegularExpression("^(NORDEN|FEC_ENV|CONTROL|estado)$"), "NULL");
            db.execute("INSERT INTO H" + table + " (" + cols.join(',') + ") SELECT " +
                       from.join(',') + " FROM " + table);
        };
        copy("CAB", "tip_doc_d,doc_id_d,periodo,formulario,semana,CORREL,fec_pro,bcolibrad,"
                    "nrocheque,cheque,efectivo,estado,rectifica,cNumero");
        copy("DET", "tip_doc_d,doc_id_d,periodo,formulario,semana,CORREL,Casilla,i_valor,"
                    "idcasilla,cNumero");
        copy("F731EMPRESAS", "tip_doc_d,doc_id_d,periodo,formulario,CORREL,tip_doc_emp,"
                             "num_doc_emp,tip_empresa,des_razon,mto_imp_pag,cnumero");
        copy("F731PORCENTAJE",
             "tip_doc_d,doc_id_d,periodo,formulario,CORREL,mto_det,mto_net,cnumero");
    }
    const char *const history =
        "SELECT (SELECT count(*) FROM HCAB) || '/' || (SELECT count(*) FROM HDET) || '/' || "
        "(SELECT group_concat(i_valor) FROM HDET)";
    const QString sending = scalar(history);
    ASSERT_EQ(run("recover", 1).exitCode, 0);
    const QString recovered = scalar(kDeclarationRows);
    ASSERT_EQ(run("recover", 2).exitCode, 0);
    const QString absent = scalar(kDeclarationRows);
    ASSERT_NE(recovered, absent);
    const long calls = points("recover", 2);
    for (int t = 0; t < trials(); ++t) {
        trial("recover", t, calls, [&] {
            const QString now = scalar(kDeclarationRows);
            EXPECT_TRUE(now == recovered || now == absent) << now.toStdString();
            EXPECT_EQ(scalar(history), sending);
        });
    }
}

// The box-105 assistant's accept replaces its eleven rows in one step.
TEST_F(CrashHarness, AnexoAcceptIsAllOldOrAllNew)
{
    ASSERT_EQ(run("save", 1).exitCode, 0);
    ASSERT_EQ(run("anexo", 2).exitCode, 0);
    const QString second = scalar(kAnexoRows);
    ASSERT_EQ(run("anexo", 1).exitCode, 0);
    const QString first = scalar(kAnexoRows);
    ASSERT_NE(first, second);
    const long calls = points("anexo", 2);
    for (int t = 0; t < trials(); ++t) {
        trial("anexo", t, calls, [&] {
            const QString now = scalar(kAnexoRows);
            EXPECT_TRUE(now == first || now == second) << now.toStdString();
        });
    }
}

// The order number goes into HCAB and its check code into box 806 of HDET together.
TEST_F(CrashHarness, OrderNumberAndItsCodeTogether)
{
    {
        Database db = inst_.install().open();
        const QString ruc = db.scalar("SELECT doc_id_d FROM CONT ORDER BY doc_id_d").toText();
        db.execute("INSERT INTO HCAB (tip_doc_d, doc_id_d, periodo, formulario, semana, CORREL, "
                   "estado, CONTROL, cNumero) VALUES (6, " +
                   sqlQuoted(ruc) + ", '2009', '0731', 0, '001', 0, '12345678', '')");
    }
    const char *const sql =
        "SELECT (SELECT NORDEN || '/' || cNumero FROM HCAB) || '|' || (SELECT group_concat("
        "i_valor || '/' || cNumero) FROM HDET WHERE Casilla='806')";
    ASSERT_EQ(run("orden", 2).exitCode, 0);
    const QString second = scalar(sql);
    ASSERT_EQ(run("orden", 1).exitCode, 0);
    const QString first = scalar(sql);
    ASSERT_NE(first, second);
    const long calls = points("orden", 2);
    for (int t = 0; t < trials(); ++t) {
        trial("orden", t, calls, [&] {
            const QString now = scalar(sql);
            EXPECT_TRUE(now == first || now == second) << now.toStdString();
        });
    }
}

// Every registered report has its complete file and every report file its row; a kill between
// the rename and the commit may leave one complete file under the next number, which the next
// registration takes again.
TEST_F(CrashHarness, EveryReportRowHasItsCompleteFile)
{
    ASSERT_EQ(run("save", 1).exitCode, 0);
    const long calls = points("spool", 2);
    const auto complete = [this](const QString &name) {
        QFile f(joinPath(rpt_, name));
        return f.open(QIODevice::ReadOnly) &&
               f.readAll().endsWith("<!Color!>&H00FFFFC0&<!/Color!>\r\n");
    };
    for (int t = 0; t < trials(); ++t) {
        trial("spool", t, calls, [&] {
            Database db = inst_.install().open();
            const QueryResult rows = db.query("SELECT Archivo FROM SPOOL ORDER BY Archivo");
            QStringList registered;
            for (int r = 0; r < rows.rowCount(); ++r) {
                registered << rows.at(r, 0).toText();
                EXPECT_TRUE(complete(registered.last())) << registered.last().toStdString();
            }
            const QString next = QString("%1.PRN").arg(registered.size() + 1, 8, 10, QChar('0'));
            for (const QString &file : QDir(rpt_).entryList({"*.PRN"}, QDir::Files)) {
                EXPECT_TRUE(registered.contains(file) || file == next) << file.toStdString();
            }
            EXPECT_EQ(db.scalar("SELECT count(DISTINCT Archivo) FROM SPOOL").toInt(),
                      registered.size());
        });
    }
}

} // namespace
} // namespace qz
