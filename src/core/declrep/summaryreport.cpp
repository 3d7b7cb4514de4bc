// Writing declrep's summary: the values, the report file and the plain text file.
#include "core/declrep/summaryreport.h"

#include "core/data/clock.h"
#include "core/data/format.h"
#include "core/data/hosttext.h"
#include "core/data/lookups.h"
#include "core/data/paths.h"
#include "core/data/sqltext.h"
#include "core/data/textfile.h"
#include "core/reports/hostlinefile.h"
#include "core/reports/linevalue.h"
#include "core/reports/registeredreport.h"
#include "core/reports/reportwriter.h"
#include "core/reports/spool.h"

namespace qz {

namespace {

constexpr const char *kAmountPattern = "###,###,###,##0";

// A text command of the summary: page 0, size 10, not bold, "False" unless told otherwise.
QString summaryLine(const QString &prefix, const QString &text, const char *ending = "|False|10|0|")
{
    return prefix + reportFieldText(text) + QString::fromLatin1(ending);
}

QString textOf(const QueryResult &r, int row, const char *column)
{
    const int c = r.indexOf(QString::fromLatin1(column));
    return c < 0 ? QString() : trimBlanks(r.at(row, c).toText());
}

} // namespace

QString rightJustified(Currency amount, int width)
{
    return formatCurrency(amount, QString::fromLatin1(kAmountPattern)).rightJustified(width, u' ');
}

SummaryReport::SummaryReport(Database &db, const Config &config, const DeclarationArgs &args,
                             QString rptDir)
    : db_(db), config_(config), args_(args), rptDir_(std::move(rptDir)), time_(now())
{
}

QString SummaryReport::plainName() const
{
    return args_.formulario + args_.periodo + args_.codigo + args_.numero;
}

void SummaryReport::failed(const QString &what)
{
    failures_.push_back(what);
}

QueryResult SummaryReport::query(const QString &sql)
{
    try {
        return db_.query(sql);
    } catch (const DbError &e) {
        failed(QStringLiteral("%1 (%2): %3").arg(e.description()).arg(e.number()).arg(sql));
        return QueryResult();
    }
}

QString SummaryReport::headerQuery() const
{
    return QStringLiteral("SELECT * FROM CAB WHERE ") + QStringLiteral("Tip_doc_d=") +
           QString::number(args_.tipoDocNumber()) + QStringLiteral(" AND Doc_id_d='") +
           sqlText(args_.docIdTrimmed()) + QStringLiteral("' ") + QStringLiteral(" AND PERIODO='") +
           sqlText(args_.queryPeriod()) + QStringLiteral("' AND Formulario='") +
           sqlText(args_.formulario) + QStringLiteral("'");
}

QueryResult SummaryReport::tracedHeader()
{
    const QString sql = headerQuery();
    QString error;
    if (!appendHostLines(joinPath(normalizedDir(config_.sysPath), QStringLiteral("Trace.txt")),
                         {sql}, &error)) {
        failed(error);
    }
    return query(sql);
}

SummaryValues SummaryReport::readValues()
{
    SummaryValues v;
    const QString n = QString::number(args_.tipoDocNumber());
    const QString doc = sqlText(args_.docIdTrimmed());

    QueryResult r = query(QStringLiteral("SELECT * FROM PARAM WHERE Numero='044' AND "
                                         "Argumento='") +
                          n + u'\'');
    if (!r.isEmpty()) {
        v.tipoNombre = trimBlanks(fixedField(textOf(r, 0, "funcion"), 32, 12));
    }
    r = query(QStringLiteral("SELECT * FROM CONT") + QStringLiteral(" WHERE Tip_doc_d=") + n +
              QStringLiteral(" AND Doc_id_d='") + doc + u'\'');
    if (!r.isEmpty()) {
        v.razonSocial = textOf(r, 0, "Nombre");
    }
    r = query(QStringLiteral("SELECT CASILLA, I_VALOR FROM DET") +
              QStringLiteral(" WHERE Tip_doc_d=") + n + QStringLiteral(" AND Doc_id_d='") + doc +
              QStringLiteral("' ") + QStringLiteral(" AND PERIODO='") +
              sqlText(args_.queryPeriod()) + QStringLiteral("' ") +
              QStringLiteral(" AND FORMULARIO='") + sqlText(args_.formulario) +
              QStringLiteral("' ") + QStringLiteral(" AND (CASILLA='146' or CASILLA='180')"));
    for (int i = 0; i < r.rowCount(); ++i) {
        try {
            const Currency amount = Currency::fromText(r.at(i, 1).toText());
            if (textOf(r, i, "CASILLA") == QLatin1String("146")) {
                v.casilla146 = amount;
            } else {
                v.casilla180 = amount;
            }
        } catch (const DbError &e) {
            failed(e.description()); // an amount out of range stays 0
        }
    }
    return v;
}

SummaryPayment SummaryReport::readPayment(const QueryResult &header, int row)
{
    SummaryPayment p;
    p.efectivo = textOf(header, row, "Efectivo");
    p.cheque = textOf(header, row, "Cheque");
    p.banco = textOf(header, row, "BCOLIBRAD");
    p.nroCheque = textOf(header, row, "nrocheque");
    // A Null Rectifica is no rectification, as the host's "<> 0" on Null is not true.
    const int c = header.indexOf(QStringLiteral("Rectifica"));
    p.rectifica = c >= 0 && !header.at(row, c).isNull() && header.at(row, c).toDouble() != 0;
    if (!p.cheque.isEmpty()) {
        const QueryResult b = query(QStringLiteral("SELECT * FROM PARAM WHERE Numero='004' AND "
                                                   "Argumento='") +
                                    sqlText(p.banco) + u'\'');
        if (!b.isEmpty()) {
            p.bancoNombre = trimBlanks(fixedField(textOf(b, 0, "funcion"), 38, 12));
        }
    }
    return p;
}

QStringList SummaryReport::reportLines(const SummaryValues &v, const SummaryPayment &p) const
{
    const QString date = formatDate(time_, QStringLiteral("dd/mm/yyyy"));
    QStringList l;
    l << fontTagLine() << pageCountTagLine(1) << orientationTagLine()
      << colorTagLine(kColorWindowBackground);
    l << summaryLine(QStringLiteral("pPos|300|350|"), date)
      << QStringLiteral("pPos|5500|350|Pag. 01/01|False|10|0|")
      << summaryLine(QStringLiteral("pPos|300|600|"), formatDate(time_, QStringLiteral("hh:mm:ss")),
                     "|false|10|0|")
      << summaryLine(QStringLiteral("pPos|1300|1100|"),
                     QStringLiteral("Resumen de Declaración Generada - Formulario 0731"),
                     "|false|10|0|")
      << summaryLine(QStringLiteral("pPos|300|1500|"), QStringLiteral("DOCUMENTO       : ") +
                                                           v.tipoNombre + QStringLiteral("  ") +
                                                           args_.docIdTrimmed())
      << summaryLine(QStringLiteral("pPos|300|1750|"),
                     QStringLiteral("RAZON SOCIAL    : ") + v.razonSocial)
      << summaryLine(QStringLiteral("pPos|300|2000|"), QStringLiteral("FORMULARIO      : ") +
                                                           args_.formulario +
                                                           QStringLiteral("-ZEB OKRE"))
      << summaryLine(QStringLiteral("pPos|300|2250|"),
                     QStringLiteral("PERIODO         : ") + args_.printPeriod());
    // Cash and cheque both filled print both: the lines share the place on the page.
    if (!p.efectivo.isEmpty() || p.cheque.isEmpty()) {
        l << summaryLine(QStringLiteral("pPos|300|2500|"),
                         QStringLiteral("FORMA DE PAGO   : EFECTIVO"));
    }
    if (!p.cheque.isEmpty()) {
        l << summaryLine(QStringLiteral("pPos|300|2500|"),
                         QStringLiteral("FORMA DE PAGO   : CHEQUE"))
          << summaryLine(QStringLiteral("pPos|300|2750|"), QStringLiteral("BANCO           : ") +
                                                               p.banco + QStringLiteral(" - ") +
                                                               p.bancoNombre)
          << summaryLine(QStringLiteral("pPos|300|3000|"),
                         QStringLiteral("NUMERO CHEQUE   : ") + p.nroCheque);
    }
    l << summaryLine(QStringLiteral("pPos|300|3250|"), p.rectifica
                                                           ? QStringLiteral("RECTIFICATORIA  : SI")
                                                           : QStringLiteral("RECTIFICATORIA  : NO"))
      << summaryLine(QStringLiteral("pPos|300|3750|"),
                     QStringLiteral("TRIBUTO          IMP.RESULT.     MONTO PAGO"))
      << summaryLine(QStringLiteral("pPos|350|4000|"), QStringLiteral("OKRE ") +
                                                           rightJustified(v.casilla146, 17) +
                                                           rightJustified(v.casilla180, 18))
      << summaryLine(QStringLiteral("pPos|300|4500|"), QStringLiteral("NC ") + args_.numero +
                                                           QStringLiteral("  Fec.Generación: ") +
                                                           date);
    return l;
}

QStringList SummaryReport::plainLines(const SummaryValues &v, const SummaryPayment &p) const
{
    // The plain text is a tagged text file: every value passes the line rule, so that a name
    // holding "<!" or a line end neither drops its line nor adds one.
    QStringList l;
    l << QStringLiteral("DOCUMENTO      : ") + lineValue(v.tipoNombre) + QStringLiteral("  ") +
             lineValue(args_.docIdTrimmed())
      << QStringLiteral("RAZON SOCIAL   : ") + lineValue(v.razonSocial)
      << QStringLiteral("FORMULARIO     : ") + lineValue(args_.formulario) +
             QStringLiteral("-ZEB OKRE")
      << QStringLiteral("PERIODO        : ") + lineValue(args_.printPeriod());
    if (!p.efectivo.isEmpty() || p.cheque.isEmpty()) {
        l << QStringLiteral("FORMA DE PAGO  : EFECTIVO");
    }
    if (!p.cheque.isEmpty()) {
        l << QStringLiteral("FORMA DE PAGO  : CHEQUE")
          << QStringLiteral("BANCO          : ") + lineValue(p.banco) + QStringLiteral(" - ") +
                 lineValue(p.bancoNombre)
          << QStringLiteral("NUMERO CHEQUE  : ") + lineValue(p.nroCheque);
    }
    l << (p.rectifica ? QStringLiteral("RECTIFICATORIA : SI")
                      : QStringLiteral("RECTIFICATORIA : NO"))
      << QStringLiteral(" ") << QStringLiteral("TRIBUTO    IMP.RESULT.     MONTO PAGO")
      << QStringLiteral("OKRE ") + rightJustified(v.casilla146, 15) +
             rightJustified(v.casilla180, 16)
      << QStringLiteral(" ")
      << QStringLiteral("NC ") + lineValue(args_.numero) + QStringLiteral("  Fec.Generación: ") +
             formatDate(time_, QStringLiteral("dd/mm/yyyy"));
    return l;
}

QString SummaryReport::write()
{
    const SummaryValues values = readValues();
    const QueryResult header = tracedHeader();
    // The report is written whole before it is registered: a name in SPOOL always has its
    // complete file, and a failure leaves neither.
    const SpoolEntry entry{QString::fromLatin1(kReportResumen), args_.tipoDocNumber(), args_.docId,
                           config_.usuario};
    const RegisteredReport report =
        writeRegisteredReport(db_, rptDir_, entry, [&](ReportWriter &writer) {
            for (int row = 0; row < header.rowCount(); ++row) {
                const SummaryPayment payment = readPayment(header, row);
                for (const QString &line : reportLines(values, payment)) {
                    writer.writeLine(line);
                }
            }
        });
    reportFile_ = report.archivo;
    if (!report.ok()) {
        failed(QStringLiteral("SPOOL: %1 (%2)").arg(report.description).arg(report.errorNumber));
    }

    // The second pass is traced as always; its plain text is written only for a registered
    // report, so that nothing is handed on for a summary the spool does not hold.
    const QueryResult again = tracedHeader();
    plainWritten_ = false;
    if (!report.ok()) {
        return plainName();
    }
    HostLineFile plain;
    if (!plain.create(joinPath(rptDir_, plainName() + QStringLiteral(".PRN")))) {
        failed(plain.error());
        return plainName();
    }
    if (!again.isEmpty()) {
        const SummaryPayment payment = readPayment(again, 0);
        for (const QString &line : plainLines(values, payment)) {
            plain.writeLine(line);
        }
    }
    plainWritten_ = plain.close();
    if (!plainWritten_) {
        failed(plain.error());
    }
    return plainName();
}

} // namespace qz
