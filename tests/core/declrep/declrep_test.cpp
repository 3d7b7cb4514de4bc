// declrep on fresh installations: the report file, the plain text, the copies, the spool row.
#include "../hostdatabasefaults.h"
#include "core/data/clock.h"
#include "core/data/textfile.h"
#include "core/declrep/reportprogram.h"
#include "core/declrep/summaryreport.h"
#include "core/reports/printresult.h"
#include "core/reports/reportfile.h"
#include "support/filefaults.h"
#include "support/moduleinstall.h"
#include "support/programfixture.h"
#include "support/scriptedmessenger.h"
#include "support/storeddeclaration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

using qz::ReportOutcome;
using qz::test::ScriptedMessenger;

class DeclrepTest : public qz::test::ProgramTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString();
        ruc_ = qz::test::demoRuc(db_, QStringLiteral("COMERCIAL ANDINA S.A."));
    }
    ReportOutcome run(const QString &periodo = QStringLiteral("200500"))
    {
        messages_.shown.clear();
        return qz::runDeclrep({qz::test::argumentString(ruc_, periodo)}, messages_);
    }
    QStringList lines(const QString &relative) const
    {
        QStringList l;
        EXPECT_TRUE(qz::readHostLines(inst_.dir() + "/" + relative, &l)) << relative.toStdString();
        return l;
    }
    // The lines of a report file from its first "pPos" on, without the fixed prefix.
    static QStringList texts(const QStringList &report)
    {
        QStringList t;
        for (const QString &line : report) {
            if (line.startsWith("pPos|")) {
                t << line.section(u'|', 1, 3);
            }
        }
        return t;
    }
};

TEST_F(DeclrepTest, WritesEveryFileOfAChequeDeclaration)
{
    qz::test::StoredDeclaration d(db_, ruc_, "2005");
    d.header({{"cheque", "1"},
              {"bcolibrad", "02"},
              {"nrocheque", "00012345 "},
              {"efectivo", ""},
              {"rectifica", "0"}});
    d.box("146", "1234567");
    d.box("180", "1500");
    d.box("101", "999");

    ASSERT_EQ(run(), ReportOutcome::Written);
    EXPECT_TRUE(messages_.shown.empty());

    // form, period (six characters), code and number
    const QString n19 = "0731200500A00000123";
    const QStringList report = lines("RPT/00000001.PRN");
    const QStringList expected = {
        "<!font!>Courier New<!/font!>",
        "<!nHojas!>1<!/nHojas!>",
        "<!Orientacion!>V<!/Orientacion!>",
        "<!Color!>&H80000005&<!/Color!>",
        "pPos|300|350|04/03/2026|False|10|0|",
        "pPos|5500|350|Pag. 01/01|False|10|0|",
        "pPos|300|600|09:08:07|false|10|0|",
        QString::fromUtf8("pPos|1300|1100|Resumen de Declaración Generada - Formulario "
                          "0731|false|10|0|"),
        "pPos|300|1500|DOCUMENTO       : RUC  " + ruc_ + "|False|10|0|",
        "pPos|300|1750|RAZON SOCIAL    : COMERCIAL ANDINA S.A.|False|10|0|",
        "pPos|300|2000|FORMULARIO      : 0731-ZEB OKRE|False|10|0|",
        "pPos|300|2250|PERIODO         : 2005|False|10|0|",
        "pPos|300|2500|FORMA DE PAGO   : CHEQUE|False|10|0|",
        "pPos|300|2750|BANCO           : 02 - CREDITO NOR.|False|10|0|",
        "pPos|300|3000|NUMERO CHEQUE   : 00012345|False|10|0|",
        "pPos|300|3250|RECTIFICATORIA  : NO|False|10|0|",
        "pPos|300|3750|TRIBUTO          IMP.RESULT.     MONTO PAGO|False|10|0|",
        "pPos|350|4000|OKRE         1,234,567             1,500|False|10|0|",
        QString::fromUtf8("pPos|300|4500|NC 00000123  Fec.Generación: 04/03/2026|False|10|0|"),
    };
    EXPECT_EQ(report, expected);

    const QStringList plain = {
        "DOCUMENTO      : RUC  " + ruc_,
        "RAZON SOCIAL   : COMERCIAL ANDINA S.A.",
        "FORMULARIO     : 0731-ZEB OKRE",
        "PERIODO        : 2005",
        "FORMA DE PAGO  : CHEQUE",
        "BANCO          : 02 - CREDITO NOR.",
        "NUMERO CHEQUE  : 00012345",
        "RECTIFICATORIA : NO",
        " ",
        "TRIBUTO    IMP.RESULT.     MONTO PAGO",
        "OKRE       1,234,567           1,500",
        " ",
        QString::fromUtf8("NC 00000123  Fec.Generación: 04/03/2026"),
    };
    EXPECT_EQ(lines("RPT/" + n19 + ".PRN"), plain);
    EXPECT_EQ(lines("RPT/" + n19 + ".txt"), plain);
    EXPECT_EQ(lines("TMP/" + n19 + ".TXT"), plain);

    const qz::QueryResult spool = db_.query("SELECT CodRep, Secuencia, Archivo, Usuario, "
                                            "Tip_doc_d, Doc_id_d FROM SPOOL");
    ASSERT_EQ(spool.rowCount(), 1);
    EXPECT_EQ(spool.at(0, 0).toText(), "OKR002");
    EXPECT_EQ(spool.at(0, 1).toInt(), 1);
    EXPECT_EQ(spool.at(0, 2).toText(), "00000001.PRN");
    EXPECT_EQ(spool.at(0, 3).toText(), "USUARIO1");
    EXPECT_EQ(spool.at(0, 4).toInt(), 6);
    EXPECT_EQ(spool.at(0, 5).toText(), ruc_);

    // Two passes of the header query each run; the file grows with every run.
    const QString query = "SELECT * FROM CAB WHERE Tip_doc_d=6 AND Doc_id_d='" + ruc_ +
                          "'  AND PERIODO='2005' AND Formulario='0731'";
    EXPECT_EQ(lines("Trace.txt"), QStringList({query, query}));
    ASSERT_EQ(run(), ReportOutcome::Written);
    EXPECT_EQ(lines("Trace.txt").size(), 4);
    EXPECT_TRUE(QFile::exists(inst_.dir() + "/RPT/00000002.PRN"));
}

