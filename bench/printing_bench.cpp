// Printing a full declaration (offscreen) in an installation with 100,000 declarations and
// 100,000 SPOOL rows:
// - from the press of "&Preliminar" in the print dialog to the preview shown (target: median
//   under 150 ms): the declaration written as a report file and registered as the print dialog
//   does it, then the preview built, loaded on pages 1 to 2 and shown with its events processed.
//   The page-range dialog between the two waits for the user, so it is not timed; nor is the
//   list's refresh after it closes.
// - the PDF of the three-page declaration from the preview's "PDF" command (target: median under
//   100 ms): the report file, already written, read again and printed into a PDF file.
// The declaration fills every box of pages 1 to 3, is paid by cheque, has box 827 = "1" (the
// reorganization rows) and asks for the annex.
#include "largeinstall.h"

#include "core/data/sqltext.h"
#include "core/management/printlist.h"
#include "core/reports/declarationreport.h"
#include "core/reports/previewrequest.h"
#include "core/reports/registeredreport.h"
#include "gui/printing/frmpreview.h"
#include "gui/widgets/windowroutines.h"
#include "support/pdftext.h"
#include "support/scriptedmessenger.h"
#include "support/storeddeclaration.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <iterator>
#include <utility>
#include <vector>

namespace {

using qz::bench::Clock;
using qz::bench::installation;
using qz::bench::millisecondsSince;
using qz::bench::reportTimes;

constexpr int kSpoolRows = 100'000;
const QString kRuc = QStringLiteral("20100079705");
const QString kName = QStringLiteral("COMERCIAL ANDINA S.A.");
const QString kPeriod = QStringLiteral("2006");
const QString kUser = QStringLiteral("USUARIO0");

// Every box the three pages print, with values of the kind each box holds.
const std::pair<const char *, const char *> kBoxes[] = {
    // Page 1: telephone, the answers, box 828's code, the reorganization date and count.
    {"005", "1"},
    {"028", "014445566"},
    {"825", "1"},
    {"826", "0"},
    {"827", "1"},
    {"828", "2"},
    {"829", "1"},
    {"520", "20060315"},
    {"521", "2"},
    // Page 2: the taxable base, the tax debt and the complementary data.
    {"101", "1234567"},
    {"104", "2000"},
    {"105", "1250"},
    {"108", "1235317"},
    {"109", "1250000"},
    {"110", "87.5"},
    {"111", "1093750"},
    {"113", "1093750"},
    {"114", "5469"},
    {"115", "300"},
    {"139", "5769"},
    {"160", "1"},
    {"161", "5769"},
    {"142", "100"},
    {"143", "1000"},
    {"144", "200"},
    {"145", "12"},
    {"146", "4481"},
    {"180", "4481"},
    {"225", "01"},
    {"226", "07654321"},
    {"817", "PEREZ GOMEZ"},
    {"818", "JUAN CARLOS"},
    {"815", "QUISPE LLANOS DE LA TORRE"},
    {"814", "ANA"},
    {"209", "1"},
    {"208", "10412345678"},
    {"211", "12345"},
    {"212", "6789"},
    // Page 3: the annex of box 105.
    {"546", "100"},
    {"547", "200"},
    {"548", "50"},
    {"549", "75"},
    {"550", "-50"},
    {"551", "125"},
    {"552", "80"},
    {"553", "20"},
    {"554", "300"},
    {"555", "250"},
    {"556", "100"},
};

// What the print dialog adds to the large installation: a SPOOL of 100,000 reports spread over
// the three report codes, a few boxes for each of the 100,000 declarations (so the detail
// statements search a large DET), and the full declaration. Empty when done, else why not.
QString prepare()
{
    auto &in = installation();
    if (!in.error.isEmpty()) {
        return in.error;
    }
    try {
        qz::Database &db = in.db;
        qz::Transaction t(db);
        db.execute("DELETE FROM SPOOL");
        db.execute(qz::test::numberedRows(kSpoolRows) +
                   "INSERT INTO SPOOL (CodRep, Secuencia, Archivo, Fecha, Usuario, Tip_doc_d, "
                   "Doc_id_d) SELECT 'OKR00' || (i % 3 + 1), i / 3 + 1, printf('%08d.PRN', i + 1), "
                   "'2024-01-02 10:00:00', 'USUARIO0', 6, printf('30%09d', i) FROM n");
        for (const char *box : {"101", "104", "105", "108", "180"}) {
            db.execute(qz::test::numberedRows(qz::bench::kDeclarations) +
                       "INSERT INTO DET (tip_doc_d, doc_id_d, periodo, formulario, semana, "
                       "Casilla, i_valor, idcasilla, cNumero) SELECT 6, printf('30%09d', i), "
                       "'2009', '0731', 0, '" +
                       QString::fromLatin1(box) + "', i, '', '000000' FROM n");
        }
        db.execute("INSERT INTO CONT (Tip_doc_d, Doc_id_d, Tipo_ingreso, Nombre, Usuario) "
                   "VALUES (6, " +
                   qz::sqlQuoted(kRuc) + ", 2, " + qz::sqlQuoted(kName) + ", 'USUARIO1')");
        qz::test::StoredDeclaration d(db, kRuc, kPeriod);
        d.header({{"bcolibrad", "02"}, {"nrocheque", "00012345"}, {"cheque", "1"}});
        for (const auto &[box, value] : kBoxes) {
            d.box(QString::fromLatin1(box), QString::fromUtf8(value));
        }
        t.commit();
        const int declarations = db.scalar("SELECT count(*) FROM CAB").toInt();
        const int spool = db.scalar("SELECT count(*) FROM SPOOL").toInt();
        const int details = db.scalar("SELECT count(*) FROM DET").toInt();
        if (declarations != qz::bench::kDeclarations + 1 || spool != kSpoolRows ||
            details != 5 * qz::bench::kDeclarations + static_cast<int>(std::size(kBoxes))) {
            return QStringLiteral("the installation was not filled");
        }
    } catch (const qz::DbError &e) {
        return e.boxText();
    }
    return {};
}

// The preparation, once per process; its error, empty when done.
const QString &preparation()
{
    static const QString error = prepare();
    return error;
}

bool ready(benchmark::State &state)
{
    const QString &error = preparation();
    if (!error.isEmpty()) {
        state.SkipWithError(qPrintable(error));
        return false;
    }
    return true;
}

// The declaration as the print dialog selects it from the registered list, annex ticked.
qz::DeclarationSelection selection()
{
    qz::DeclarationSelection s;
    s.ruc = kRuc;
    s.name = kName;
    s.period = kPeriod;
    s.annex = true;
    return s;
}

// The print dialog's writing of the report: a new report file with its SPOOL row.
qz::RegisteredReport writeReport(qz::Messenger &messenger)
{
    const qz::DeclarationSelection s = selection();
    const qz::SpoolEntry entry{qz::printReportCode(s.annex), 6, s.ruc, kUser};
    const qz::WaitCursor wait;
    qz::Database &db = installation().db;
    return qz::writeRegisteredReport(
        db, installation().rptDir(), entry,
        [&](qz::ReportWriter &writer) { qz::pGeneraDeclaracion(db, writer, s, messenger); });
}

qz::PreviewRequest requestFor(const qz::RegisteredReport &report)
{
    return {installation().rptDir(), report.archivo, kRuc, kPeriod, false};
}

// The report's SPOOL row is there, numbered after the 100,000 before it.
bool registered(const qz::RegisteredReport &report)
{
    return report.archivo.left(8).toInt() > kSpoolRows &&
           installation()
                   .db
                   .scalar("SELECT count(*) FROM SPOOL WHERE Archivo=" +
                           qz::sqlQuoted(report.archivo))
                   .toInt() == 1;
}

void BM_PreliminarToPreview(benchmark::State &state)
{
    if (!ready(state)) {
        return;
    }
    qz::test::ScriptedMessenger messages;
    std::vector<double> times;
    for (auto _ : state) {
        const auto start = Clock::now();
        const qz::RegisteredReport report = writeReport(messages);
        if (!report.ok()) {
            state.SkipWithError(qPrintable("the report was not registered: " + report.description));
            return;
        }
        qz::FrmPreview preview(requestFor(report), qz::PageRange{1, 2}, messages);
        preview.load();
        preview.show();
        QApplication::processEvents();
        times.push_back(millisecondsSince(start));
        if (preview.pageCount() != 2 || !preview.isVisible() || !registered(report) ||
            !messages.shown.empty()) {
            state.SkipWithError("the preview did not show the two pages of a registered report");
            return;
        }
    }
    reportTimes(state, times);
}

void BM_PdfOfThreePageDeclaration(benchmark::State &state)
{
    if (!ready(state)) {
        return;
    }
    qz::test::ScriptedMessenger messages;
    const qz::RegisteredReport report = writeReport(messages);
    QTemporaryDir out;
    if (!report.ok() || !messages.shown.empty() || !out.isValid()) {
        state.SkipWithError("the report could not be written");
        return;
    }
    const QString pdf = out.filePath(QStringLiteral("declaracion.pdf"));
    qz::FrmPreview preview(requestFor(report), qz::PageRange{1, 3}, messages);
    preview.setPdfFileQuestion([&pdf](QWidget *, const QString &) { return pdf; });
    preview.load();
    std::vector<double> times;
    for (auto _ : state) {
        QFile::remove(pdf);
        const auto start = Clock::now();
        preview.guardarPdf();
        times.push_back(millisecondsSince(start));
        if (QFileInfo(pdf).size() <= 0 || !messages.shown.empty()) {
            state.SkipWithError("no PDF was written");
            return;
        }
    }
    if (qz::test::pdfPageCount(pdf) != 3) {
        state.SkipWithError("the PDF does not have the three pages");
        return;
    }
    reportTimes(state, times);
}

BENCHMARK(BM_PreliminarToPreview)->Iterations(21)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfOfThreePageDeclaration)->Iterations(21)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    preparation(); // the large installation, before any timing
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
