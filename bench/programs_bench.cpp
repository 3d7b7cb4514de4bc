// Whole-process time of declchk and declrep on a database with 100,000 declarations (target:
// median under 50 ms each), next to the time of starting /bin/true for scale. Each program
// is started as the host starts it, with the argument string of one declaration in the middle
// of the table.
#include "core/data/transaction.h"
#include "core/decltab/tableinstaller.h"
#include "support/scriptedmessenger.h"
#include "support/storeddeclaration.h"
#include "support/tempinstall.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <vector>

namespace {

constexpr int kDeclarations = 100'000;

// CAB, six DET boxes and two companies for each declaration: a reorganization of type 3 with
// two companies, box 521 = 2 and box 115 = the companies' tax, so declchk finds it consistent.
void fill(qz::Database &db)
{
    qz::Transaction tx(db);
    const QString numbers = qz::test::numberedRows(kDeclarations);
    db.execute(numbers + "INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, formulario, semana, "
                         "efectivo, estado, rectifica) SELECT 6, printf('20%09d', i), '2005', "
                         "'0731', 0, '1', 0, '0' FROM n");
    for (const char *box : {"'827', '1'", "'828', '3'", "'521', '2'", "'115', '300'",
                            "'146', '300'", "'180', '300'"}) {
        db.execute(numbers +
                   "INSERT INTO DET (tip_doc_d, doc_id_d, periodo, formulario, "
                   "semana, Casilla, i_valor, idcasilla, cNumero) SELECT 6, "
                   "printf('20%09d', i), '2005', '0731', 0, " +
                   QString::fromLatin1(box) + ", '', '000000' FROM n");
    }
    for (const char *company : {"'10000000001', '100'", "'10000000002', '200'"}) {
        db.execute(numbers +
                   "INSERT INTO F731EMPRESAS (tip_doc_d, doc_id_d, periodo, "
                   "formulario, tip_doc_emp, num_doc_emp, mto_imp_pag) SELECT 6, "
                   "printf('20%09d', i), '2005', '0731', 6, " +
                   QString::fromLatin1(company) + " FROM n");
    }
    tx.commit();
}

void runProcess(benchmark::State &state, const QString &program, const QStringList &args,
                int expectedExit)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY"); // no message boxes: the programs write to stderr
    std::vector<double> times;
    for (auto _ : state) {
        QProcess p;
        p.setProcessEnvironment(env);
        QElapsedTimer t;
        t.start();
        p.start(program, args);
        p.waitForFinished(60000);
        times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        if (p.exitCode() != expectedExit) {
            state.SkipWithError(qPrintable(program + " exit " + QString::number(p.exitCode()) +
                                           ": " + p.readAllStandardError()));
            return;
        }
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["max_ms"] = times.back();
}

QString program(const char *name)
{
    return QCoreApplication::applicationDirPath() + "/" + QString::fromLatin1(name);
}

QString middleDeclaration()
{
    return qz::test::argumentString(
        QStringLiteral("20%1").arg(kDeclarations / 2, 9, 10, QChar(u'0')), "200500");
}

void BM_BinTrue(benchmark::State &state)
{
    runProcess(state, "/bin/true", {}, 0);
}

void BM_Declchk(benchmark::State &state)
{
    runProcess(state, program("declchk"), {middleDeclaration()}, 0);
}

void BM_Declrep(benchmark::State &state)
{
    runProcess(state, program("declrep"), {middleDeclaration()}, 0);
}

BENCHMARK(BM_BinTrue)->Iterations(21)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Declchk)->Iterations(21)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Declrep)->Iterations(21)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qz::test::TempInstall inst;
    qz::test::ScriptedMessenger messages;
    if (!inst.ok() || qz::TableInstaller(messages).run() != 0) {
        fprintf(stderr, "cannot create the installation\n");
        return 1;
    }
    qz::Database db = inst.open();
    fill(db);
    db.close();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