TEST_F(DeclrepTest, MonthlyPeriodCashAndChequeAndMissingValues)
{
    // A monthly period, both payment kinds, no boxes, no CONT row and no '044' row.
    qz::test::StoredDeclaration d(db_, ruc_, "200512");
    d.header({{"cheque", "1"}, {"efectivo", "1"}, {"bcolibrad", "99"}, {"rectifica", "1"}});
    db_.execute("DELETE FROM CONT");
    db_.execute("DELETE FROM PARAM WHERE Numero='044'");
    ASSERT_EQ(run("200512"), ReportOutcome::Written);

    const QStringList t = texts(lines("RPT/00000001.PRN"));
    const QStringList expected = {
        "300|350|04/03/2026",
        "5500|350|Pag. 01/01",
        "300|600|09:08:07",
        QString::fromUtf8("1300|1100|Resumen de Declaración Generada - Formulario 0731"),
        "300|1500|DOCUMENTO       : RUC  " + ruc_,
        "300|1750|RAZON SOCIAL    : ",
        "300|2000|FORMULARIO      : 0731-ZEB OKRE",
        "300|2250|PERIODO         : 12/2005",
        "300|2500|FORMA DE PAGO   : EFECTIVO",
        "300|2500|FORMA DE PAGO   : CHEQUE",
        "300|2750|BANCO           : 99 - ",
        "300|3000|NUMERO CHEQUE   : ",
        "300|3250|RECTIFICATORIA  : SI",
        "300|3750|TRIBUTO          IMP.RESULT.     MONTO PAGO",
        "350|4000|OKRE " + QString(16, u' ') + "0" + QString(17, u' ') + "0",
        QString::fromUtf8("300|4500|NC 00000123  Fec.Generación: 04/03/2026"),
    };
    EXPECT_EQ(t, expected);
    const QStringList plain = lines("RPT/0731200512A00000123.PRN");
    ASSERT_EQ(plain.size(), 14);
    EXPECT_EQ(plain[3], "PERIODO        : 12/2005");
    EXPECT_EQ(plain[4], "FORMA DE PAGO  : EFECTIVO");
    EXPECT_EQ(plain[5], "FORMA DE PAGO  : CHEQUE");
    EXPECT_EQ(plain[11], "OKRE " + QString(14, u' ') + "0" + QString(15, u' ') + "0");
}

