// declmod's start, from the process start to its main window on the screen (viewable in the X
// window list), against a minimal Qt Widgets program measured the same way (target: within
// 1.5 times). Both run on a private Xvfb; declmod under a host window "Velquira" and on a
// fresh installation.
#include "core/platform/windowlist.h"
#include "support/tempinstall.h"
#include "support/windowowner.h"
#include "support/xvfbserver.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <vector>

namespace {

qz::test::XvfbServer *gServer = nullptr;
qz::test::TempInstall *gInstall = nullptr;
QTemporaryDir *gRuntime = nullptr;

bool viewable(const QByteArray &title)
{
    for (const qz::TopLevelWindow &w :
         qz::topLevelWindows(gServer->display()).value_or(QList<qz::TopLevelWindow>{})) {
        if (w.viewable && w.title == title) {
            return true;
        }
    }
    return false;
}

// Milliseconds from the start of program to its window titled title being viewable; -1 when
// none shows within 20 s. The program is killed afterwards.
double timeWindow(const QString &program, const QStringList &args, const QByteArray &title)
{
    QProcessEnvironment env = gServer->environment();
    env.insert("XDG_RUNTIME_DIR", gRuntime->path());
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(gInstall->dir());
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    bool shown = false;
    while (!(shown = viewable(title)) && t.elapsed() < 20000) {
        QThread::usleep(500); // do not flood the server with window-list requests
    }
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    p.kill();
    p.waitForFinished(5000);
    return shown ? ms : -1;
}

QString program(const char *name)
{
    return QCoreApplication::applicationDirPath() + "/" + QString::fromLatin1(name);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The two programs alternate, so a change in the machine's load touches both alike.
void BM_DeclmodAgainstMinimal(benchmark::State &state)
{
    std::vector<double> minimal;
    std::vector<double> declmod;
    for (auto _ : state) {
        const double m = timeWindow(program("minimal_window"), {"minimal"}, "minimal");
        const double d = timeWindow(program("declmod"), {}, "731 Vexilar - v 1.3");
        if (m < 0 || d < 0) {
            state.SkipWithError("a program showed no window");
            return;
        }
        minimal.push_back(m);
        declmod.push_back(d);
    }
    state.counters["minimal_median_ms"] = median(minimal);
    state.counters["declmod_median_ms"] = median(declmod);
    state.counters["ratio"] = median(declmod) / median(minimal);
}

BENCHMARK(BM_DeclmodAgainstMinimal)->Iterations(21)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qz::test::XvfbServer server;
    qz::test::TempInstall inst;
    QTemporaryDir runtime;
    if (!server.isRunning() || !inst.ok()) {
        fprintf(stderr, "no X server or no installation\n");
        return 1;
    }
    gServer = &server;
    gInstall = &inst;
    gRuntime = &runtime;
    qz::test::WindowOwner host(server, "Velquira", false, QStringLiteral(QZ_WINDOW_OWNER));
    if (!host.ready()) {
        fprintf(stderr, "no host window\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
