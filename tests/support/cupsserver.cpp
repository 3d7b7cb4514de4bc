// Setting up, starting and stopping a private cupsd with a cups-pdf queue.
#include "support/cupsserver.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace qz::test {

namespace {

const QString kBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
const QString kBackendConfigDir = QStringLiteral("/etc/cups");
const QString kInstancePrefix = QStringLiteral("qztest-");
// The PPD printer-driver-cups-pdf ships; "noopt" leaves the PDF version to the backend.
const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd");

QString findTool(const QString &name)
{
    return QStandardPaths::findExecutable(
        name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"), QStringLiteral("/sbin")});
}

struct ToolRun {
    bool ok = false;
    QString output; // stdout and stderr
};

ToolRun runTool(const QString &name, const QStringList &args, const QProcessEnvironment &env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(findTool(name), args);
    ToolRun run;
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished(1000);
        run.output = name + QStringLiteral(": ") + p.errorString();
        return run;
    }
    run.output = QString::fromLocal8Bit(p.readAll()).trimmed();
    run.ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return run;
}

bool writeFile(const QString &path, const QString &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           f.write(text.toUtf8()) == text.toUtf8().size() && f.flush();
}

// Removes the backend settings of test servers whose process has ended (a killed test).
void removeStaleBackendConfigs()
{
    const QDir etc(kBackendConfigDir);
    const QStringList names =
        etc.entryList({QStringLiteral("cups-pdf-") + kInstancePrefix + QStringLiteral("*.conf")});
    for (const QString &name : names) {
        // cups-pdf-qztest-<pid>-<n>.conf
        const QString pid = name.section(u'-', 3, 3);
        if (!pid.isEmpty() && !QFileInfo::exists(QStringLiteral("/proc/") + pid)) {
            QFile::remove(etc.filePath(name));
        }
    }
}

} // namespace

CupsServer::~CupsServer()
{
    stop();
}

bool CupsServer::fail(const QString &why)
{
    reason_ = why;
    stop();
    return false;
}

QString CupsServer::socketPath() const
{
    return dir_ + QStringLiteral("/cups.sock");
}

QString CupsServer::pdfFolder() const
{
    return dir_ + QStringLiteral("/pdf");
}

bool CupsServer::start(const QString &dir, int timeoutMs)
{
    if (running_) {
        reason_ = QStringLiteral("the server runs already");
        return false;
    }
    reason_.clear();
    dir_ = QDir(dir).absolutePath();
    if (geteuid() != 0) {
        return fail(QStringLiteral("not root: cups-pdf writes PDFs only when cupsd runs as root"));
    }
    for (const char *tool : {"cupsd", "lpadmin", "lpstat"}) {
        if (findTool(QString::fromLatin1(tool)).isEmpty()) {
            return fail(QStringLiteral("%1 is not installed (package cups)").arg(tool));
        }
    }
    if (!QFileInfo::exists(kBackend) || !QFileInfo::exists(kPpd)) {
        return fail(QStringLiteral("cups-pdf is not installed (package printer-driver-cups-pdf)"));
    }
    if (socketPath().toLocal8Bit().size() >= int(sizeof(sockaddr_un::sun_path))) {
        return fail(QStringLiteral("folder path too long for a socket: ") + dir_);
    }
    if (!writeConfiguration()) {
        return false;
    }

    // -f: in the foreground, as our child. PDEATHSIG: a test that dies does not leave the
    // server running.
    cupsd_.setProgram(findTool(QStringLiteral("cupsd")));
    cupsd_.setArguments({QStringLiteral("-f"), QStringLiteral("-c"),
                         dir_ + QStringLiteral("/etc/cupsd.conf"), QStringLiteral("-s"),
                         dir_ + QStringLiteral("/etc/cups-files.conf")});
    cupsd_.setProcessChannelMode(QProcess::MergedChannels);
    cupsd_.setStandardOutputFile(dir_ + QStringLiteral("/log/cupsd.out"));
    cupsd_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    cupsd_.start();
    if (!cupsd_.waitForStarted(timeoutMs)) {
        return fail(QStringLiteral("cannot start cupsd: ") + cupsd_.errorString());
    }
    if (!waitUntilListening(timeoutMs) || !addDefaultQueue()) {
        return false;
    }
    pointProcessAtServer();
    running_ = true;
    return true;
}