TEST_F(DeclrepTest, TwoHeaderRowsTwoSummariesOnePlain)
{
    qz::test::StoredDeclaration d(db_, ruc_, "2005");
    d.header({{"efectivo", "1"}}, 0);
    d.header({{"cheque", "1"}, {"bcolibrad", "01"}}, 1);
    ASSERT_EQ(run(), ReportOutcome::Written);
    const QStringList report = lines("RPT/00000001.PRN");
    EXPECT_EQ(report.count("<!font!>Courier New<!/font!>"), 2);
    EXPECT_EQ(report.count("pPos|300|2500|FORMA DE PAGO   : EFECTIVO|False|10|0|"), 1);
    EXPECT_EQ(report.count("pPos|300|2500|FORMA DE PAGO   : CHEQUE|False|10|0|"), 1);
    const QStringList plain = lines("RPT/0731200500A00000123.PRN");
    EXPECT_EQ(plain.count("FORMA DE PAGO  : EFECTIVO"), 1);
    EXPECT_EQ(plain.count("FORMA DE PAGO  : CHEQUE"), 0);
}

TEST_F(DeclrepTest, BadArgumentsWriteNothing)
{
    const QString bad[] = {
        QStringLiteral("0620"),
        qz::test::argumentString(ruc_, "200500", "/", "00000123"),
        qz::test::argumentString(ruc_, "200500", "A", "0000..23"),
        qz::test::argumentString(ruc_, "20o500"),
    };
    for (const QString &arg : bad) {
        messages_.shown.clear();
        EXPECT_EQ(qz::runDeclrep({arg}, messages_), ReportOutcome::NotRun) << arg.toStdString();
        EXPECT_EQ(messages_.shown.size(), 1u);
    }
    EXPECT_EQ(db_.scalar("SELECT count(*) FROM SPOOL").toInt(), 0);
    EXPECT_FALSE(QFile::exists(inst_.dir() + "/Trace.txt"));
    EXPECT_TRUE(QDir(inst_.dir() + "/RPT").entryList(QDir::Files).isEmpty());
}

// An amount beyond the currency's range is an overflow, however far beyond: the summary is
// not reported as written with a 0 in its place.
TEST_F(DeclrepTest, AmountBeyondTheRangeIsNotWrittenAsZero)
{
    for (const QString &huge : {QString("1e308"), QString("1e400"), QString(400, u'9')}) {
        SCOPED_TRACE(huge.left(8).toStdString());
        db_.execute("DELETE FROM DET");
        db_.execute("DELETE FROM CAB");
        qz::test::StoredDeclaration d(db_, ruc_, "2005");
        d.header({{"efectivo", "1"}});
        d.box("146", huge);
        EXPECT_NE(run(), ReportOutcome::Written);
    }
}

// An empty file (or server database) or a database without the host's tables is refused at
// the start with the open error: no summary, no trace, and the database is left as it was.
TEST_F(DeclrepTest, EmptyOrForeignDatabaseIsRefused)
{
    db_.close();
    for (const auto kind : qz::test::kNotHostDatabases) {
        ASSERT_TRUE(qz::test::makeNotHostDatabase(inst_.install(), kind));
        const QString before = qz::test::databaseState(inst_.install());
        const bool empty = kind == qz::test::NotHostDatabase::Empty;
        EXPECT_EQ(run(), ReportOutcome::NotRun) << empty;
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_TRUE(messages_.shown[0].text.endsWith("\n 3343"))
            << messages_.shown[0].text.toStdString();
        EXPECT_EQ(qz::test::databaseState(inst_.install()), before);
    }
    EXPECT_FALSE(QFile::exists(inst_.dir() + "/Trace.txt"));
    EXPECT_TRUE(QDir(inst_.dir() + "/RPT").entryList(QDir::Files).isEmpty());
}

