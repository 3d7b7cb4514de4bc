// The two engines side by side in one run: the save of a full declaration, its load into the
// model, and declchk and declrep as whole processes, on a SQLite file and on a PostgreSQL
// database of a throw-away cluster reached over a Unix socket (tests/pg/cluster.sh, started
// and stopped here). Prints each operation's median on either engine and the ratio
// server/SQLite (target: at most 3); the engines take turns at every repetition. The cluster runs
// with fsync on, so the server flushes its commits as SQLite's synchronous=FULL does. When no
// cluster can be started only the SQLite half runs, and the output says why.
#include "core/data/clock.h"
#include "core/data/transaction.h"
#include "core/declaration/declarationmodel.h"
#include "core/validation/declarationsave.h"
#include "fulldeclaration.h"
#include "support/modelsupport.h"
#include "support/moduleinstall.h"
#include "support/scriptedmessenger.h"
#include "support/storeddeclaration.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

// As many declarations as programs_bench, so the SQLite times compare with its own.
constexpr int kDeclarations = 100'000;
constexpr int kSaves = 100;
constexpr int kLoads = 100;
constexpr int kProcessRuns = 31;
constexpr double kTargetRatio = 3.0;

const QString kExercise = QStringLiteral("2009");

// The exercise is checked against today: pinned so the runs do not depend on the date.
const QDateTime kToday(QDate(2026, 6, 1), QTime(10, 0));

enum Operation { Save, Load, Declchk, Declrep, kOperations };

