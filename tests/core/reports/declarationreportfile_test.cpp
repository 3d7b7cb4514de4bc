// The printed declaration as a file: read back with the report reader, the
// statements as the host writes them, the failure message, and what a failure leaves in the
// file. The line-by-line comparison of whole declarations is in declarationreport_test.cpp.
#include "core/data/sqltext.h"
#include "core/data/textfile.h"
#include "core/reports/declarationreport.h"
#include "core/reports/declarationreportdata.h"
#include "core/reports/reportfile.h"
#include "core/reports/reportwriter.h"
#include "support/moduleinstall.h"
#include "support/scriptedmessenger.h"
#include "support/storeddeclaration.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString kRuc = QStringLiteral("20100079705");
const QString kName = QStringLiteral("COMERCIAL ANDINA S.A.");

const QStringList kTagsOnly2 = {"<!font!>Courier New<!/font!>", "<!nHojas!>2<!/nHojas!>",
                                "<!Orientacion!>V<!/Orientacion!>",
                                "<!Color!>&H00FFFFC0&<!/Color!>"};

class DeclarationReportFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString(); }

    qz::Database &db() { return inst_.db(); }

    static qz::DeclarationSelection selection(const QString &period, bool sent, bool annex)
    {
        qz::DeclarationSelection s;
        s.ruc = kRuc;
        s.name = kName;
        s.period = period;
        s.sent = sent;
        s.correl = sent ? QString("000007") : QString();
        s.controlNumber = sent ? QString("987654") : QString();
        s.annex = annex;
        return s;
    }

    // A small registered declaration: a cheque, a few boxes, box 828 and one annex amount.
    void storeRegistered(const QString &period)
    {
        qz::test::StoredDeclaration d(db(), kRuc, period);
        d.header({{"bcolibrad", "02"}, {"nrocheque", "1"}, {"cheque", "1"}});
        d.box("101", "1000");
        d.box("146", "-20");
        d.box("828", "1");
        d.box("546", "5");
    }

    // Writes the report of a selection into RPT and returns its lines.
    QStringList write(const qz::DeclarationSelection &s, qz::DeclarationReportResult *result)
    {
        const QString path = inst_.dir() + "/RPT/00000001.PRN";
        qz::ReportWriter writer;
        EXPECT_TRUE(writer.create(path));
        *result = qz::pGeneraDeclaracion(db(), writer, s, messages_);
        EXPECT_FALSE(writer.isOpen());
        QStringList lines;
        EXPECT_TRUE(qz::readHostLines(path, &lines));
        return lines;
    }

    qz::test::ModuleInstall inst_;
    qz::test::ScriptedMessenger messages_;
};

// ---------------------------------------------------------------------------------------
// Read back with the report reader: pages agree with the breaks, awkward texts stay whole.

TEST_F(DeclarationReportFileTest, ReadsBackWithPagesAgreeingAndAwkwardTextsWhole)
{
    // A RUC with a quote (the statements quote it), a name and a stored value holding "|",
    // CR LF and a tag.
    const QString ruc = "2010'007970";
    const QString awkward = "A|B\r\nC<!font!>Arial<!/font!>D<!np!>";
    qz::test::StoredDeclaration d(db(), ruc, "2006");
    d.header({{"efectivo", "1"}});
    d.box("101", "5000");
    d.box("817", awkward);
    d.box("556", "75");

    qz::DeclarationSelection s;
    s.ruc = ruc;
    s.name = awkward;
    s.period = "2006";
    s.annex = true;
    const QString path = inst_.dir() + "/RPT/00000002.PRN";
    qz::ReportWriter writer;
    ASSERT_TRUE(writer.create(path));
    const qz::DeclarationReportResult result = qz::pGeneraDeclaracion(db(), writer, s, messages_);
    ASSERT_FALSE(result.failed()) << result.description.toStdString();

    const qz::ReportFile file = qz::readReportFile(path);
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.font, "Courier New"); // the tag inside a text is no tag
    ASSERT_TRUE(file.pageCount.has_value());
    EXPECT_EQ(*file.pageCount, 3);
    EXPECT_EQ(file.orientation, "V");
    ASSERT_TRUE(file.color.has_value());
    EXPECT_EQ(*file.color, 0x00FFFFC0u);

    int breaks = 0;
    int drawings = 0;
    const QString shown = QString("A") + QChar(0x00A6) + "B  C<!font!>Arial<!/font!>D<!np!>";
    bool nameSeen = false;
    bool surnameSeen = false;
    for (const qz::ReportCommand &cmd : file.commands) {
        if (cmd.kind == qz::ReportCommand::Kind::PageBreak) {
            ++breaks;
        } else if (cmd.isDrawing()) {
            ++drawings;
            EXPECT_EQ(cmd.page, breaks) << "line " << cmd.line;
            if (cmd.kind == qz::ReportCommand::Kind::Text && cmd.x == 3500 && cmd.y == 1450) {
                EXPECT_EQ(cmd.text, shown);
                EXPECT_TRUE(cmd.bold);
                nameSeen = true;
            }
            if (cmd.kind == qz::ReportCommand::Kind::Text && cmd.x == 8950 && cmd.page == 1 &&
                cmd.text.trimmed() == shown) {
                surnameSeen = true;
            }
            if (cmd.kind == qz::ReportCommand::Kind::Text && cmd.x == 9000 && cmd.y == 620 &&
                cmd.page == 1) {
                EXPECT_EQ(cmd.text, "           5,000"); // the row found under the quoted RUC
            }
        }
    }
    EXPECT_EQ(breaks, 2);
    EXPECT_TRUE(nameSeen);
    EXPECT_TRUE(surnameSeen);

    // The file is Windows-1252: one byte for "¿", "°" and the broken bar, no UTF-8.
    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_TRUE(bytes.contains("|\xBF"));
    EXPECT_TRUE(bytes.contains("N\xB0 DE TELEFONO"));
    EXPECT_TRUE(bytes.contains("A\xA6"
                               "B  C<!font!>"));
    EXPECT_FALSE(bytes.contains("\xC2"));
    EXPECT_FALSE(bytes.contains("\xC3"));

    // One line per command: the awkward texts broke no line.
    QStringList lines;
    ASSERT_TRUE(qz::readHostLines(path, &lines));
    EXPECT_EQ(lines.size(), static_cast<qsizetype>(file.commands.size()));
    EXPECT_EQ(drawings + breaks + 4, lines.size());
}

