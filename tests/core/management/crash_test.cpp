// Deletes and recoveries cut short by SIGKILL: a child process runs them on the installation's
// database and is killed inside one of them; then the database passes its integrity check and
// every declaration is whole or absent, the old one or the whole recovered one.
//
// Where each kill lands is chosen from a fixed seed among the engine steps of the operation it
// cuts (counted in a first run that is not killed), so every kill falls inside a delete or a
// recovery, the same way on a fast or a slow machine.
#include "core/data/transaction.h"
#include "managementfixture.h"

#include <QProcess>

#include <random>

namespace qz {
namespace {

using test::demoRuc;

constexpr int kKills = 50; // of each kind
constexpr int kBoxCount = 12;
const char *const kBoxes[kBoxCount] = {"101", "104", "105", "108", "109", "110",
                                       "111", "113", "114", "115", "139", "180"};

// One run of the child.
struct ChildRun {
    QList<qint64> marks;  // its progress count after each operation it finished
    bool stopped = false; // it stopped where it was told and was killed there
};

class CrashTest : public test::ManagementTest {
protected:
    void SetUp() override
    {
        test::ManagementTest::SetUp();
        // The host's sending makes this history table; the recovery copies it when present.
        db_.execute("CREATE TABLE HF731PORCENTAJE (tip_doc_d INTEGER, doc_id_d TEXT, "
                    "periodo TEXT, formulario TEXT, correl TEXT, mto_det DOUBLE, "
                    "mto_net DOUBLE, cnumero TEXT)");
    }

    void clearDeclarations()
    {
        for (const char *t : {"CAB", "DET", "F731EMPRESAS", "F731PORCENTAJE", "HCAB", "HDET",
                              "HF731EMPRESAS", "HF731PORCENTAJE"}) {
            db_.execute(QString("DELETE FROM ") + t);
        }
    }
    // A registered declaration: its header, twelve boxes and the company holding `amount`, and
    // its box-110 amounts with mto_det `det`.
    void addRegistered(const QString &ruc, const QString &periodo, const QString &amount, int det)
    {
        test::StoredDeclaration d(db_, ruc, periodo);
        d.header();
        for (const char *box : kBoxes) {
            d.box(box, amount);
        }
        d.company("20100079705", "1", amount);
        db_.execute("INSERT INTO F731PORCENTAJE VALUES (6, " + sqlQuoted(ruc) + ", " +
                    sqlQuoted(periodo) + ", '0731', " + QString::number(det) + ", 2, '0')");
    }
    // A sending with the same rows in HCAB, HDET, HF731EMPRESAS and HF731PORCENTAJE.
    void addSending(const QString &ruc, const QString &periodo, const QString &correl,
                    const QString &amount, int det)
    {
        const QString key = "6, " + sqlQuoted(ruc) + ", " + sqlQuoted(periodo) + ", '0731', 0, " +
                            sqlQuoted(correl);
        db_.execute("INSERT INTO HCAB (tip_doc_d, doc_id_d, periodo, formulario, semana, CORREL, "
                    "fec_pro, estado, rectifica, FEC_ENV, CONTROL, cNumero) VALUES (" +
                    key + ", '01/05/2026', 0, '0', '2026-05-02 10:00:00', 'C', '123456')");
        for (const char *box : kBoxes) {
            db_.execute("INSERT INTO HDET (tip_doc_d, doc_id_d, periodo, formulario, semana, "
                        "CORREL, Casilla, i_valor, idcasilla, estado, cNumero) VALUES (" +
                        key + ", '" + box + "', " + sqlQuoted(amount) + ", '01', 0, '000000')");
        }
        const QString hkey =
            "6, " + sqlQuoted(ruc) + ", " + sqlQuoted(periodo) + ", '0731', " + sqlQuoted(correl);
        db_.execute("INSERT INTO HF731EMPRESAS (tip_doc_d, doc_id_d, periodo, formulario, correl, "
                    "tip_doc_emp, num_doc_emp, tip_empresa, des_razon, mto_imp_pag, cnumero) "
                    "VALUES (" +
                    hkey + ", 6, '20100079705', '2', 'EMPRESA H', " + sqlQuoted(amount) +
                    ", '000000')");
        db_.execute("INSERT INTO HF731PORCENTAJE VALUES (" + hkey + ", " + QString::number(det) +
                    ", 5, '0')");
    }

