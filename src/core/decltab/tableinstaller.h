// The installer of form 0731's tables and parameters in the host's shared database.
//
// Two passes over the database, each on its own connection: the rows of PARAM, Reportes and
// envio_t; then the module's four tables (created only when missing) and the rows once more.
// Every write updates the row when it is present and inserts it otherwise, so a second run
// changes no row count. Each statement stands alone as the host expects: a failed statement is
// reported and skipped and the run goes on. Each pass still runs inside one BEGIN IMMEDIATE
// transaction and commits what succeeded, so a crash or a lost connection in the middle of a
// pass leaves the database as it was before that pass, never half-written.
//
// Failed statements are reported once per error number at the end of the run, with the first
// statement's description and how many failed that way: a database that refuses every write
// (read-only, full) gives one box, not one per statement. env731.txt is read once, for both
// passes, so that its problems are reported once.
#pragma once

#include "core/data/database.h"
#include "core/data/messenger.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace qz {

// One row of envio_t read from env731.txt.
struct EnvioRow {
    QString tablaO;
    QString tablaD;
    QString tablaExt;
    QStringList numbers; // fields 5 to 13 in their plain text form
};

// Reads env731.txt: one row per line until the end or the first empty or blank line. A line
// with fewer than 13 "|" or a field 5-13 that is not a number is left out and described in
// *problems (file and line number). Returns false when the file cannot be read.
bool readEnvioRows(const QString &path, std::vector<EnvioRow> *rows, QStringList *problems);

class TableInstaller final {
public:
    explicit TableInstaller(Messenger &messenger) : messenger_(messenger) {}

    // Runs both passes with QZ000.INI's SysPath and DBName. Returns the exit status: 0 when
    // everything was written, 1 when anything failed (each failure has been shown).
    int run();

private:
    void writeRows(Database &db);
    void createTables(Database &db);
    void writeParam(Database &db, const QString &n, const QString &a, const QString &f,
                    const QString &c);
    void writeReporte(Database &db, const QString &code, const QString &description);
    void writeEnvio(Database &db, const EnvioRow &row);
    // Runs a changing statement with the installer's error handling; false when it failed.
    bool execute(Database &db, const QString &sql);
    // Runs a query; a failure is reported like a statement error and reads as no rows.
    bool exists(Database &db, const QString &sql);
    void problem(const QString &title, const QString &text);
    // Counts a failed statement under its error number (reported by reportStatementErrors).
    void statementFailed(const DbError &error);
    void reportStatementErrors();
    // The rows of env731.txt, read (and its problems shown) the first time they are needed.
    const std::vector<EnvioRow> &envioRows();

    // One error number's failed statements: the first one's error and how many.
    struct StatementErrors {
        DbError first;
        int count;
    };

    Messenger &messenger_;
    QString sysPath_;
    bool failed_ = false;
    std::vector<StatementErrors> statementErrors_;
    std::optional<std::vector<EnvioRow>> envioRows_;
};

} // namespace qz