bool CupsServer::writeConfiguration()
{
    const QDir root(dir_);
    for (const char *sub : {"etc", "spool", "cache", "state", "tmp", "log", "pdf"}) {
        if (!root.mkpath(QString::fromLatin1(sub))) {
            return fail(QStringLiteral("cannot create %1 in %2").arg(sub, dir_));
        }
    }
    // The filters run as the user lp: they reach the spool through this folder and write
    // their temporary files into tmp (sticky and open to all, like /tmp).
    QFile::setPermissions(dir_, QFile::permissions(dir_) | QFile::ExeGroup | QFile::ExeOther);
    if (::chmod(QFile::encodeName(dir_ + QStringLiteral("/tmp")).constData(), 01777) != 0) {
        return fail(QStringLiteral("cannot open %1/tmp to the filters").arg(dir_));
    }

    // Only the socket, no TCP port; no browsing; every operation allowed without a password
    // (only this machine's processes reach the socket). A job that fails is dropped instead
    // of stopping the queue, so waitForPdf() sees at once that no PDF will come.
    const QString cupsd =
        QStringLiteral("Listen %1\n"
                       "Browsing No\n"
                       "BrowseLocalProtocols none\n"
                       "DefaultAuthType None\n"
                       "WebInterface No\n"
                       "ErrorPolicy abort-job\n"
                       "LogLevel info\n"
                       "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                       "<Policy default>\n"
                       "  JobPrivateAccess all\n  JobPrivateValues none\n"
                       "  SubscriptionPrivateAccess all\n  SubscriptionPrivateValues none\n"
                       "  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                       "</Policy>\n")
            .arg(socketPath());
    // Every file the server writes stays in dir_, the printcap included (its default is
    // /run/cups/printcap).
    const QString files = QStringLiteral("ServerRoot %1/etc\n"
                                         "RequestRoot %1/spool\n"
                                         "CacheDir %1/cache\n"
                                         "StateDir %1/state\n"
                                         "TempDir %1/tmp\n"
                                         "ErrorLog %1/log/error_log\n"
                                         "AccessLog %1/log/access_log\n"
                                         "PageLog %1/log/page_log\n"
                                         "Printcap %1/printcap\n"
                                         "SystemGroup root\n")
                              .arg(dir_);
    if (!writeFile(dir_ + QStringLiteral("/etc/cupsd.conf"), cupsd) ||
        !writeFile(dir_ + QStringLiteral("/etc/cups-files.conf"), files)) {
        return fail(QStringLiteral("cannot write the server configuration in ") + dir_);
    }

    // The backend's settings: PDFs into our folder, named "job_<id>-<title>.pdf" so that no job
    // overwrites another; its spool, temporary files and log in our folder too.
    removeStaleBackendConfigs();
    static int serial = 0;
    instance_ = kInstancePrefix + QString::number(QCoreApplication::applicationPid()) + u'-' +
                QString::number(++serial);
    backendConfig_ =
        kBackendConfigDir + QStringLiteral("/cups-pdf-") + instance_ + QStringLiteral(".conf");
    const QString backend = QStringLiteral("Out %1/pdf\n"
                                           "Spool %1/cups-pdf-spool\n"
                                           "GSTmp %1/tmp\n"
                                           "Log %1/log\n"
                                           "Label 1\n"
                                           "Grp root\n")
                                .arg(dir_);
    if (!writeFile(backendConfig_, backend)) {
        const QString why = QStringLiteral("cannot write ") + backendConfig_;
        backendConfig_.clear();
        return fail(why);
    }
    return true;
}

bool CupsServer::waitUntilListening(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (cupsd_.state() != QProcess::Running) {
            return fail(QStringLiteral("cupsd ended at its start:\n") + logTail());
        }
        if (QFileInfo::exists(socketPath()) &&
            runTool(QStringLiteral("lpstat"), {QStringLiteral("-r")}, environment()).ok) {
            return true;
        }
        if (deadline.hasExpired()) {
            return fail(QStringLiteral("cupsd does not answer on ") + socketPath() + u'\n' +
                        logTail());
        }
        QThread::msleep(50);
    }
}

