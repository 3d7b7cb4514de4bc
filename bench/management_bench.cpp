// The management dialogs on 100,000 declarations (offscreen): opening FrmContAbrir and
// FrmContAbrirEnv up to the list shown with its first row selected, for a user who sees every
// taxpayer and for one who sees half of them (target: median under 0.2 s each), opening the print
// dialog FrmTipPrnR on the registered and on the sent list the same way (target: median under
// 0.2 s each), and a delete with the refresh of the list after it (target: median under 0.2 s),
// once near the top of the list and once after the user has scrolled through 20,000 rows, which
// the refresh reads again to keep the selected declaration.
#include "largeinstall.h"

#include "gui/management/declarationlistmodel.h"
#include "gui/management/frmcontabrir.h"
#include "gui/management/frmcontabrirenv.h"
#include "gui/printing/frmtipprnr.h"
#include "support/scriptedmessenger.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTableView>

#include <algorithm>
#include <vector>

namespace {

using qz::bench::Clock;
using qz::bench::installation;
using qz::bench::millisecondsSince;
using qz::bench::reportTimes;
using qz::bench::usable;

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

// The user a benchmark's argument chooses: 0 USUARIO0, 1 USUARIO1.
QString userOf(const benchmark::State &state)
{
    return state.range(0) == 0 ? QStringLiteral("USUARIO0") : QStringLiteral("USUARIO1");
}

// The dialog built for the user, loaded and shown, with the events that lay out the grid
// processed; args are the dialog's own arguments between the context and the main window.
template <typename Dialog, typename... Args>
void openDialog(benchmark::State &state, const QString &usuario, Args... args)
{
    if (!usable(state)) {
        return;
    }
    qz::test::ScriptedMessenger messages;
    std::vector<double> times;
    for (auto _ : state) {
        const auto start = Clock::now();
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
    openDialog<qz::FrmContAbrir>(state, userOf(state), 1);
}

void BM_OpenFrmContAbrirEnv(benchmark::State &state)
{
    openDialog<qz::FrmContAbrirEnv>(state, userOf(state));
}

// The print dialog for the user who sees every taxpayer; the argument chooses the list: 0 the
// registered declarations, 1 the sent ones.
void BM_OpenFrmTipPrnR(benchmark::State &state)
{
    openDialog<qz::FrmTipPrnR>(state, QStringLiteral("USUARIO0"), state.range(0) == 1,
                               installation().rptDir());
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
BENCHMARK(BM_OpenFrmTipPrnR)->Arg(0)->Arg(1)->Iterations(21)->Unit(benchmark::kMillisecond);
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
