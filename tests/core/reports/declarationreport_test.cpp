// The printed declaration on fresh installations: the report file of a full
// declaration compared line by line with the lines the layout tables give, for registered and
// sent declarations, cash and cheque, with and without a reorganization (box 827 = "1"), the
// periods 2004, 2005 and 2006, a negative amount and with and without the annex; the file read
// back; the statements; the failures.
//
// The expected lines are built here from the layout tables (rows, positions, labels) and from
// the values as they print, written out as text; nothing is taken from the
// writer's code. The order of the commands inside a row is the writer's documented choice
// (declarationreportpages.h): the outer cell, the label, then each further cell and its text.
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

using qz::test::ScriptedMessenger;

const QString kRuc = QStringLiteral("20100079705");
const QString kName = QStringLiteral("COMERCIAL ANDINA S.A.");
const QString kCorrel = QStringLiteral("000007");

// ---------------------------------------------------------------------------------------
// The variations.

struct Case {
    const char *name;
    bool sent;
    bool cheque;
    bool reorganized; // box 827 = "1"
    const char *period;
    const char *previous; // the period minus one as the page prints it
    const char *label113; // box 113's label for that period
    bool negative;        // box 146 negative
    bool annex;
};

const Case kCases[] = {
    {"RegisteredCash2005", false, false, false, "2005", "2004", "Base imponible al 31/03/2005",
     false, false},
    {"RegisteredCheque2006Reorganized", false, true, true, "2006", "2005",
     "Base imponible al 31/12/2005", false, true},
    {"RegisteredCash2004ReorganizedNegative", false, false, true, "2004", "2003", "", true, false},
    {"SentCash2004NegativeAnnex", true, false, false, "2004", "2003", "", true, true},
    {"SentCheque2005ReorganizedAnnex", true, true, true, "2005", "2004",
     "Base imponible al 31/03/2005", false, true},
    {"SentCheque2006Negative", true, true, false, "2006", "2005", "Base imponible al 31/12/2005",
     true, false},
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

// The stored boxes of the full declaration (Casilla as three digits, I_valor as stored).
QList<std::pair<QString, QString>> storedBoxes(const Case &c)
{
    // clang-format off
    QList<std::pair<QString, QString>> b = {
        {"005", "1"},    {"028", "014445566"}, {"101", "1234567"}, {"104", "2000"},
        {"105", "1250"}, {"108", "1235317"},   {"109", "1250000"}, {"110", "87.5"},
        {"111", "1093750"}, {"113", "1093750"}, {"114", "5469"},   {"115", ""},
        {"139", "5469"}, {"160", "1"},         {"161", "5469"},    {"142", "0"},
        {"143", "1000"}, {"145", "12"},        {"180", "4481"},    {"208", "10412345678"},
        {"209", "1"},    {"211", "12345"},     {"212", ""},        {"225", "01"},
        {"226", "07654321"}, {"814", "ANA"},   {"815", "QUISPE LLANOS DE LA TORRE"},
        {"817", "PEREZ GOMEZ"}, {"818", "JUAN CARLOS"}, {"825", "1"}, {"826", "0"},
        {"828", "2"},    {"829", ""},          {"520", "20050315"}, {"521", "2"},
        {"546", "100"},  {"547", "200"},       {"550", "-50"},     {"556", "1000"},
        {"901", "NOT A BOX OF THE TABLE"},
    };
    // clang-format on
    b << std::pair<QString, QString>("146", c.negative ? "-1500" : "4481")
      << std::pair<QString, QString>("827", c.reorganized ? "1" : "0");
    return b;
}

// ---------------------------------------------------------------------------------------
// Expected lines, from the layout tables.

QString n(int v)
{
    return QString::number(v);
}

// A value in its report field: right-justified to 16 (17 for a negative amount).
QString r16(const QString &s)
{
    return s.rightJustified(16, u' ');
}

struct Expected {
    QStringList lines;
    int page = 0;

    void pos(int x, int y, const QString &text, bool bold = false, int size = 8)
    {
        lines << "pPos|" + n(x) + "|" + n(y) + "|" + text + "|" + (bold ? "True" : "False") + "|" +
                     n(size) + "|" + n(page) + "|";
    }
    void cell(int x1, int y1, int x2, int y2)
    {
        lines << "pCuadro|" + n(x1) + "|" + n(y1) + "|" + n(x2) + "|" + n(y2) + "|" + n(page) + "|";
    }
    void newPage()
    {
        lines << "pNuevaHoja";
        ++page;
    }
    // A row of height h: the outer cell and the label at (300, T + 50).
    void row(int t, int h, const QString &label, bool bold = false, int size = 8)
    {
        cell(150, t, 11000, t + h);
        pos(300, t + 50, label, bold, size);
    }
    void title(int t, const QString &text) { row(t, 270, text, true, 9); }
    void question(int t, const QString &label, const QString &answer)
    {
        row(t, 270, label);
        cell(8500, t, 11000, t + 270);
        pos(9000, t + 50, r16(answer));
    }
    // A box row; value is the printed field (already justified).
    void boxRow(int t, const char *box, const QString &label, const QString &value,
                bool bold = false, int labelX = 300)
    {
        cell(150, t, 11000, t + 270);
        pos(labelX, t + 50, label, bold);
        cell(8500, t, 8900, t + 270);
        pos(8550, t + 50, box);
        cell(8900, t, 11000, t + 270);
        pos(9000, t + 50, value);
    }
    void valueOnly(int t, const QString &label, const QString &value)
    {
        row(t, 270, label);
        cell(8900, t, 11000, t + 270);
        pos(8950, t + 50, r16(value));
    }
};

void expectPage1(Expected &e, const Case &c)
{
    // The fixed header.
    e.pos(300, 350, "KORVA", true, 16);
    e.pos(300, 750, "DECLARACION");
    e.pos(550, 1100, "PAGO");
    e.pos(550, 1330, "731", true, 12);
    e.cell(150, 300, 1700, 1640);
    e.pos(3450, 400, "VEXILAR", true, 9);
    e.pos(4000, 850, QString("Ejercicio gravable ") + c.period, false, 7);
    e.cell(1700, 300, 8500, 1100);
    e.pos(1750, 1170, "RUC");
    e.pos(3500, 1170, kRuc, true);
    e.cell(1700, 1100, 3400, 1370);
    e.cell(3400, 1100, 8500, 1370);
    e.pos(1750, 1450, "RAZON SOCIAL");
    e.pos(3500, 1450, kName, true);
    e.cell(1700, 1370, 3400, 1640);
    e.cell(3400, 1370, 8500, 1640);
    e.pos(9000, 400, "Copia para el");
    e.pos(9000, 700, "Contribuyente", false, 9);
    e.cell(8500, 300, 11000, 1100);
    e.cell(8500, 1100, 11000, 1640);
    e.pos(8700, 1170, " N° DE TELEFONO");
    e.pos(9000, 1450, "014445566");
    e.cell(8500, 1100, 11000, 1370);
    if (c.sent) {
        e.pos(300, 2000, "Nro. Control:");
        e.pos(1600, 2000, "    987654");
        e.cell(150, 1950, 2800, 2220);
        e.pos(8700, 2000, "Nro. Orden:");
        e.pos(9800, 2000, "    123456");
        e.cell(8500, 1950, 11000, 2220);
    }
    e.cell(150, 2490, 8500, 3030);
    e.pos(2600, 2540, "IDENTIFICACION");
    e.cell(8500, 2490, 11000, 3030);
    e.question(3030,
               "¿Esta usted obligado a efectuar ajuste por inflación de acuerdo a DL Nro. 797?",
               "SI");
    e.question(3300, "¿Usted ha presentado el Anexo aprobado con el reglamento del OKRE?", "NO");
    e.question(3570, "¿Ha participado en un proceso de reorganización de sociedades?",
               c.reorganized ? "SI" : "NO");
    e.row(3840, 540,
          "¿Es una cooperativa y goza de inafectación o exoneración parciales del Imp. a");
    e.pos(300, 4160,
          "la Renta relativas a rentas obtenidas por operaciones propias de su actividad?");
    e.cell(8500, 3840, 11000, 4380);
    e.pos(9000, 3890, r16("NO"));
    e.question(4380, "La presente declaración rectifica o sustituye a otra", "SI");
    e.row(4920, 270, "EMPRESA CONSTITUIDA POR EFECTO DE LA FUSION");
    e.cell(8500, 4920, 11000, 5190);
    if (c.reorganized) {
        e.question(5190, "Fecha de la fusión o escisión", "15/03/2005");
        e.question(5460, "Cantidad de empresas estinguidas por fusión o escisión", "2");
    }
}

void expectPage2(Expected &e, const Case &c)
{
    const QString prev = c.previous;
    const QString period = c.period;
    e.title(300, "DETERMINACION DE LA BASE IMPONIBLE");
    e.boxRow(570, "101", "Base imponible al 31/12/" + prev, "       1,234,567");
    e.boxRow(840, "104", "Adiciones", "           2,000");
    e.boxRow(1110, "105", "Deducciones", "           1,250");
    e.boxRow(1380, "108", "Total base imponible al 31/12/" + prev, "       1,235,317");
    e.boxRow(1650, "109", "Base imponible actualizada al 31/03/" + period, "       1,250,000");
    e.boxRow(1920, "110", "Porcentaje de ingresos afectos al Impuesto a la Renta - Ley N° 29717",
             "           87.50");
    e.boxRow(2190, "111", "Base Imponible al 31/12/" + period + "- Ley N° 29717",
             "       1,093,750");
    e.title(2730, "DEUDA TRIBUTARIA");
    e.boxRow(3000, "113", c.label113, "       1,093,750");
    e.boxRow(3270, "114", "OKRE (segun escala)", "           5,469");
    e.boxRow(3540, "115", "OKRE de empresas absorbidas o escindidas", "                ");
    e.boxRow(3810, "139", "OKRE a pagar", "           5,469");
    e.boxRow(4080, "160", "Modalidad de pago (1: Contado   2: fraccionado en 9 cuotas)",
             "               1");
    e.boxRow(4350, "161", "Pago al contado o monto de la 1ra. cuota", "           5,469");
    e.boxRow(4620, "142", "Compensación del saldo a favor del exportador", "               0");
    e.boxRow(4890, "143", "Crédito por pago a cuenta del Impuesto a la Renta pagado",
             "           1,000");
    e.boxRow(5160, "144", "Pagos previos", "                ");
    e.boxRow(5430, "145", "Interés moratorio", "              12");
    // A negative amount: 17 characters, the last digit in the column of the others.
    e.boxRow(5700, "146", "Saldo definitivo a pagar ",
             c.negative ? "          (1,500)" : "           4,481");
    e.boxRow(5970, "180", "IMPORTE A PAGAR", "           4,481", true, 3300);

    e.cell(150, 6240, 6000, 6510);
    e.pos(300, 6290, "Forma de Pago");
    e.cell(6000, 6240, 6400, 6510);
    if (!c.cheque) {
        e.pos(6050, 6290, " X ");
    }
    e.cell(6400, 6240, 8500, 6510);
    e.pos(6500, 6290, "EFECTIVO");
    e.cell(8500, 6240, 8900, 6510);
    if (c.cheque) {
        e.pos(8550, 6290, " X ");
    }
    e.cell(8900, 6240, 11000, 6510);
    e.pos(9000, 6290, "CHEQUE");
    if (c.cheque) {
        e.cell(150, 6510, 6000, 6780);
        e.pos(300, 6560, "Número de Cheque");
        e.cell(8500, 6510, 8900, 6780);
        e.pos(8550, 6560, "012");
        e.cell(8900, 6510, 11000, 6780);
        e.pos(9000, 6560, "        00012345");
        e.cell(150, 6780, 6000, 7050);
        e.pos(300, 6830, "Banco");
        e.cell(6000, 6780, 6400, 7050);
        e.pos(6050, 6830, "015");
        e.cell(6400, 6780, 8500, 7050);
        e.pos(6500, 6830, "              02");
        e.cell(8500, 6780, 11000, 7050);
        e.pos(9000, 6830, "    CREDITO NOR.");
    }

    // The complementary data: 540 higher for cash than for a cheque.
    int t = c.cheque ? 7320 : 6780;
    e.title(t, "INFORMACION COMPLEMENTARIA");
    e.row(t += 270, 270, "Datos del Representante Legal", true);
    e.boxRow(t += 270, "225", "Tipo de Documento", r16("01"));
    e.boxRow(t += 270, "226", "Número de Documento", r16("07654321"));
    e.valueOnly(t += 270, "Apellidos", "PEREZ GOMEZ");
    e.valueOnly(t += 270, "Nombres", "JUAN CARLOS");
    e.row(t += 540, 270, "Datos del Contador");
    e.valueOnly(t += 270, "Apellidos", "QUISPE LLANOS DE LA TORRE"); // longer than 16: whole
    e.valueOnly(t += 270, "Nombres", "ANA");
    e.boxRow(t += 270, "209", "Código de zona de la colegiatura o registro", r16("01"));
    e.boxRow(t += 270, "208", "RUC", r16("10412345678"));
    e.boxRow(t += 270, "211", "C. P. C.  Nro.", r16("12345"));
    e.boxRow(t += 270, "212", "C. M. A.  Nro.", r16(""));
}

// Page 3: the table of deduction types, with the amounts as printed.
struct Deduction {
    QStringList lines;
    const char *amount;
};

void expectPage3(Expected &e)
{
    const QList<Deduction> rows = {
        {{"Acciones, participaciones o derechos de capital de otras empresas",
          "sujetas al OKRE excepto las exoneradas.", "Inciso a) del artículo 5° de la Ley 28424 "},
         "100"},
        {{"Maquinarias y equipos que no tengan una antigüedad superior a los tres (3) años.",
          "Inciso b) del artículo 5° de la Ley 28424"},
         "200"},
        {{"Encaje exigible y provisiones especificas por riesgo crediticio",
          "establecido por la SBS.", "Inciso c) del artículo 5° de la Ley 28424"},
         "0"},
        {{"Cuentas de existencias y cuentas por cobrar producto de operaciones de",
          "exportación de empresas exportadoras.", "Inciso d) del artículo 5° de la Ley 28424"},
         "0"},
        {{"Las acciones así como los derechos y reajustes de dichas acciones",
          "de propiedad del Estado en la CAF.", "Inciso e) del artículo 5° de la Ley 28424"},
         "-50"},
        {{"Activos que respaldan reservas matemáticas sobre seguros de vida en el caso de",
          "las empresas de seguros a que se refiere la Ley 26702.",
          "Inciso f) del artículo 5° de la Ley 28424"},
         "0"},
        {{"Inmuebles, museos y colecciones privadas de objetos culturales calificados",
          "como patrimonio cultural por el INC.", "Inciso g) del artículo 5° de la Ley 28424"},
         "0"},
        {{"Los bienes entregados en concesión por el Estado que se encuentren afectados a",
          "la prestación de servicios públicos así como las construcciones efectuadas por",
          "los concesionarios sobre los mismos.", "Inciso h) del artículo 5° de la Ley 28424"},
         "0"},
        {{"Las acciones, participaciones o derechos de capital de empresas con Convenio",
          "que hubieran estabilizado las normas del Impuesto Mínimo a la Renta, excepto",
          "las exoneradas de este impuesto.", "Inciso i) del artículo 5° de la Ley 28424"},
         "0"},
        {{"Mayor valor determinado por la reevaluación voluntaria de activos",
          "efectuada bajo el régimen de los establecido en el Inciso 2) del",
          "artículo 104° de la Ley de renta.", "Inciso j) del artículo 5° de la Ley 28424"},
         "0"},
        {{"Otros"}, "1,000"},
    };
    e.title(300, "ASISTENTE DE LA CASILLA 105");
    e.cell(150, 570, 11000, 840);
    e.pos(3500, 620, "Tipo de Deducción", true);
    e.cell(8900, 570, 11000, 840);
    e.pos(9400, 620, "    Monto", true);
    int t = 840;
    for (const Deduction &d : rows) {
        const int h = 270 * static_cast<int>(d.lines.size());
        e.cell(150, t, 11000, t + h);
        for (int i = 0; i < d.lines.size(); ++i) {
            e.pos(300, t + 50 + 270 * i, d.lines[i]);
        }
        e.cell(8900, t, 11000, t + h);
        e.pos(9000, t + 50, r16(d.amount));
        t += h;
    }
    EXPECT_EQ(t, 9750); // the rows of the annex: 3+2+3+3+3+3+3+4+4+4+1 lines after 840
    e.row(t, 540, "TOTAL DEDUCCIONES");
    e.cell(8900, t, 11000, t + 540);
    e.pos(9000, t + 50, r16("1,250"));
}

QStringList expectedFile(const Case &c)
{
    Expected e;
    e.lines << "<!font!>Courier New<!/font!>";
    expectPage1(e, c);
    e.newPage();
    expectPage2(e, c);
    if (c.annex) {
        e.newPage();
        expectPage3(e);
    }
    e.lines << (c.annex ? "<!nHojas!>3<!/nHojas!>" : "<!nHojas!>2<!/nHojas!>")
            << "<!Orientacion!>V<!/Orientacion!>"
            << "<!Color!>&H00FFFFC0&<!/Color!>";
    return e.lines;
}

// ---------------------------------------------------------------------------------------
// Fixture.

class DeclarationReportTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString(); }

    qz::Database &db() { return inst_.db(); }

    void detRow(bool history, const QString &ruc, const QString &period, const QString &correl,
                const QString &box, const QString &value)
    {
        if (!history) {
            qz::test::StoredDeclaration(db(), ruc, period).box(box, value);
            return;
        }
        db().execute("INSERT INTO HDET (tip_doc_d, doc_id_d, periodo, formulario, semana, CORREL, "
                     "Casilla, i_valor, idcasilla, estado, cNumero) VALUES (6, " +
                     qz::sqlQuoted(ruc) + ", " + qz::sqlQuoted(period) + ", '0731', 0, " +
                     qz::sqlQuoted(correl) + ", " + qz::sqlQuoted(box) + ", " +
                     qz::sqlQuoted(value) + ", '', 0, '000000')");
    }
    void headerRow(bool history, const QString &ruc, const QString &period, const QString &correl,
                   bool cheque, int norden = 0)
    {
        const QString bank = cheque ? "02" : "";
        const QString number = cheque ? "00012345" : "";
        if (!history) {
            qz::test::StoredDeclaration(db(), ruc, period)
                .header({{"bcolibrad", bank},
                         {"nrocheque", number},
                         {"cheque", cheque ? "1" : ""},
                         {"efectivo", cheque ? "" : "1"}});
            return;
        }
        db().execute("INSERT INTO HCAB (tip_doc_d, doc_id_d, periodo, formulario, semana, CORREL, "
                     "bcolibrad, nrocheque, cheque, efectivo, estado, rectifica, NORDEN, "
                     "FEC_ENV, CONTROL, cNumero) VALUES (6, " +
                     qz::sqlQuoted(ruc) + ", " + qz::sqlQuoted(period) + ", '0731', 0, " +
                     qz::sqlQuoted(correl) + ", " + qz::sqlQuoted(bank) + ", " +
                     qz::sqlQuoted(number) + ", " + qz::sqlQuoted(cheque ? "1" : "") + ", " +
                     qz::sqlQuoted(cheque ? "" : "1") + ", 0, '1', " + n(norden) +
                     ", '2006-04-01 10:00:00', '987654', '000000')");
    }

    // The declaration of a case in its tables, and decoys that would show if the writer read
    // the other tables or another sending: box 101 and the payment differ there.
    void store(const Case &c)
    {
        for (const auto &[box, value] : storedBoxes(c)) {
            detRow(c.sent, kRuc, c.period, kCorrel, box, value);
        }
        headerRow(c.sent, kRuc, c.period, kCorrel, c.cheque, 123456);
        detRow(!c.sent, kRuc, c.period, "000006", "101", "777");
        headerRow(!c.sent, kRuc, c.period, "000006", !c.cheque, 999);
        if (c.sent) {
            detRow(true, kRuc, c.period, "000006", "101", "777");
            headerRow(true, kRuc, c.period, "000006", !c.cheque, 999);
        }
    }

    static qz::DeclarationSelection selection(const Case &c)
    {
        qz::DeclarationSelection s;
        s.ruc = kRuc;
        s.name = kName;
        s.period = c.period;
        s.sent = c.sent;
        s.correl = c.sent ? kCorrel : QString();
        s.controlNumber = c.sent ? QString("987654") : QString();
        s.annex = c.annex;
        return s;
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
    ScriptedMessenger messages_;
};