    // What a declaration's rows hold: per table "rows:distinct values" of CAB's state and of
    // the amounts, "0:" for a table without rows; the first `tables` of CAB, DET, F731EMPRESAS
    // and F731PORCENTAJE, or of their history tables with a sending number.
    static std::string contents(Database &db, const QString &ruc, const QString &periodo,
                                const QString &correl = {}, int tables = 4)
    {
        const QString h = correl.isEmpty() ? QString() : QStringLiteral("H");
        const QString where = " WHERE doc_id_d=" + sqlQuoted(ruc) +
                              " AND periodo=" + sqlQuoted(periodo) +
                              (correl.isEmpty() ? QString() : " AND correl=" + sqlQuoted(correl));
        const struct {
            const char *table, *column;
        } columns[] = {{"CAB", "estado"},
                       {"DET", "i_valor"},
                       {"F731EMPRESAS", "mto_imp_pag"},
                       {"F731PORCENTAJE", "printf('%g', mto_det)"}};
        QStringList parts;
        for (int i = 0; i < tables; ++i) {
            parts << db.scalar("SELECT count(*) || ':' || ifnull(group_concat(DISTINCT " +
                               QString(columns[i].column) + "), '') FROM " + h + columns[i].table +
                               where)
                         .toText();
        }
        return parts.join(u'|').toStdString();
    }
    // The contents of a whole declaration and of an absent one.
    static std::string whole(int estado, const QString &amount, int det, int tables = 4)
    {
        const QStringList all = QString("1:%1|%2:%3|1:%3|1:%4")
                                    .arg(estado)
                                    .arg(kBoxCount)
                                    .arg(amount)
                                    .arg(det)
                                    .split(u'|');
        return all.mid(0, tables).join(u'|').toStdString();
    }
    static std::string absent(int tables = 4)
    {
        return QStringList(tables, "0:").join(u'|').toStdString();
    }

    // Runs the child on the operations; with stopAt > 0 it stops at that progress count and is
    // killed there with SIGKILL.
    ChildRun runChild(qint64 stopAt, const QStringList &ops)
    {
        ChildRun run;
        QProcess child;
        child.start(QZ_CRASH_CHILD,
                    QStringList{inst_.install().dbPath(), ruc_, QString::number(stopAt)} + ops);
        EXPECT_TRUE(child.waitForStarted(-1)) << child.errorString().toStdString();
        QByteArray out;
        while (!out.contains("stopped\n") && child.waitForReadyRead(-1)) {
            out += child.readAllStandardOutput();
        }
        if (out.contains("stopped\n")) {
            run.stopped = true;
            child.kill(); // SIGKILL
            child.waitForFinished(-1);
            EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
        } else {
            child.waitForFinished(-1);
            EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
        }
        out += child.readAllStandardOutput();
        for (const QByteArray &line : out.split('\n')) {
            if (line.startsWith("done ")) {
                run.marks << line.mid(5).toLongLong();
            }
        }
        return run;
    }

    // The first run, not killed: it must finish every operation. Returns the progress count
    // at the start of each operation and at the end of the last.
    QList<qint64> stepsOf(const QStringList &ops)
    {
        const ChildRun first = runChild(0, ops);
        EXPECT_FALSE(first.stopped);
        EXPECT_EQ(first.marks.size(), ops.size());
        return QList<qint64>{0} + first.marks;
    }
    // Where the k-th kill lands inside operation j: every fifth time at its very last step,
    // after its commit, otherwise at a step drawn from the seed.
    static qint64 stopPoint(const QList<qint64> &bounds, int k, int j, std::mt19937 &rng)
    {
        const qint64 first = bounds.at(j) + 1, last = bounds.at(j + 1);
        if (k % 5 == 4) {
            return last;
        }
        return first + static_cast<qint64>(rng() % static_cast<quint64>(last - first + 1));
    }
    static std::string integrity(Database &db)
    {
        return db.scalar("PRAGMA integrity_check").toText().toStdString();
    }