// ---------------------------------------------------------------------------------------
// The statements, as the system writes them, with every value quoted.

TEST(DeclarationReportStatements, AreTheHostsTexts)
{
    qz::DeclarationSelection s;
    s.ruc = "20100079705 ";
    s.period = "2005";
    EXPECT_EQ(qz::detailStatement(s),
              "SELECT * FROM DET WHERE DOC_ID_D='20100079705 ' AND TIP_DOC_D=6 AND "
              "PERIODO='2005' AND FORMULARIO='0731' ORDER BY Casilla");
    EXPECT_EQ(qz::paymentStatement(s),
              "select * from CAB where DOC_ID_D ='20100079705 ' and TIP_DOC_D=6 and "
              "PERIODO ='2005' and FORMULARIO = '0731'");
    EXPECT_EQ(qz::annexStatement(s),
              "SELECT * FROM DET WHERE DOC_ID_D='20100079705' AND TIP_DOC_D=6 AND "
              "PERIODO='2005' AND FORMULARIO='0731' AND VAL(CASILLA) >= 546 AND "
              "VAL(CASILLA) <= 556");
    s.sent = true;
    s.correl = "000007";
    EXPECT_EQ(qz::sentHeaderStatement(s),
              "Select * from HCAB where DOC_ID_D ='20100079705 ' and TIP_DOC_D=6 and "
              "PERIODO ='2005' and FORMULARIO = '0731' AND CORREL ='000007' ");
    EXPECT_EQ(qz::detailStatement(s),
              "SELECT * FROM HDET WHERE DOC_ID_D='20100079705 ' AND TIP_DOC_D=6 AND "
              "PERIODO='2005' AND FORMULARIO='0731' AND CORREL='000007' ORDER BY Casilla");
    EXPECT_EQ(qz::paymentStatement(s),
              "select * from HCAB where DOC_ID_D ='20100079705 ' and TIP_DOC_D=6 and "
              "PERIODO ='2005' and FORMULARIO = '0731' AND CORREL ='000007' ");
    EXPECT_EQ(qz::annexStatement(s),
              "SELECT * FROM HDET WHERE DOC_ID_D='20100079705' AND TIP_DOC_D=6 AND "
              "PERIODO='2005' AND FORMULARIO='0731' AND CORREL='000007' AND "
              "VAL(CASILLA) >= 546 AND VAL(CASILLA) <= 556");
    EXPECT_EQ(qz::box828Statement("2"),
              "SELECT MID(ARGUMENTO,1,1) as codigo, mid(FUNCION,1,78) as descrip FROM PARAM "
              "WHERE NUMERO='955' AND TRIM(ARGUMENTO)= '2'");
    EXPECT_EQ(qz::bankStatement("02"), "SELECT * FROM PARAM WHERE Numero='004' AND Argumento='02'");

    // Quotes in values are doubled.
    s.ruc = "O'HARA";
    s.correl = "1'";
    EXPECT_EQ(qz::detailStatement(s),
              "SELECT * FROM HDET WHERE DOC_ID_D='O''HARA' AND TIP_DOC_D=6 AND "
              "PERIODO='2005' AND FORMULARIO='0731' AND CORREL='1''' ORDER BY Casilla");
    EXPECT_EQ(qz::bankStatement("0'"),
              "SELECT * FROM PARAM WHERE Numero='004' AND Argumento='0'''");
}