TEST_F(DeclrepTest, ProgramRunsAsTheHostStartsIt)
{
    const QString bin = qEnvironmentVariable("QZ_BIN_DIR");
    if (bin.isEmpty()) {
        GTEST_SKIP() << "QZ_BIN_DIR is not set";
    }
    qz::test::StoredDeclaration(db_, ruc_, "2005").header({{"efectivo", "1"}});
    QProcess p;
    p.setWorkingDirectory(QDir::tempPath());
    p.start(bin + "/declrep", {qz::test::argumentString(ruc_, "200500")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(lines("TMP/0731200500A00000123.TXT").value(4), "FORMA DE PAGO  : EFECTIVO");
}

// The files of one run and what a failed step may leave of them.
class DeclrepHandOverTest : public DeclrepTest {
protected:
    void SetUp() override
    {
        DeclrepTest::SetUp();
        qz::test::StoredDeclaration(db_, ruc_, "2005").header({{"efectivo", "1"}});
        rpt_ = inst_.dir() + "/RPT";
        tmp_ = inst_.dir() + "/TMP";
        ASSERT_TRUE(QDir().mkpath(rpt_));
        ASSERT_TRUE(QDir().mkpath(tmp_));
    }
    QStringList files(const QString &dir) const
    {
        return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }
    // A copy of an earlier run that the host has not taken yet.
    void leaveEarlierCopy()
    {
        QFile old(tmp_ + "/" + kName + ".TXT");
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("earlier run\r\n");
    }
    int spoolRows() { return db_.scalar("SELECT count(*) FROM SPOOL").toInt(); }
    // After a failed registration: no row, no report, no plain text, nothing in TMP, and the
    // message of a missing plain text; Trace.txt still has both passes.
    void expectNothingHandedOver()
    {
        EXPECT_EQ(spoolRows(), 0);
        EXPECT_EQ(files(rpt_), QStringList());
        EXPECT_EQ(files(tmp_), QStringList());
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_EQ(messages_.shown[0].text, QString::fromUtf8(qz::kMissingReportText));
        EXPECT_EQ(lines("Trace.txt").size(), 2);
    }

    static constexpr const char *kName = "0731200500A00000123";
    QString rpt_;
    QString tmp_;
};

// Names that would change the text files: each stays on its own line, in every file.
TEST_F(DeclrepHandOverTest, ValuesNeitherDropNorAddLines)
{
    struct Case {
        const char *name;
        QString stored;
        QString plain;  // the name in the plain text and its copies
        QString report; // the name in the report file
    };
    const Case cases[] = {
        {"a tag", "ANDINA <!np!> S.A.", "ANDINA < !np!> S.A.", "ANDINA <!np!> S.A."},
        {"a fake line", "ANDINA\r\nRUC            : 20999999999",
         "ANDINA  RUC            : 20999999999", "ANDINA  RUC            : 20999999999"},
        {"a tab", "ANDINA\tS.A.", "ANDINA S.A.", "ANDINA S.A."},
        {"a bar", "ANDINA|S.A.", "ANDINA|S.A.", QString::fromUtf8("ANDINA¦S.A.")},
    };
    int run = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        db_.execute("UPDATE CONT SET Nombre = '" + QString(c.stored).replace("'", "''") +
                    "' WHERE Doc_id_d = '" + ruc_ + "'");
        ASSERT_EQ(DeclrepTest::run(), ReportOutcome::Written);
        const QString name = QString(kName);
        for (const QString &file :
             {"RPT/" + name + ".PRN", "RPT/" + name + ".txt", "TMP/" + name + ".TXT"}) {
            const QStringList l = lines(file);
            ASSERT_EQ(l.size(), 11) << file.toStdString();
            EXPECT_EQ(l[0], "DOCUMENTO      : RUC  " + ruc_) << file.toStdString();
            EXPECT_EQ(l[1], "RAZON SOCIAL   : " + c.plain) << file.toStdString();
            EXPECT_EQ(l[2], "FORMULARIO     : 0731-ZEB OKRE") << file.toStdString();
        }
        const qz::ReportFile report =
            qz::readReportFile(rpt_ + QStringLiteral("/%1.PRN").arg(++run, 8, 10, QChar(u'0')));
        ASSERT_TRUE(report.ok());
        ASSERT_EQ(report.commands.size(), 4u + 13u);
        EXPECT_EQ(report.commands[4 + 5].y, 1750);
        EXPECT_EQ(report.commands[4 + 5].text, "RAZON SOCIAL    : " + c.report);
    }
}

// The report folder cannot be written: the report is not registered, and neither the plain
// text nor a copy appears (an earlier copy is taken away: it is not this run's).
TEST_F(DeclrepHandOverTest, AReadOnlyReportFolderRegistersAndHandsOverNothing)
{
    leaveEarlierCopy();
    ReportOutcome outcome;
    {
        qz::test::ReadOnlyFolder readOnly(rpt_);
        ASSERT_TRUE(readOnly.holds());
        outcome = run();
    }
    EXPECT_EQ(outcome, ReportOutcome::Incomplete);
    expectNothingHandedOver();
}

// A full disk (the file-size limit): the database cannot grow nor the report be written.
TEST_F(DeclrepHandOverTest, AFullDiskRegistersAndHandsOverNothing)
{
    leaveEarlierCopy();
    ReportOutcome outcome;
    {
        qz::test::FileSizeLimit limit(512);
        ASSERT_TRUE(limit.ok());
        outcome = run();
    }
    EXPECT_EQ(outcome, ReportOutcome::Incomplete);
    expectNothingHandedOver();
}

// Another program holds the database: the registration gives up after the busy timeout (cut
// short here on SQLite; the server waits its 5 s), and the summary leaves no file behind; once
// free, all is written.
TEST_F(DeclrepHandOverTest, ALockedDatabaseLeavesNoFile)
{
    QString error;
    const std::optional<qz::DeclarationArgs> args =
        qz::DeclarationArgs::parse({qz::test::argumentString(ruc_, "200500")}, &error);
    ASSERT_TRUE(args) << error.toStdString();
    qz::Config config;
    config.sysPath = inst_.install().sysPath();
    config.usuario = "USUARIO1";
    if (!db_.isServer()) {
        db_.query("PRAGMA busy_timeout = 50");
    }

    qz::Database other = inst_.install().open();
    other.begin();
    qz::SummaryReport locked(db_, config, *args, rpt_);
    EXPECT_EQ(locked.write(), kName);
    EXPECT_TRUE(locked.reportFileName().isEmpty());
    EXPECT_FALSE(locked.plainWritten());
    EXPECT_FALSE(locked.failures().isEmpty());
    other.rollback();
    EXPECT_EQ(spoolRows(), 0);
    EXPECT_EQ(files(rpt_), QStringList());
    EXPECT_EQ(lines("Trace.txt").size(), 2);

    qz::SummaryReport free(db_, config, *args, rpt_);
    free.write();
    EXPECT_TRUE(free.failures().isEmpty()) << free.failures().join('\n').toStdString();
    EXPECT_TRUE(free.plainWritten());
    EXPECT_EQ(files(rpt_), QStringList({"00000001.PRN", QString(kName) + ".PRN"}));
}

// The copy folder cannot be written: the report and its texts are there, no copy is.
TEST_F(DeclrepHandOverTest, AReadOnlyCopyFolderGetsNoCopy)
{
    ReportOutcome outcome;
    {
        qz::test::ReadOnlyFolder readOnly(tmp_);
        ASSERT_TRUE(readOnly.holds());
        outcome = run();
    }
    EXPECT_EQ(outcome, ReportOutcome::Incomplete);
    EXPECT_EQ(spoolRows(), 1);
    EXPECT_EQ(files(rpt_),
              QStringList({"00000001.PRN", QString(kName) + ".PRN", QString(kName) + ".txt"}));
    EXPECT_EQ(files(tmp_), QStringList());
    EXPECT_TRUE(messages_.shown.empty());
}

// The conversion fails (its output's name is taken by a folder): its message, and no copy,
// not even an earlier one.
TEST_F(DeclrepHandOverTest, AFailedConversionHandsOverNoCopy)
{
    leaveEarlierCopy();
    ASSERT_TRUE(QDir(rpt_).mkdir(QString(kName) + ".txt"));
    EXPECT_EQ(run(), ReportOutcome::Incomplete);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].title, QStringLiteral("Impresión"));
    EXPECT_TRUE(messages_.shown[0].text.startsWith(QStringLiteral("Error Técnico : (75)")))
        << messages_.shown[0].text.toStdString();
    EXPECT_EQ(spoolRows(), 1);
    EXPECT_EQ(files(tmp_), QStringList());
}