    std::mt19937 rng_{731};
};

// Registered and sent deletes: a declaration the child had finished deleting is gone, one it
// had not reached is whole, and the one the kill cut is one or the other; other taxpayers' and
// the remaining sending are never touched.
TEST_F(CrashTest, KilledDeletesLeaveEachDeclarationWholeOrAbsent)
{
    const QStringList ops{"R:2001", "S:2009:001", "R:2002", "S:2009:002"};
    const auto seed = [&] {
        Transaction t(db_);
        clearDeclarations();
        addRegistered(ruc_, "2001", "1000", 1);
        addRegistered(ruc_, "2002", "1000", 1);
        addRegistered(other_, "2001", "1000", 1);
        addSending(ruc_, "2009", "001", "1111", 11);
        addSending(ruc_, "2009", "002", "2222", 22);
        addSending(ruc_, "2009", "003", "3333", 33);
        addSending(other_, "2009", "001", "1111", 11);
        t.commit();
    };
    // The sent delete removes HCAB, HDET and HF731EMPRESAS (the box-110 history is not its
    // business): a sending is whole or absent in those three.
    const auto tablesOf = [&](int i) { return ops.at(i).startsWith(u'R') ? 4 : 3; };
    const auto target = [&](Database &db, int i) {
        const QStringList p = ops.at(i).split(u':');
        return p.size() == 2 ? contents(db, ruc_, p[1])
                             : contents(db, ruc_, p[1], p[2], tablesOf(i));
    };
    const auto wholeTarget = [&](int i) {
        const QStringList p = ops.at(i).split(u':');
        return p.size() == 2 ? whole(0, "1000", 1)
                             : whole(0, p[2] == "001" ? "1111" : "2222", 11, tablesOf(i));
    };

    seed();
    const QList<qint64> bounds = stepsOf(ops);
    ASSERT_EQ(bounds.size(), ops.size() + 1);
    for (int i = 0; i < ops.size(); ++i) {
        EXPECT_EQ(target(db_, i), absent(tablesOf(i))) << i;
    }

    for (int k = 0; k < kKills; ++k) {
        const int j = k % static_cast<int>(ops.size());
        const qint64 stopAt = stopPoint(bounds, k, j, rng_);
        SCOPED_TRACE(
            QString("kill %1 in %2 at step %3").arg(k).arg(ops.at(j)).arg(stopAt).toStdString());
        seed();
        const ChildRun run = runChild(stopAt, ops);
        ASSERT_TRUE(run.stopped);
        ASSERT_EQ(run.marks.size(), j); // killed inside operation j

        Database db = inst_.install().open();
        ASSERT_EQ(integrity(db), "ok");
        for (int i = 0; i < ops.size(); ++i) {
            SCOPED_TRACE(ops.at(i).toStdString());
            const std::string now = target(db, i);
            if (i < j || (i == j && stopAt == bounds.at(j + 1))) {
                EXPECT_EQ(now, absent(tablesOf(i))); // finished, or killed after its commit
            } else if (i > j) {
                EXPECT_EQ(now, wholeTarget(i));
            } else {
                EXPECT_TRUE(now == absent(tablesOf(i)) || now == wholeTarget(i)) << now;
            }
        }
        EXPECT_EQ(contents(db, ruc_, "2009", "003"), whole(0, "3333", 33));
        EXPECT_EQ(contents(db, other_, "2001"), whole(0, "1000", 1));
        EXPECT_EQ(contents(db, other_, "2009", "001"), whole(0, "1111", 11));
        if (HasFailure()) {
            return; // the first broken round says enough
        }
    }
}

// Recoveries over a working declaration: after each kill the working tables hold exactly the
// declaration before the cut recovery or the whole recovered sending in state 9, never a mix;
// the history, other periods and other taxpayers are never touched.
TEST_F(CrashTest, KilledRecoveriesLeaveTheOldOrTheWholeRecoveredDeclaration)
{
    const QStringList ops{"V:2009:001", "V:2009:002", "V:2009:001"};
    const auto seed = [&] {
        Transaction t(db_);
        clearDeclarations();
        addRegistered(ruc_, "2009", "1000", 1);
        addRegistered(ruc_, "2008", "1000", 1);
        addRegistered(other_, "2009", "1000", 1);
        addSending(ruc_, "2009", "001", "1111", 11);
        addSending(ruc_, "2009", "002", "2222", 22);
        addSending(other_, "2009", "001", "3333", 33);
        t.commit();
    };
    const std::string old = whole(0, "1000", 1);
    // The working declaration once operation i has run.
    const auto after = [&](int i) {
        return ops.at(i).endsWith("001") ? whole(9, "1111", 11) : whole(9, "2222", 22);
    };

    seed();
    const QList<qint64> bounds = stepsOf(ops);
    ASSERT_EQ(bounds.size(), ops.size() + 1);
    EXPECT_EQ(contents(db_, ruc_, "2009"), after(static_cast<int>(ops.size()) - 1));

    for (int k = 0; k < kKills; ++k) {
        const int j = k % static_cast<int>(ops.size());
        const qint64 stopAt = stopPoint(bounds, k, j, rng_);
        SCOPED_TRACE(
            QString("kill %1 in %2 at step %3").arg(k).arg(ops.at(j)).arg(stopAt).toStdString());
        seed();
        const ChildRun run = runChild(stopAt, ops);
        ASSERT_TRUE(run.stopped);
        ASSERT_EQ(run.marks.size(), j); // killed inside operation j

        Database db = inst_.install().open();
        ASSERT_EQ(integrity(db), "ok");
        const std::string before = j == 0 ? old : after(j - 1);
        const std::string now = contents(db, ruc_, "2009");
        if (stopAt == bounds.at(j + 1)) {
            EXPECT_EQ(now, after(j)); // killed after its commit
        } else {
            EXPECT_TRUE(now == before || now == after(j)) << now;
        }
        EXPECT_EQ(contents(db, ruc_, "2008"), old);
        EXPECT_EQ(contents(db, other_, "2009"), old);
        EXPECT_EQ(contents(db, ruc_, "2009", "001"), whole(0, "1111", 11));
        EXPECT_EQ(contents(db, ruc_, "2009", "002"), whole(0, "2222", 22));
        EXPECT_EQ(contents(db, other_, "2009", "001"), whole(0, "3333", 33));
        if (HasFailure()) {
            return; // the first broken round says enough
        }
    }
}

} // namespace
} // namespace qz
