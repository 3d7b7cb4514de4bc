// The host's sending of a saved declaration of form 0731: the consistency check by declchk,
// the summary by declrep, the move of the declaration into the history tables with a new
// sending number, and the administration's receipt.
//
// Order of a sending, and why:
//   1. The declaration is read: its CAB header (state 0 only), and its rows in every working
//      table that envio_t lists for the form (a table marked obliga must have rows).
//   2. declchk checks it; its listing and marker in TMP are removed first, so only this run's
//      marker counts. "0731 ERROR" in the marker refuses the sending.
//   3. The control number is chosen and declrep writes the summary. declrep reads CAB and DET,
//      so it runs while the working rows are still there, and before the move's write lock:
//      declrep registers its report in SPOOL, which needs that lock itself.
//   4. One BEGIN IMMEDIATE transaction: the rows are read again and must equal those of step 1
//      (declmod may have saved the declaration meanwhile); the sending number CORREL (one more
//      than the highest of the taxpayer, exercise and form in HCAB) is given; every table is
//      copied into its history table "H" & tabla_o with CORREL (HCAB also CONTROL and FEC_ENV,
//      NORDEN Null); the working rows are deleted. Any failure rolls all of it back, and the
//      summary's copy in TMP is removed: the host never keeps a half-sent declaration, nor a
//      hand-over of a sending that did not happen.
//   5. The receipt: an order number and its verification code, which the module's order-number
//      check accepts for this sending's control number.
#pragma once

#include "core/data/database.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace qz {

constexpr const char *kSendingForm = "0731";
// Position 28 of the argument string: the kind of generation, "E" a sending.
constexpr const char *kSendingCode = "E";

// The 36-character argument string of declchk and declrep: "06", the RUC padded to 15, the
// form, the exercise followed by "00", the code and the eight-digit number.
QString sendingArgument(const QString &ruc, const QString &exercise, const QString &number);

// The verification code the administration gives with an order number for a sending's control
// number: D1 the check digit of the control number, D2 that of control, order and D1.
QString orderVerificationCode(const QString &control, const QString &order);

// The saved declarations of the form for a user, as the module lists them (type "0" sees every
// taxpayer): RUC, name, exercise, form, state. Throws DbError.
QueryResult savedDeclarations(Database &db, const QString &user);

enum class SendStatus {
    Sent = 0,    // in the history tables, working rows gone
    Refused = 1, // declchk found it inconsistent, or it is not ready to be sent; nothing changed
    Failed = 2,  // an error; nothing changed
};

struct SendResult {
    SendStatus status = SendStatus::Failed;
    QString message; // Spanish: what happened, for a message box or stderr
    QString listing; // declchk's listing when it refused the declaration
    QString summary; // declrep's text
    QString correl;
    QString control;
    QDateTime fecEnv;
    QString orderNumber; // the receipt
    QString orderCode;
};

// The receipt as the host shows it.
QString receiptText(const SendResult &result);

// Runs one of the module's programs with the argument string in SysPath; returns its exit
// status, or -1 when it could not be started, crashed or did not end in time, with what it
// wrote on stderr in *errors.
using ProgramRunner =
    std::function<int(const QString &program, const QString &argument, QString *errors)>;

// The programs of programDir run as processes in SysPath without a display, so that their
// messages come back on stderr instead of in boxes; each may take two minutes.
ProgramRunner programRunner(const QString &programDir, const QString &sysPath);

class DeclarationSender final {
public:
    // db: the shared database; sysPath: SysPath (TMP is found under it); programDir: where
    // declchk and declrep are.
    DeclarationSender(Database &db, QString sysPath, const QString &programDir);

    // Replaces how the programs are run (tests); by default programRunner(programDir, sysPath).
    void setRunner(ProgramRunner runner) { runner_ = std::move(runner); }

    SendResult send(const QString &ruc, const QString &exercise);

private:
    struct Table {
        QString name;
        bool required = false;
    };
    QList<Table> sentTables(); // envio_t rows of the form, in sending order
    QStringList snapshot(const QList<Table> &tables, const QString &ruc, const QString &exercise);
    bool check(const QString &ruc, const QString &exercise, SendResult &result);
    bool summarize(const QString &ruc, const QString &exercise, SendResult &result);
    QString newControlNumber();
    void moveToHistory(const QList<Table> &tables, const QString &ruc, const QString &exercise,
                       const QStringList &before, SendResult &result);

    Database &db_;
    QString sysPath_;
    ProgramRunner runner_;
};

} // namespace qz
