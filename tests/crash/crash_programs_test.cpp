// The small programs cut short by SIGKILL (see crashharness.h): declrep's report with its
// spool row and its hand-over files, declchk's listing and marker, decltab's passes. After each
// kill every file the host may read is absent or whole, every registered report has its whole
// file, the tables are as before or as after, and the program starts again at once (a killed
// copy leaves no lock behind).
#include "crashharness.h"
#include "support/storeddeclaration.h"

#include <QMap>

namespace qz {
namespace {

using test::CrashJob;
using test::CrashRun;

class ProgramCrash : public test::CrashHarness {
protected:
    void SetUp() override
    {
        test::CrashHarness::SetUp();
        ASSERT_EQ(run(child("save", 1)).exitCode, 0);
        const QString ruc = scalar("SELECT doc_id_d FROM CAB WHERE periodo='2009'");
        argument_ = test::argumentString(ruc, "200900");
        tmp_ = joinPath(inst_.dir(), "TMP");
    }

    // Every file of a folder whose name starts with prefix, with its bytes.
    static QMap<QString, QByteArray> files(const QString &dir, const QString &prefix)
    {
        QMap<QString, QByteArray> found;
        for (const QString &name : QDir(dir).entryList({prefix + "*"}, QDir::Files)) {
            QFile f(joinPath(dir, name));
            if (f.open(QIODevice::ReadOnly)) {
                found.insert(name, f.readAll());
            }
        }
        return found;
    }
    // A file as an unkilled run leaves it: the same lines, the last one included (a line may
    // hold the time of its run).
    static bool whole(const QByteArray &now, const QByteArray &reference)
    {
        const QList<QByteArray> a = now.split('\n'), b = reference.split('\n');
        return a.size() == b.size() && now.endsWith("\r\n") == reference.endsWith("\r\n") &&
               a.value(a.size() - 2) == b.value(b.size() - 2);
    }
    // Each file the host may take is absent or whole. (A kill may leave the temporary file a
    // whole file is made in, under a name of its own, which the host never takes.)
    static void expectAbsentOrWhole(const QMap<QString, QByteArray> &now,
                                    const QMap<QString, QByteArray> &reference)
    {
        for (auto it = reference.cbegin(); it != reference.cend(); ++it) {
            if (now.contains(it.key())) {
                EXPECT_TRUE(whole(now.value(it.key()), it.value())) << it.key().toStdString();
            }
        }
    }