const char *const kOperationNames[kOperations] = {
    "save of a full declaration",
    "load into the model",
    "declchk (whole process)",
    "declrep (whole process)",
};

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double millisecondsOf(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The throw-away cluster of this run, stopped and removed on destruction.
class Cluster final {
public:
    Cluster()
    {
        if (!folder_.isValid()) {
            skipReason_ =
                QStringLiteral("cannot create a temporary folder for the cluster's state");
            return;
        }
        stateFile_ = folder_.filePath(QStringLiteral("cluster.state"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QZ_PG_FSYNC"), QStringLiteral("on"));
        if (!script(QStringLiteral("start"), env)) {
            skipReason_ = QStringLiteral("tests/pg/cluster.sh did not finish");
            return;
        }
        QFile f(stateFile_);
        const QString content = f.open(QIODevice::ReadOnly)
                                    ? QString::fromUtf8(f.readAll()).trimmed()
                                    : QStringLiteral("SKIP no state file was written");
        if (content.startsWith(QLatin1String("SKIP"))) {
            skipReason_ = content.mid(4).trimmed();
        } else {
            started_ = true;
        }
    }

    ~Cluster()
    {
        if (started_) {
            script(QStringLiteral("stop"), QProcessEnvironment::systemEnvironment());
        }
    }

    Cluster(const Cluster &) = delete;
    Cluster &operator=(const Cluster &) = delete;

    bool started() const { return started_; }
    QString skipReason() const { return skipReason_; }
    QString stateFile() const { return stateFile_; }

private:
    bool script(const QString &action, const QProcessEnvironment &env) const
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QStringLiteral(QZ_CLUSTER_SCRIPT), {action, stateFile_});
        return p.waitForFinished(120'000) && p.exitStatus() == QProcess::NormalExit;
    }

    QTemporaryDir folder_;
    QString stateFile_;
    bool started_ = false;
    QString skipReason_;
};

// The declarations declchk and declrep run among: as programs_bench's, in one transaction,
// written in the host dialect so both engines take the same statements.
void fillDeclarations(qz::Database &db)
{
    qz::Transaction tx(db);
    const QString numbers = qz::test::numberedRows(kDeclarations);
    const QString ruc = QStringLiteral("'20' || right('000000000' || i, 9)");
    db.execute(numbers +
               "INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, formulario, semana, efectivo, "
               "estado, rectifica) SELECT 6, " +
               ruc + ", '2005', '0731', 0, '1', 0, '0' FROM n");
    for (const char *box : {"'827', '1'", "'828', '3'", "'521', '2'", "'115', '300'",
                            "'146', '300'", "'180', '300'"}) {
        db.execute(numbers +
                   "INSERT INTO DET (tip_doc_d, doc_id_d, periodo, formulario, semana, Casilla, "
                   "i_valor, idcasilla, cNumero) SELECT 6, " +
                   ruc + ", '2005', '0731', 0, " + QString::fromLatin1(box) +
                   ", '', '000000' FROM n");
    }
    for (const char *company : {"'10000000001', '100'", "'10000000002', '200'"}) {
        db.execute(numbers +
                   "INSERT INTO F731EMPRESAS (tip_doc_d, doc_id_d, periodo, formulario, "
                   "tip_doc_emp, num_doc_emp, mto_imp_pag) SELECT 6, " +
                   ruc + ", '2005', '0731', 6, " + QString::fromLatin1(company) + " FROM n");
    }
    tx.commit();
}

// A whole declaration typed on a new model as declaration_bench's save benchmark types it
// (header, the boxes, the answers, a reorganization with three companies); empty when ready,
// else why not.
QString typeFullDeclaration(qz::Database &db, qz::DeclarationModel &m)
{
    m.setRun({0, QStringLiteral("USUARIO0"), false, QString(), QString()});
    m.open();
    if (m.taxpayerEntries().isEmpty()) {
        return QStringLiteral("no taxpayer in the list");
    }
    m.chooseTaxpayer(0);
    m.setField(qz::Field::Periodo, kExercise);
    return fillFullDeclaration(db, m);
}

// One engine's installation with the declaration typed and saved once, and its times.
struct Engine {
    explicit Engine(const char *engineName) : name(engineName) {}

    const char *name;
    std::unique_ptr<qz::test::ModuleInstall> in;
    qz::test::ScriptedMessenger messages;
    std::unique_ptr<qz::DeclarationModel> model;
    std::unique_ptr<qz::DeclarationSave> save;
    qz::OpenRequest stored;
    std::array<std::vector<double>, kOperations> times;
    QString error;

    // The programs and the installer find the installation through QZ000.INI in this folder.
    QString iniDir() const { return in->install().iniDir(); }
};

// Installs the module, fills the declarations, types the full declaration and saves it once
// (the timed saves store over its rows, as a user's repeated "&Grabar" does); false with
// engine.error set when a step failed.
bool prepare(Engine &engine)
{
    engine.in = std::make_unique<qz::test::ModuleInstall>();
    if (!engine.in->ok()) {
        engine.error = QStringLiteral("cannot install the module: ") + engine.in->message();
        return false;
    }
    qz::Database &db = engine.in->db();
    try {
        fillDeclarations(db);
        engine.model = std::make_unique<qz::DeclarationModel>(db, engine.messages);
        engine.error = typeFullDeclaration(db, *engine.model);
        if (!engine.error.isEmpty()) {
            return false;
        }
        engine.save = std::make_unique<qz::DeclarationSave>(*engine.model);
        const qz::SaveOutcome first = engine.save->CmdGrabar();
        if (!first.saved) {
            engine.error = "the declaration was not saved: " + first.error +
                           (first.stop ? first.stop->message : QString());
            return false;
        }
    } catch (const qz::DbError &e) {
        engine.error = e.boxText();
        return false;
    }
    engine.stored = {engine.model->taxpayerRuc().trimmed(), engine.model->field(qz::Field::Razon),
                     kExercise, QString()};
    return true;
}

bool timeSave(Engine &engine)
{
    QElapsedTimer timer;
    timer.start();
    const qz::SaveOutcome out = engine.save->CmdGrabar();
    engine.times[Save].push_back(millisecondsOf(timer));
    if (!out.saved) {
        engine.error = "a save failed: " + out.error + (out.stop ? out.stop->message : QString());
    }
    return out.saved;
}

// One opening of the stored declaration, as the window does it for an existing one.
bool timeLoad(Engine &engine)
{
    QElapsedTimer timer;
    timer.start();
    auto loaded = std::make_unique<qz::DeclarationModel>(engine.in->db(), engine.messages);
    loaded->setRun({1, QString(), false, QString(), QString()});
    try {
        loaded->open(engine.stored);
    } catch (const qz::DbError &e) {
        engine.error = "the load failed: " + e.boxText();
        return false;
    }
    engine.times[Load].push_back(millisecondsOf(timer));
    if (loaded->text(101) != QLatin1String("2,500,000") || !engine.messages.shown.empty()) {
        engine.error = "the load did not put box 101 back: '" + loaded->text(101) + u'\'';
        return false;
    }
    return true;
}

// One whole-process run of a program on the declaration in the middle of the table, as the
// host starts it (programs_bench's runs); the time is kept when record is set.
bool timeProcess(Engine &engine, Operation operation, const char *name, bool record)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY")); // no message boxes: the programs write to stderr
    env.insert(QStringLiteral("QZ_INI_DIR"), engine.iniDir());
    // A runtime folder of its own: the programs allow one running copy per user and folder,
    // and another run of them elsewhere on the machine must not count as this one.
    static const QTemporaryDir runtime;
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    QProcess p;
    p.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    p.start(QCoreApplication::applicationDirPath() + u'/' + QString::fromLatin1(name),
            {qz::test::argumentString(
                QStringLiteral("20%1").arg(kDeclarations / 2, 9, 10, QChar(u'0')), "200500")});
    const bool finished = p.waitForFinished(60'000);
    const double ms = millisecondsOf(timer);
    if (!finished || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        engine.error = QStringLiteral("%1 exit %2: %3")
                           .arg(QString::fromLatin1(name))
                           .arg(p.exitCode())
                           .arg(QString::fromLocal8Bit(p.readAllStandardError()).trimmed());
        return false;
    }
    if (record) {
        engine.times[operation].push_back(ms);
    }
    return true;
}

// The engines take turns at every repetition, so a change in the machine's load during the
// run weighs on both alike.
bool measure(const std::vector<Engine *> &engines)
{
    for (int i = 0; i < kSaves; ++i) {
        for (Engine *e : engines) {
            if (!timeSave(*e)) {
                return false;
            }
        }
    }
    for (int i = 0; i < kLoads; ++i) {
        for (Engine *e : engines) {
            if (!timeLoad(*e)) {
                return false;
            }
        }
    }
    // The programs open the database themselves: these connections must not hold it.
    for (Engine *e : engines) {
        e->save.reset();
        e->model.reset();
        e->in->db().close();
    }
    for (const auto &[operation, name] : {std::pair{Declchk, "declchk"}, {Declrep, "declrep"}}) {
        // The first run only warms the caches, as a user's earlier run would have.
        for (int i = 0; i <= kProcessRuns; ++i) {
            for (Engine *e : engines) {
                if (!timeProcess(*e, operation, name, i > 0)) {
                    return false;
                }
            }
        }
    }
    return true;
}

// The server's own settings that decide what a commit costs, for the output.
QString serverSettings(const QString &stateFile)
{
    QFile f(stateFile);
    if (!f.open(QIODevice::ReadOnly)) {
        return QString();
    }
    try {
        qz::Database admin = qz::Database::connect(QString::fromUtf8(f.readAll()).trimmed());
        return QStringLiteral("fsync=%1, synchronous_commit=%2, version %3")
            .arg(admin.scalar(QStringLiteral("SELECT current_setting('fsync')")).toText(),
                 admin.scalar(QStringLiteral("SELECT current_setting('synchronous_commit')"))
                     .toText(),
                 admin.scalar(QStringLiteral("SELECT current_setting('server_version')")).toText());
    } catch (const qz::DbError &e) {
        return "unknown (" + e.description() + u')';
    }
}

void printTable(const Engine &sqlite, const Engine *server)
{
    std::printf("\n%-28s %12s %12s %14s\n", "operation (median, ms)", "SQLite", "server",
                "server/SQLite");
    for (int op = 0; op < kOperations; ++op) {
        const double lite = median(sqlite.times[op]);
        if (!server) {
            std::printf("%-28s %12.2f %12s %14s\n", kOperationNames[op], lite, "-", "-");
            continue;
        }
        const double remote = median(server->times[op]);
        const double ratio = remote / lite;
        std::printf("%-28s %12.2f %12.2f %13.2fx%s\n", kOperationNames[op], lite, remote, ratio,
                    ratio > kTargetRatio ? "  over the target" : "");
    }
    std::printf("\nTarget: the server within %.0fx SQLite for each operation.\n", kTargetRatio);
}

// The machine's load average: the run shares the processors with whatever else runs.
QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).section(u' ', 0, 2)
                                       : QStringLiteral("unknown");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const qz::PinnedClock clock(kToday);
    // Each installation chooses its engine here, whatever the caller's environment says.
    qunsetenv("QZ_TEST_ENGINE");

    std::printf("%d declarations in each database; medians of %d saves, %d loads and %d runs "
                "of each program, the engines taking turns. Load average %s.\n",
                kDeclarations, kSaves, kLoads, kProcessRuns, qPrintable(loadAverage()));
    const Cluster cluster;
    // Declared in this order so the installations are removed in the reverse one (TempInstall
    // restores QZ_INI_DIR as it found it).
    Engine sqlite("SQLite");
    std::optional<Engine> server;
    std::printf("SQLite: WAL, synchronous=FULL.\n");
    if (!prepare(sqlite)) {
        std::fprintf(stderr, "SQLite: %s\n", qPrintable(sqlite.error));
        return 1;
    }
    if (!cluster.started()) {
        std::printf("PostgreSQL: not measured, no cluster could be started: %s\n",
                    qPrintable(cluster.skipReason()));
    } else {
        std::printf("PostgreSQL on a Unix socket: %s.\n",
                    qPrintable(serverSettings(cluster.stateFile())));
        qputenv("QZ_PG_CLUSTER", QFile::encodeName(cluster.stateFile()));
        qputenv("QZ_TEST_ENGINE", "pg");
        server.emplace("PostgreSQL");
        const bool ready = prepare(*server);
        qunsetenv("QZ_TEST_ENGINE");
        if (!ready) {
            std::fprintf(stderr, "PostgreSQL: %s\n", qPrintable(server->error));
            return 1;
        }
    }

    std::vector<Engine *> engines{&sqlite};
    if (server) {
        engines.push_back(&*server);
    }
    if (!measure(engines)) {
        for (const Engine *e : engines) {
            if (!e->error.isEmpty()) {
                std::fprintf(stderr, "%s: %s\n", e->name, qPrintable(e->error));
            }
        }
        return 1;
    }
    printTable(sqlite, server ? &*server : nullptr);
    std::printf("Load average at the end: %s.\n", qPrintable(loadAverage()));
    return 0;
}
