// The large installation the GUI benchmarks run on (decltab's tables and 100,000 taxpayers with
// a registered declaration and a sending each), built once per process, and the timing helpers
// they share: milliseconds since a start and the median_ms/max_ms counters.
#pragma once

#include "core/data/paths.h"
#include "core/data/transaction.h"
#include "core/decltab/tableinstaller.h"
#include "support/scriptedmessenger.h"
#include "support/storeddeclaration.h"
#include "support/tempinstall.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace qz::bench {

using Clock = std::chrono::steady_clock;

constexpr int kDeclarations = 100'000;

// Every other taxpayer belongs to USUARIO1 (type "1"; USUARIO0, type "0", sees them all); all
// rows are written in one transaction.
struct Installation {
    test::TempInstall inst;
    Database db;
    QString error;

    Installation()
    {
        test::ScriptedMessenger installer;
        if (!inst.ok() || TableInstaller(installer).run() != 0) {
            error = QStringLiteral("cannot create the installation");
            return;
        }
        try {
            db = inst.open();
            fill();
        } catch (const DbError &e) {
            error = e.boxText();
        }
    }

    // The report folder (sDirReportes).
    QString rptDir() const { return joinPath(inst.dir(), QStringLiteral("RPT")); }

    void fill()
    {
        Transaction t(db);
        const QString numbers = test::numberedRows(kDeclarations);
        db.execute(numbers + "INSERT INTO CONT (Tip_doc_d, Doc_id_d, Tipo_ingreso, Nombre, "
                             "Usuario) SELECT 6, printf('30%09d', i), 2, 'EMPRESA NUMERO ' || i, "
                             "CASE WHEN i % 2 = 0 THEN 'USUARIO1' ELSE 'OTRO' END FROM n");
        db.execute(numbers + "INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, formulario, semana, "
                             "estado) SELECT 6, printf('30%09d', i), '2009', '0731', 0, 0 FROM n");
        db.execute(numbers + "INSERT INTO HCAB (tip_doc_d, doc_id_d, periodo, formulario, semana, "
                             "CORREL, estado, NORDEN, FEC_ENV, CONTROL) SELECT 6, "
                             "printf('30%09d', i), '2009', '0731', 0, '001', 0, i, "
                             "'2026-05-02 10:00:00', 'C' || i FROM n");
        t.commit();
    }
};

inline Installation &installation()
{
    static Installation in;
    return in;
}

inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline void reportTimes(benchmark::State &state, std::vector<double> &times)
{
    if (times.empty()) {
        return;
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["max_ms"] = times.back();
}

// False, with the benchmark skipped, when the installation could not be built.
inline bool usable(benchmark::State &state)
{
    if (!installation().error.isEmpty()) {
        state.SkipWithError(qPrintable(installation().error));
        return false;
    }
    return true;
}

} // namespace qz::bench
