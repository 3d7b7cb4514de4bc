// Spool registration with a million SPOOL rows present: one registration's median time
// (target under 5 ms). The rows are spread over the three report codes.
#include "core/reports/spool.h"

#include "core/data/transaction.h"
#include "support/tempinstall.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRows = 1'000'000;

void fillSpool(qz::Database &db)
{
    qz::Transaction tx(db);
    db.execute("DELETE * FROM SPOOL");
    db.execute(QStringLiteral(
                   "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
                   " INSERT INTO SPOOL (CodRep, Secuencia, Archivo, Fecha, Usuario, Tip_doc_d,"
                   " Doc_id_d)"
                   " SELECT 'OKR00' || (i % 3 + 1), i / 3 + 1, printf('%08d.PRN', i + 1),"
                   " '2024-01-02 10:00:00', 'ADMIN', 6, '20100000001' FROM n")
                   .arg(kRows - 1));
    tx.commit();
}

void BM_RegisterWithMillionRows(benchmark::State &state)
{
    qz::test::TempInstall inst;
    if (!inst.ok()) {
        state.SkipWithError("cannot create the installation");
        return;
    }
    qz::Database db = inst.open();
    fillSpool(db);
    if (db.scalar("SELECT count(*) FROM SPOOL").toInt() != kRows) {
        state.SkipWithError("the spool was not filled");
        return;
    }
    std::vector<double> times;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const QString name = qz::pRegistraSpool(db, "OKR002", 6, "20100000001", "ADMIN");
        const auto end = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(name);
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["p90_ms"] = times[times.size() * 9 / 10];
    state.counters["max_ms"] = times.back();
}

BENCHMARK(BM_RegisterWithMillionRows)->Iterations(500)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