// ---------------------------------------------------------------------------------------
// The full declaration, case by case.

class DeclarationReportCases : public DeclarationReportTest,
                               public ::testing::WithParamInterface<Case> {};

TEST_P(DeclarationReportCases, WritesTheLayoutLinesInOrder)
{
    const Case &c = GetParam();
    store(c);
    qz::DeclarationReportResult result;
    const QStringList lines = write(selection(c), &result);
    EXPECT_FALSE(result.failed()) << result.description.toStdString();
    EXPECT_EQ(result.pages, c.annex ? 3 : 2);
    EXPECT_TRUE(messages_.shown.empty());

    const QStringList expected = expectedFile(c);
    for (int i = 0; i < std::max(lines.size(), expected.size()); ++i) {
        const QString got = i < lines.size() ? lines[i] : "<missing>";
        const QString want = i < expected.size() ? expected[i] : "<none>";
        ASSERT_EQ(got.toStdString(), want.toStdString()) << "line " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, DeclarationReportCases, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case> &param) {
                             return std::string(param.param.name);
                         });

// ---------------------------------------------------------------------------------------
// A few lines written out whole, as a cross-check of the builder above.

TEST_F(DeclarationReportTest, LiteralLinesOfANegativeAmountAndTheAnswers)
{
    const Case c = kCases[3]; // sent, cash, 2004, negative, annex
    store(c);
    qz::DeclarationReportResult result;
    const QStringList lines = write(selection(c), &result);
    EXPECT_TRUE(lines.contains("pPos|9000|5750|          (1,500)|False|8|1|"));
    EXPECT_TRUE(lines.contains("pPos|9000|6020|           4,481|False|8|1|"));
    EXPECT_TRUE(lines.contains("pPos|3300|6020|IMPORTE A PAGAR|True|8|1|"));
    EXPECT_TRUE(lines.contains("pPos|300|3050||False|8|1|")); // box 113 of 2004: no label
    EXPECT_TRUE(lines.contains("pPos|9000|3080|              SI|False|8|0|"));
    EXPECT_TRUE(lines.contains("pPos|1600|2000|    987654|False|8|0|"));
    EXPECT_TRUE(lines.contains("pPos|300|620|Base imponible al 31/12/2003|False|8|1|"));
    EXPECT_TRUE(lines.contains("pPos|6050|6290| X |False|8|1|"));
    EXPECT_TRUE(lines.contains("pCuadro|150|6780|11000|7050|1|")); // complementary title
    EXPECT_TRUE(lines.contains("pPos|300|9800|TOTAL DEDUCCIONES|False|8|2|"));
    EXPECT_TRUE(lines.contains("pPos|9000|9800|           1,250|False|8|2|"));
    EXPECT_EQ(lines.filter("pNuevaHoja").size(), 2);
}

} // namespace
