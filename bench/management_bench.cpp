// The management dialogs on 100,000 declarations (offscreen): opening FrmContAbrir and
// FrmContAbrirEnv up to the list shown with its first row selected, for a user who sees every
// taxpayer and for one who sees half of them (target: median under 0.2 s each), and a delete with
// the refresh of the list after it (target: median under 0.2 s), once near the top of the list and
// once after the user has scrolled through 20,000 rows, which the refresh reads again to keep the
// selected declaration.
#include "core/data/clock.h"
#include "core/data/transaction.h"
#include "core/decltab/tableinstaller.h"
#include "gui/management/declarationlistmodel.h"
#include "gui/management/frmcontabrir.h"
#include "gui/management/frmcontabrirenv.h"
#include "support/scriptedmessenger.h"
#include "support/storeddeclaration.h"
#include "support/tempinstall.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDeclarations = 100'000;

// The installation with decltab's tables and 100,000 taxpayers, every other one of USUARIO1
// (type "1"; USUARIO0, type "0", sees them all), each with a registered declaration and a
// sending, written in one transaction.
struct Installation {
    qz::test::TempInstall inst;
    qz::Database db;
    QString error;

    Installation()
    {
        qz::test::ScriptedMessenger installer;
        if (!inst.ok() || qz::TableInstaller(installer).run() != 0) {
            error = QStringLiteral("cannot create the installation");
            return;
        }
        try {
            db = inst.open();
            fill();
        } catch (const qz::DbError &e) {
            error = e.boxText();
        }
    }

    void fill()
    {
        qz::Transaction t(db);
        const QString numbers = qz::test::numberedRows(kDeclarations);
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

Installation &installation()
{
    static Installation in;
    return in;
}

qz::TextUtility &utility()
{
    static qz::TextUtility u;
    return u;
}

qz::ManagementContext context(qz::Messenger &messenger, int iModo,
                              const QString &usuario = QStringLiteral("USUARIO0"))
{
    return {installation().db,      messenger, utility(), nullptr, nullptr,
            QStringLiteral("0731"), usuario,   iModo,     false,   false};
}

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void reportTimes(benchmark::State &state, std::vector<double> &times)
{
    if (times.empty()) {
        return;
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["max_ms"] = times.back();
}

bool usable(benchmark::State &state)
{
    if (!installation().error.isEmpty()) {
        state.SkipWithError(qPrintable(installation().error));
        return false;
    }
    return true;
}

// The dialog built, loaded and shown, with the events that lay out the grid processed; the
// benchmark's argument chooses the user: 0 USUARIO0, 1 USUARIO1.
template <typename Dialog, typename... Args> void openDialog(benchmark::State &state, Args... args)
{
    if (!usable(state)) {
        return;
    }
    qz::test::ScriptedMessenger messages;
    std::vector<double> times;
    for (auto _ : state) {
        const auto start = Clock::now();
        const QString usuario = state.range(0) == 0 ? "USUARIO0" : "USUARIO1";
        Dialog d(context(messages, 1, usuario), args..., nullptr);
        const bool loaded = d.load();
        d.show();
        QApplication::processEvents();
        times.push_back(millisecondsSince(start));
        if (!loaded || d.model()->rowCount() == 0 || d.selectedRow() != 0) {
            state.SkipWithError("the list was not shown with its first row selected");
            return;
        }
    }
    reportTimes(state, times);
}

void BM_OpenFrmContAbrir(benchmark::State &state)
{
    openDialog<qz::FrmContAbrir>(state, 1);
}

void BM_OpenFrmContAbrirEnv(benchmark::State &state)
{
    openDialog<qz::FrmContAbrirEnv>(state);
}

// "&Eliminar" of a registered declaration answered Yes: the delete and the refresh. The first
// argument is how many rows the user has scrolled through before.
void BM_DeleteAndRefresh(benchmark::State &state)
{
    if (!usable(state)) {
        return;
    }
    qz::test::ScriptedMessenger messages;
    messages.answer = qz::MessageAnswer::Yes;
    qz::FrmContAbrir d(context(messages, 1), 3, nullptr);
    if (!d.load()) {
        state.SkipWithError("the list could not be read");
        return;
    }
    d.show();
    QApplication::processEvents();
    const int scrolled = static_cast<int>(state.range(0));
    while (d.model()->rowCount() < scrolled && d.model()->canFetchMore({})) {
        d.model()->fetchMore({});
    }
    std::vector<double> times;
    for (auto _ : state) {
        const int row = std::max(0, d.model()->rowCount() - 100);
        d.grid()->setCurrentIndex(d.model()->index(row, 0));
        const qz::ListKey deleted = d.model()->keyOf(row);
        const auto start = Clock::now();
        d.button(0)->click();
        times.push_back(millisecondsSince(start));
        if (d.model()->rowOf(deleted) >= 0 || d.selectedRow() != row) {
            state.SkipWithError("the declaration was not deleted or the row not kept");
            return;
        }
    }
    reportTimes(state, times);
}

BENCHMARK(BM_OpenFrmContAbrir)->Arg(0)->Arg(1)->Iterations(21)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFrmContAbrirEnv)->Arg(0)->Arg(1)->Iterations(21)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteAndRefresh)->Arg(0)->Arg(20'000)->Iterations(21)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    installation(); // the 100,000 declarations, before any timing
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
