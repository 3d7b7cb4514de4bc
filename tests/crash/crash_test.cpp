// The crash harness: declmod's operations cut short by SIGKILL, at a random moment or at the
// Nth call that puts data on disk (the crash shim). After each kill the database passes its
// integrity check, the operation's data is all old or all new, and the operation runs again at
// once. QZ_CRASH_TRIALS sets the trials per operation (20 by default; scripts/crash-trials.sh
// runs 200).
#include "core/data/paths.h"
#include "core/data/sqltext.h"
#include "support/moduleinstall.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace qz {
namespace {

int trials()
{
    const int n = qEnvironmentVariableIntValue("QZ_CRASH_TRIALS");
    return n > 0 ? n : 20;
}

struct ChildRun {
    bool killed = false;
    int exitCode = 0;
    QString error;
};

class CrashHarness : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString();
        rpt_ = joinPath(inst_.dir(), "RPT");
        ASSERT_TRUE(QDir().mkpath(rpt_));
    }

    // Runs the child; killAt places SIGKILL at that disk call (the shim), killAfterFirst kills
    // it that many milliseconds after its first finished round.
    ChildRun run(const QString &op, int loops, long killAt = 0,
                 std::optional<int> killAfterFirst = std::nullopt, const QString &countFile = {})
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_PRELOAD", QZ_CRASH_SHIM);
        if (killAt > 0) {
            env.insert("QZ_CRASH_AT", QString::number(killAt));
        }
        if (!countFile.isEmpty()) {
            env.insert("QZ_CRASH_COUNT", countFile);
        }
        child.setProcessEnvironment(env);
        child.start(QZ_CRASH_CHILD, {op, inst_.install().dbPath(), rpt_, QString::number(loops)});
        EXPECT_TRUE(child.waitForStarted(-1)) << child.errorString().toStdString();
        ChildRun r;
        if (killAfterFirst) {
            QByteArray out;
            while (!out.contains("ok ") && child.waitForReadyRead(5000)) {
                out += child.readAllStandardOutput();
            }
            QThread::msleep(static_cast<unsigned long>(*killAfterFirst));
            child.kill();
        }
        child.waitForFinished(-1);
        r.killed = child.exitStatus() == QProcess::CrashExit;
        r.exitCode = child.exitCode();
        r.error = QString::fromLocal8Bit(child.readAllStandardError());
        return r;
    }

    // The disk calls of `loops` rounds of an operation, from a run that is not killed.
    long points(const QString &op, int loops)
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("count");
        const ChildRun r = run(op, loops, 0, std::nullopt, file);
        EXPECT_FALSE(r.killed);
        EXPECT_EQ(r.exitCode, 0) << r.error.toStdString();
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toLong() : 0;
    }

    QString scalar(const QString &sql)
    {
        Database db = inst_.install().open();
        return db.scalar(sql).toText();
    }
    std::string integrity() { return scalar("PRAGMA integrity_check").toStdString(); }

    // Kills trial t: even trials at a disk call drawn from [1, calls], odd ones at a random
    // moment after the first round; then the check, and one more round that must succeed.
    void trial(const QString &op, int t, long calls, const std::function<void()> &check)
    {
        SCOPED_TRACE(QString("%1 trial %2").arg(op).arg(t).toStdString());
        ++trialsRun_;
        const ChildRun killed =
            t % 2 == 0 ? run(op, 2, 1 + static_cast<long>(rng_() % static_cast<unsigned>(calls)))
                       : run(op, 50, 0, static_cast<int>(rng_() % 30));
        // A run the kill missed (the engine's checkpoints vary the number of calls a little)
        // must still have ended well; the test counts the kills that landed.
        EXPECT_TRUE(killed.killed || killed.exitCode == 0) << killed.error.toStdString();
        kills_ += killed.killed ? 1 : 0;
        ASSERT_EQ(integrity(), "ok");
        check();
        const ChildRun again = run(op, 1);
        ASSERT_FALSE(again.killed);
        ASSERT_EQ(again.exitCode, 0) << again.error.toStdString();
    }

    // Nearly every trial must really have killed the child, or the harness tests nothing.
    void TearDown() override
    {
        if (!HasFatalFailure() && trialsRun_ > 0) {
            EXPECT_GE(kills_ * 10, trialsRun_ * 9) << kills_ << " kills in " << trialsRun_;
        }
    }

    test::ModuleInstall inst_;
    QString rpt_;
    std::mt19937 rng_{731};
    int kills_ = 0;
    int trialsRun_ = 0;
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