// Two users run declrep for the same declaration at the same moment, 30 times each: every
// run succeeds, every registered report is complete under its own name, and the copy in TMP
// is always either not there or complete, whenever it is looked at.
TEST_F(DeclrepHandOverTest, TwoProgramsAtOnceHandOverOnlyCompleteFiles)
{
    const QString bin = qEnvironmentVariable("QZ_BIN_DIR");
    if (bin.isEmpty()) {
        GTEST_SKIP() << "QZ_BIN_DIR is not set";
    }
    constexpr int kRuns = 30;
    struct Runner {
        QTemporaryDir runtime; // a user of its own: the one-copy rule holds per user
        QProcess process;
        int done = 0;
        QStringList failures;
    };
    Runner runners[2];
    for (Runner &r : runners) {
        ASSERT_TRUE(r.runtime.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", r.runtime.path());
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        r.process.setProcessEnvironment(env);
        r.process.setWorkingDirectory(QDir::tempPath());
    }
    const QString argument = qz::test::argumentString(ruc_, "200500");
    const QString copy = tmp_ + "/" + kName + ".TXT";
    int seen = 0;
    QStringList incomplete;
    auto look = [&] {
        QFile f(copy);
        if (!f.open(QIODevice::ReadOnly)) {
            return;
        }
        const QList<QByteArray> l = f.readAll().split('\n');
        ++seen;
        // 11 lines, each with its CR LF: the last one ends the date line.
        if (l.size() != 12 || !l[10].startsWith("NC 00000123  Fec.Generaci")) {
            incomplete << QString::number(l.size());
        }
    };
    for (Runner &r : runners) {
        r.process.start(bin + "/declrep", {argument});
    }
    while (runners[0].done < kRuns || runners[1].done < kRuns) {
        for (Runner &r : runners) {
            if (r.done == kRuns || !r.process.waitForFinished(1)) {
                continue;
            }
            if (r.process.exitStatus() != QProcess::NormalExit || r.process.exitCode() != 0) {
                r.failures << QString::fromUtf8(r.process.readAllStandardError());
            }
            if (++r.done < kRuns) {
                r.process.start(bin + "/declrep", {argument});
            }
        }
        look();
    }
    EXPECT_EQ(runners[0].failures.join('\n').toStdString(), "");
    EXPECT_EQ(runners[1].failures.join('\n').toStdString(), "");
    EXPECT_GT(seen, 0);
    EXPECT_EQ(incomplete, QStringList());

    EXPECT_EQ(db_.scalar("SELECT count(DISTINCT Archivo) FROM SPOOL").toInt(), 2 * kRuns);
    const qz::QueryResult names = db_.query("SELECT Archivo FROM SPOOL");
    for (int i = 0; i < names.rowCount(); ++i) {
        const qz::ReportFile report = qz::readReportFile(rpt_ + "/" + names.at(i, 0).toText());
        EXPECT_TRUE(report.ok()) << names.at(i, 0).toText().toStdString();
        EXPECT_EQ(report.commands.size(), 17u) << names.at(i, 0).toText().toStdString();
    }
    // Nothing else is left: no temporary file in either folder.
    EXPECT_EQ(files(rpt_).size(), 2 * kRuns + 2);
    EXPECT_EQ(files(tmp_), QStringList({QString(kName) + ".TXT"}));
}

// Under a file-size limit (ulimit -f) declrep is not killed by the signal of a write past it:
// the write fails and the program ends with its message and a failure status.
TEST_F(DeclrepTest, FileSizeLimitGivesAMessageNotASignal)
{
    const QString bin = qEnvironmentVariable("QZ_BIN_DIR");
    if (bin.isEmpty()) {
        GTEST_SKIP() << "QZ_BIN_DIR is not set";
    }
    qz::test::StoredDeclaration(db_, ruc_, "2005").header({{"efectivo", "1"}});
    QProcess p;
    p.setChildProcessModifier([] {
        const rlimit none{0, 0};
        setrlimit(RLIMIT_FSIZE, &none);
    });
    p.start(bin + "/declrep", {qz::test::argumentString(ruc_, "200500")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << "ended by a signal";
    // The write that failed is said and the status is a failure, whichever step it hit.
    EXPECT_NE(p.exitCode(), 0) << err.toStdString();
    EXPECT_FALSE(err.trimmed().isEmpty());
}

} // namespace