    QString argument_;
    QString tmp_;
    const QString name_ = "0731200900A00000123"; // the hand-over files' name
};

// declrep: every spool row has its whole report, the plain text, its conversion and the copy
// in TMP are absent or whole.
TEST_F(ProgramCrash, DeclrepLeavesWholeFilesOrNone)
{
    const CrashJob declrep{QZ_DECLREP, {argument_}};
    long calls = 0;
    const CrashRun first = measure(declrep, &calls);
    ASSERT_EQ(first.exitCode, 0) << first.error.toStdString();
    ASSERT_GT(calls, 0);
    const QString report = scalar("SELECT Archivo FROM SPOOL WHERE CodRep='OKR002'");
    const QByteArray wholeReport = files(rpt_, report).value(report);
    ASSERT_FALSE(wholeReport.isEmpty());
    const QMap<QString, QByteArray> plain = files(rpt_, name_);
    const QMap<QString, QByteArray> copy = files(tmp_, name_);
    ASSERT_EQ(plain.size(), 2);
    ASSERT_EQ(copy.size(), 1);
    for (int t = 0; t < test::crashTrials(); ++t) {
        trial(t, declrep, calls, declrep, static_cast<int>(first.milliseconds), declrep, [&] {
            Database db = inst_.install().open();
            const QueryResult rows = db.query("SELECT Archivo FROM SPOOL WHERE CodRep='OKR002'");
            for (int r = 0; r < rows.rowCount(); ++r) {
                const QString name = rows.at(r, 0).toText();
                EXPECT_TRUE(whole(files(rpt_, name).value(name), wholeReport))
                    << name.toStdString();
            }
            expectAbsentOrWhole(files(rpt_, name_), plain);
            expectAbsentOrWhole(files(tmp_, name_), copy);
        });
    }
}

// declchk on an inconsistent declaration (box 115 without its companies): the listing and
// the marker are absent or whole.
TEST_F(ProgramCrash, DeclchkLeavesWholeListingsOrNone)
{
    {
        Database db = inst_.install().open();
        db.execute("DELETE FROM DET WHERE Casilla='115'");
        db.execute("INSERT INTO DET (tip_doc_d, doc_id_d, periodo, formulario, semana, Casilla, "
                   "i_valor, idcasilla, cNumero) SELECT tip_doc_d, doc_id_d, periodo, formulario, "
                   "semana, '115', '5000', '01', '000000' FROM CAB WHERE periodo='2009'");
    }
    const CrashJob declchk{QZ_DECLCHK, {argument_}};
    long calls = 0;
    const CrashRun first = measure(declchk, &calls);
    ASSERT_GT(calls, 0) << first.exitCode << ' ' << first.error.toStdString();
    ASSERT_EQ(first.exitCode, 1) << first.error.toStdString(); // inconsistent
    const QString listing = "06" + scalar("SELECT doc_id_d FROM CAB WHERE periodo='2009'");
    const QMap<QString, QByteArray> left = files(tmp_, listing);
    ASSERT_EQ(left.size(), 2); // the listing and the marker
    for (int t = 0; t < test::crashTrials(); ++t) {
        trial(
            t, declchk, calls, declchk, static_cast<int>(first.milliseconds), declchk,
            [&] { expectAbsentOrWhole(files(tmp_, listing), left); }, first.exitCode);
    }
}

// decltab on an installation without the module's tables and rows: each pass is one
// transaction, so a killed run leaves the four tables all made or none, the sending and report
// rows all written or none, and the run after it installs everything as an unkilled run does.
TEST_F(ProgramCrash, DecltabPassesAreAllOrNothing)
{
    const auto uninstall = [this] {
        Database db = inst_.install().open();
        for (const char *t :
             {"F731EMPRESAS", "HF731EMPRESAS", "TMPF731EMPRESAS", "F731PORCENTAJE"}) {
            db.execute(QString("DROP TABLE IF EXISTS ") + t);
        }
        db.execute("DELETE FROM envio_t");
        db.execute("DELETE FROM Reportes");
    };
    const QString moduleTables =
        "SELECT count(*) FROM sqlite_master WHERE type='table' AND name IN ('F731EMPRESAS', "
        "'HF731EMPRESAS', 'TMPF731EMPRESAS', 'F731PORCENTAJE')";
    const QString rows = "SELECT (SELECT count(*) FROM envio_t) || '/' || "
                         "(SELECT count(*) FROM Reportes) || '/' || (SELECT count(*) FROM PARAM)";
    const CrashJob decltab{QZ_DECLTAB, {}};
    uninstall();
    long calls = 0;
    const CrashRun first = measure(decltab, &calls);
    ASSERT_EQ(first.exitCode, 0) << first.error.toStdString();
    const QString installed = scalar(rows);
    ASSERT_EQ(scalar(moduleTables), "4");
    for (int t = 0; t < test::crashTrials(); ++t) {
        uninstall();
        trial(t, decltab, calls, decltab, static_cast<int>(first.milliseconds), decltab, [&] {
            const QString tables = scalar(moduleTables);
            EXPECT_TRUE(tables == "0" || tables == "4") << tables.toStdString();
        });
        EXPECT_EQ(scalar(rows), installed);
        EXPECT_EQ(scalar(moduleTables), "4");
    }
}

} // namespace
} // namespace qz