bool CupsServer::addDefaultQueue()
{
    const QString queue = QString::fromLatin1(kQueue);
    // -P: the PPD file itself; lpadmin warns that drivers are deprecated, which is no failure.
    // The backend takes PostScript. The default PDF-to-PostScript renderer (Ghostscript)
    // turns Qt's fonts into bitmap fonts that no longer map to characters, so the PDF could
    // not be read back as text; pdftocairo keeps them as TrueType.
    const ToolRun add =
        runTool(QStringLiteral("lpadmin"),
                {QStringLiteral("-p"), queue, QStringLiteral("-E"), QStringLiteral("-v"),
                 QStringLiteral("cups-pdf:/") + instance_, QStringLiteral("-P"), kPpd,
                 QStringLiteral("-o"), QStringLiteral("pdftops-renderer-default=pdftocairo")},
                environment());
    if (!add.ok) {
        return fail(QStringLiteral("lpadmin cannot add the queue: ") + add.output);
    }
    const ToolRun def =
        runTool(QStringLiteral("lpadmin"), {QStringLiteral("-d"), queue}, environment());
    if (!def.ok) {
        return fail(QStringLiteral("lpadmin cannot make the queue the default: ") + def.output);
    }
    return true;
}

QProcessEnvironment CupsServer::environment(QProcessEnvironment base) const
{
    base.insert(QStringLiteral("CUPS_SERVER"), socketPath());
    // Neither the machine's client.conf nor its lpoptions (which may name another default).
    base.insert(QStringLiteral("CUPS_SERVERROOT"), dir_ + QStringLiteral("/etc"));
    base.remove(QStringLiteral("LPDEST"));
    base.remove(QStringLiteral("PRINTER"));
    return base;
}

void CupsServer::pointProcessAtServer()
{
    const QProcessEnvironment env = environment(QProcessEnvironment());
    saved_.clear();
    for (const char *name : {"CUPS_SERVER", "CUPS_SERVERROOT", "LPDEST", "PRINTER"}) {
        SavedVariable v{name, std::nullopt};
        if (qEnvironmentVariableIsSet(name)) {
            v.value = qgetenv(name);
        }
        saved_.push_back(v);
        const QString value = env.value(QString::fromLatin1(name));
        if (env.contains(QString::fromLatin1(name))) {
            qputenv(name, value.toLocal8Bit());
        } else {
            qunsetenv(name);
        }
    }
}

void CupsServer::restoreProcessEnvironment()
{
    for (const SavedVariable &v : saved_) {
        if (v.value) {
            qputenv(v.name.constData(), *v.value);
        } else {
            qunsetenv(v.name.constData());
        }
    }
    saved_.clear();
}

bool CupsServer::hasUnfinishedJobs() const
{
    // lpstat -o lists the jobs not completed; it fails when it cannot ask the server.
    const ToolRun jobs = runTool(QStringLiteral("lpstat"), {QStringLiteral("-o")}, environment());
    return !jobs.ok || !jobs.output.isEmpty();
}

QString CupsServer::waitForPdf(int timeoutMs)
{
    if (!running_) {
        return {};
    }
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const QFileInfoList pdfs =
            QDir(pdfFolder())
                .entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time | QDir::Reversed);
        // The backend writes the file in place: it is whole once its job has finished.
        const bool jobsLeft = hasUnfinishedJobs();
        for (const QFileInfo &pdf : pdfs) {
            if (!jobsLeft && !seenPdfs_.contains(pdf.absoluteFilePath())) {
                seenPdfs_.insert(pdf.absoluteFilePath());
                return pdf.absoluteFilePath();
            }
        }
        if (!jobsLeft || deadline.hasExpired() || cupsd_.state() != QProcess::Running) {
            return {};
        }
        QThread::msleep(100);
    }
}

QString CupsServer::logTail(int lines) const
{
    QString tail;
    const QDir log(dir_ + QStringLiteral("/log"));
    for (const QString &name : log.entryList(QDir::Files, QDir::Name)) {
        QFile f(log.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QStringList all =
            QString::fromLocal8Bit(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
        tail += QStringLiteral("== ") + name + u'\n' +
                all.mid(qMax(0, all.size() - lines)).join(u'\n') + u'\n';
    }
    return tail;
}

void CupsServer::stop()
{
    running_ = false;
    if (cupsd_.state() != QProcess::NotRunning) {
        cupsd_.terminate();
        if (!cupsd_.waitForFinished(5000)) {
            cupsd_.kill();
            cupsd_.waitForFinished(5000);
        }
    }
    if (!backendConfig_.isEmpty()) {
        QFile::remove(backendConfig_);
        backendConfig_.clear();
    }
    restoreProcessEnvironment();
}

} // namespace qz::test