// ---------------------------------------------------------------------------------------
// Failures.

TEST(DeclarationReportMessages, PrinterErrorsGetTheirPrefix)
{
    EXPECT_EQ(qz::declarationErrorMessage(482, "sin impresora"), "Error - sin impresora");
    EXPECT_EQ(qz::declarationErrorMessage(484, "impresora"), "Error - impresora");
    EXPECT_EQ(qz::declarationErrorMessage(483, "otro"), "otro");
    EXPECT_EQ(qz::declarationErrorMessage(3078, "no such table: DET"), "no such table: DET");
    EXPECT_EQ(qz::declarationReportTitle(false), "Imprimir Declaraciones");
    EXPECT_EQ(qz::declarationReportTitle(true), "Imprimir Declaraciones Enviadas");
}

TEST_F(DeclarationReportFileTest, MissingTableStopsTheBodyButTheTagsAreWritten)
{
    db().execute("DROP TABLE HDET");
    qz::DeclarationReportResult result;
    const QStringList lines = write(selection("2005", true, true), &result);
    EXPECT_TRUE(result.failed());
    EXPECT_EQ(result.errorNumber, 3078);
    EXPECT_EQ(result.pages, 3);
    EXPECT_EQ(lines,
              QStringList({"<!font!>Courier New<!/font!>", "<!nHojas!>3<!/nHojas!>",
                           "<!Orientacion!>V<!/Orientacion!>", "<!Color!>&H00FFFFC0&<!/Color!>"}));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, qz::MessageIcon::Critical);
    EXPECT_EQ(messages_.shown[0].title, "Imprimir Declaraciones Enviadas");
    EXPECT_EQ(messages_.shown[0].text, result.description); // the description alone
    EXPECT_FALSE(result.description.isEmpty());
}

TEST_F(DeclarationReportFileTest, MissingParamTableStopsTheBodyOfARegisteredDeclaration)
{
    // The detail is read, then the lookup of box 828's description fails: the whole
    // declaration is loaded before page 1, so no page line is written.
    storeRegistered("2006");
    db().execute("DROP TABLE PARAM");
    qz::DeclarationReportResult result;
    const QStringList lines = write(selection("2006", false, false), &result);
    EXPECT_EQ(result.errorNumber, 3078);
    EXPECT_EQ(lines, kTagsOnly2);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].title, "Imprimir Declaraciones");
}

TEST_F(DeclarationReportFileTest, WriteErrorIsReportedAndTheFileClosed)
{
    if (!QFile::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    storeRegistered("2005");
    qz::ReportWriter writer;
    ASSERT_TRUE(writer.create("/dev/full"));
    const qz::DeclarationReportResult result =
        qz::pGeneraDeclaracion(db(), writer, selection("2005", false, true), messages_);
    EXPECT_FALSE(writer.isOpen());
    EXPECT_TRUE(result.failed());
    EXPECT_EQ(result.errorNumber, qz::kDeclarationWriteError);
    EXPECT_EQ(result.pages, 3);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, qz::MessageIcon::Critical);
    EXPECT_EQ(messages_.shown[0].text, result.description);
}

TEST_F(DeclarationReportFileTest, ClosedWriterWritesNothingAndShowsNothing)
{
    qz::ReportWriter writer; // never created
    qz::DeclarationSelection s;
    s.ruc = kRuc;
    s.period = "2005";
    const qz::DeclarationReportResult result = qz::pGeneraDeclaracion(db(), writer, s, messages_);
    EXPECT_TRUE(result.failed());
    EXPECT_EQ(result.pages, 2);
    EXPECT_TRUE(messages_.shown.empty());
}

// An empty declaration: every cell and label drawn, the values blank, no 828 description.
TEST_F(DeclarationReportFileTest, EmptyBoxesPrintBlankValues)
{
    qz::DeclarationSelection s;
    s.ruc = kRuc;
    s.name = kName;
    s.period = "2005";
    qz::DeclarationReportResult result;
    const QStringList lines = write(s, &result);
    EXPECT_FALSE(result.failed());
    EXPECT_TRUE(lines.contains("pPos|9000|620|                |False|8|1|"));
    EXPECT_TRUE(lines.contains("pPos|9000|3080|              NO|False|8|0|"));
    EXPECT_TRUE(lines.contains("pPos|300|4970||False|8|0|"));
    EXPECT_TRUE(lines.contains("pPos|6050|6290| X |False|8|1|")); // no header row: cash
    EXPECT_FALSE(lines.contains("pPos|300|5240|Fecha de la fusión o escisión|False|8|0|"));
}

} // namespace
