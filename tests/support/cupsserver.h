// A private CUPS server for one test, with a PDF printer as its default queue: the test prints
// through Qt's real print system and reads the PDF back, without the machine's own CUPS.
//
// Everything lives in a folder of the test's: the server's configuration, spool, cache and
// logs, its Unix socket (no TCP port), and the folder the printer writes its PDFs into. The
// queue uses Debian's cups-pdf backend. That backend reads its settings only from
// /etc/cups/cups-pdf-<instance>.conf (the path is built in), so start() writes one such file
// under a name of this process's and stop() removes it; files left by a process that is gone
// are removed at the next start. cups-pdf writes its PDF only when it runs as root, so the
// server needs root. The queue renders through pdftocairo, so the PDF keeps its text.
//
// start() points this process at the server (CUPS_SERVER, CUPS_SERVERROOT, and no LPDEST or
// PRINTER to override its default): call it before Qt first looks at the printers, as libcups
// keeps the server it first used. stop() puts the old values back.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>
#include <QString>

#include <optional>
#include <vector>

namespace qz::test {

class CupsServer final {
public:
    static constexpr const char *kQueue = "QzPdf";

    CupsServer() = default;
    // Stops the server.
    ~CupsServer();
    CupsServer(const CupsServer &) = delete;
    CupsServer &operator=(const CupsServer &) = delete;

    // Sets up the server in dir (an existing, empty folder; its path must be short enough for
    // a socket name), starts it, adds the PDF queue and makes it the default. False when
    // something is missing or fails; reason() says what.
    bool start(const QString &dir, int timeoutMs = 20000);
    bool isRunning() const { return running_; }
    QString reason() const { return reason_; }

    QString socketPath() const;
    // Where the printer's PDFs land.
    QString pdfFolder() const;

    // Call once a job has been sent. Waits until the server has no job left to finish and
    // returns the path of a PDF in pdfFolder() that no earlier call returned; empty when the
    // jobs ended without one (a failed job) or after timeoutMs.
    QString waitForPdf(int timeoutMs = 30000);

    // The end of the server's and the backend's logs, for a failure message.
    QString logTail(int lines = 30) const;

    // base pointed at this server, for a child process that prints.
    QProcessEnvironment
    environment(QProcessEnvironment base = QProcessEnvironment::systemEnvironment()) const;

    // Stops the server now and removes the backend's settings file.
    void stop();

private:
    bool fail(const QString &why);
    bool writeConfiguration();
    bool waitUntilListening(int timeoutMs);
    bool addDefaultQueue();
    bool hasUnfinishedJobs() const;
    void pointProcessAtServer();
    void restoreProcessEnvironment();

    QString dir_;
    QString instance_;      // the backend's instance name, in its device URI
    QString backendConfig_; // /etc/cups/cups-pdf-<instance>.conf while the server runs
    QProcess cupsd_;
    QSet<QString> seenPdfs_; // returned by waitForPdf() already
    // The process's values before pointProcessAtServer(), nullopt for unset.
    struct SavedVariable {
        QByteArray name;
        std::optional<QByteArray> value;
    };
    std::vector<SavedVariable> saved_;
    QString reason_;
    bool running_ = false;
};

} // namespace qz::test
