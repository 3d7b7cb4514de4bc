// The summary of a generated declaration that declrep writes: one page registered in the
// spool under OKR002 (report file in RPT) and the same summary as plain text in RPT under the
// 19-character name form & period & code & number (".PRN").
//
// Every read goes on with the next when it fails, as the host expects of this program: a
// query that fails gives no rows, a value that cannot be read stays empty or 0. The files are
// different: the report file is written whole and only then registered with its SPOOL row
// (writeRegisteredReport), and the plain text is written only when that succeeded, whole or
// not at all (plainWritten()), so that nothing is handed on after a failed step. Values in
// both files follow the line rule of linevalue.h. failures() lists what went wrong, so the
// program can still say so in its exit status.
#pragma once

#include "core/data/config.h"
#include "core/data/currency.h"
#include "core/data/database.h"
#include "core/data/declarationargs.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace qz {

// The values the summary shows, read once per run.
struct SummaryValues {
    QString tipoNombre = QStringLiteral("RUC"); // short name of the document type
    QString razonSocial;                        // the taxpayer's name
    Currency casilla146;                        // balance due
    Currency casilla180;                        // amount paid
};

// The payment fields of one header row, trimmed.
struct SummaryPayment {
    QString efectivo;
    QString cheque;
    QString banco;     // BCOLIBRAD
    QString nroCheque; // nrocheque
    QString bancoNombre;
    bool rectifica = false;
};

class SummaryReport final {
public:
    SummaryReport(Database &db, const Config &config, const DeclarationArgs &args, QString rptDir);

    // Writes both files and returns the 19-character name.
    QString write();

    // The report file's name from the spool, empty when registration failed.
    QString reportFileName() const { return reportFile_; }
    // True when the plain text file was written completely (after a registered report).
    bool plainWritten() const { return plainWritten_; }
    const QStringList &failures() const { return failures_; }

    // The header query as traced and run.
    QString headerQuery() const;

    // The lines of one summary in the report file and in the plain file.
    QStringList reportLines(const SummaryValues &v, const SummaryPayment &p) const;
    QStringList plainLines(const SummaryValues &v, const SummaryPayment &p) const;

    // Pins the date and time printed (tests).
    void setTime(const QDateTime &t) { time_ = t; }

private:
    QString plainName() const;
    SummaryValues readValues();
    SummaryPayment readPayment(const QueryResult &header, int row);
    QueryResult tracedHeader();
    QueryResult query(const QString &sql);
    void failed(const QString &what);

    Database &db_;
    Config config_;
    DeclarationArgs args_;
    QString rptDir_;
    QString reportFile_;
    bool plainWritten_ = false;
    QDateTime time_;
    QStringList failures_;
};

// An amount "###,###,###,##0" filled on the left with blanks to width; never cut.
QString rightJustified(Currency amount, int width);

} // namespace qz
