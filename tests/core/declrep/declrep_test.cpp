// declrep on fresh installations: the report file, the plain text, the copies, the spool row.
#include "core/data/clock.h"
#include "core/data/textfile.h"
#include "core/declrep/reportprogram.h"
#include "core/declrep/summaryreport.h"
#include "support/moduleinstall.h"
#include "support/programfixture.h"
#include "support/scriptedmessenger.h"
#include "support/storeddeclaration.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

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

} // namespace
