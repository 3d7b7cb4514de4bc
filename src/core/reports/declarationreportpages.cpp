// The page layouts of the printed declaration (the layout tables, in their order).
#include "core/reports/declarationreportpages.h"

#include "core/components/textutility.h"
#include "core/data/format.h"
#include "core/reports/declarationreport.h"
#include "core/reports/declarationreportdata.h"
#include "core/reports/reportwriter.h"

namespace qz {

namespace {

constexpr int kRowHeight = 270;
constexpr int kLeft = 150;
constexpr int kRight = 11000;
constexpr int kLabelX = 300;
constexpr int kTextDy = 50; // text below the top of its row
constexpr int kValueWidth = 16;

const char *const kAmountPattern = "###,###,###,##0;(###,###,###,##0)";
const char *const kPercentPattern = "##0.00;(##0.00)";
const char *const kModalityPattern = "#";
const char *const kZonePattern = "0#";
const char *const kAnnexPattern = "###,###,###,##0";

// A value in its report field. A negative amount (shown in parentheses) gets one more
// column, so that its last digit lines up with those of the positive amounts.
QString field(const QString &text, int width = kValueWidth)
{
    return TextUtility().reportField(text, width);
}

QString signedField(const QString &text, const char *pattern)
{
    const QString shown = formatText(text, QString::fromLatin1(pattern));
    return field(shown, shown.endsWith(u')') ? kValueWidth + 1 : kValueWidth);
}

// Kinds of box values (the value formats).
enum class Kind { Amount, Percentage, Modality, Zone, Text };

QString boxValue(const DeclarationData &d, int box, Kind kind)
{
    const QString v = d.box(box);
    switch (kind) {
    case Kind::Amount:
        return signedField(v, kAmountPattern);
    case Kind::Percentage:
        return signedField(v, kPercentPattern);
    case Kind::Modality:
        return field(formatText(v, QString::fromLatin1(kModalityPattern)));
    case Kind::Zone:
        return field(formatText(v, QString::fromLatin1(kZonePattern)));
    case Kind::Text:
        break;
    }
    return field(v);
}

QString annexField(Currency amount)
{
    return field(formatCurrency(amount, QString::fromLatin1(kAnnexPattern)));
}

// The writer of one page: every command carries the page's index, and a failed write stops
// the page at once.
class Page final {
public:
    Page(ReportWriter &writer, int page) : writer_(writer), page_(page) {}

    void text(int x, int y, const QString &text, bool bold = false, int size = 8)
    {
        writer_.pLineaPos(x, y, text, bold, size, page_);
        check();
    }
    void cell(int x1, int y1, int x2, int y2)
    {
        writer_.pLineaCuadro(x1, y1, x2, y2, page_);
        check();
    }

    // A row's outer cell and its label.
    void labelRow(int top, int height, const QString &label, bool bold = false, int size = 8,
                  int labelX = kLabelX)
    {
        cell(kLeft, top, kRight, top + height);
        text(labelX, top + kTextDy, label, bold, size);
    }
    void titleRow(int top, const QString &title) { labelRow(top, kRowHeight, title, true, 9); }
    void boxRow(int top, int box, const QString &label, const QString &value, bool bold = false,
                int labelX = kLabelX)
    {
        labelRow(top, kRowHeight, label, bold, 8, labelX);
        cell(8500, top, 8900, top + kRowHeight);
        text(8550, top + kTextDy, QString::number(box));
        cell(8900, top, kRight, top + kRowHeight);
        text(9000, top + kTextDy, value);
    }
    // The answer cell of a question row (its label is written before).
    void answer(int top, int height, const QString &value)
    {
        cell(8500, top, kRight, top + height);
        text(9000, top + kTextDy, value);
    }
    void questionRow(int top, const QString &label, const QString &value)
    {
        labelRow(top, kRowHeight, label);
        answer(top, kRowHeight, value);
    }
    // A name of the complementary data: no box-number cell, the value at x 8950.
    void valueOnlyRow(int top, const QString &label, const QString &value)
    {
        labelRow(top, kRowHeight, label);
        cell(8900, top, kRight, top + kRowHeight);
        text(8950, top + kTextDy, value);
    }

private:
    void check()
    {
        if (writer_.failed()) {
            throw DeclarationWriteError{writer_.error()};
        }
    }

    ReportWriter &writer_;
    int page_;
};

QString periodMinusOne(const QString &period)
{
    return QString::number(static_cast<long long>(val(period)) - 1);
}

// The label of box 113 compares the period as text.
QString box113Label(const QString &period)
{
    if (period == QLatin1String("2005")) {
        return QStringLiteral("Base imponible al 31/03/2005");
    }
    if (period >= QLatin1String("2006")) {
        return QStringLiteral("Base imponible al 31/12/") + periodMinusOne(period);
    }
    return {};
}

} // namespace

void writeIdentificationPage(ReportWriter &writer, const DeclarationSelection &s,
                             const DeclarationData &d, int page)
{
    Page p(writer, page);
    // The fixed header.
    p.text(300, 350, QStringLiteral("KORVA"), true, 16);
    p.text(300, 750, QStringLiteral("DECLARACION"));
    p.text(550, 1100, QStringLiteral("PAGO"));
    p.text(550, 1330, QStringLiteral("731"), true, 12);
    p.cell(150, 300, 1700, 1640);
    p.text(3450, 400, QStringLiteral("VEXILAR"), true, 9);
    p.text(4000, 850, QStringLiteral("Ejercicio gravable ") + s.period, false, 7);
    p.cell(1700, 300, 8500, 1100);
    p.text(1750, 1170, QStringLiteral("RUC"));
    p.text(3500, 1170, s.ruc, true);
    p.cell(1700, 1100, 3400, 1370);
    p.cell(3400, 1100, 8500, 1370);
    p.text(1750, 1450, QStringLiteral("RAZON SOCIAL"));
    p.text(3500, 1450, s.name, true);
    p.cell(1700, 1370, 3400, 1640);
    p.cell(3400, 1370, 8500, 1640);
    p.text(9000, 400, QStringLiteral("Copia para el"));
    p.text(9000, 700, QStringLiteral("Contribuyente"), false, 9);
    p.cell(8500, 300, 11000, 1100);
    p.cell(8500, 1100, 11000, 1640);
    p.text(8700, 1170, QStringLiteral(" N° DE TELEFONO"));
    p.text(9000, 1450, d.box(28));
    p.cell(8500, 1100, 11000, 1370);

    // Sent declarations only; a registered one keeps the rows below at the same places.
    if (s.sent) {
        p.text(300, 2000, QStringLiteral("Nro. Control:"));
        p.text(1600, 2000, field(s.controlNumber, 10));
        p.cell(150, 1950, 2800, 2220);
        p.text(8700, 2000, QStringLiteral("Nro. Orden:"));
        p.text(9800, 2000, field(d.orderNumber, 10));
        p.cell(8500, 1950, 11000, 2220);
    }

    p.cell(150, 2490, 8500, 3030);
    p.text(2600, 2540, QStringLiteral("IDENTIFICACION"));
    p.cell(8500, 2490, 11000, 3030);

    p.questionRow(3030,
                  QStringLiteral("¿Esta usted obligado a efectuar ajuste por inflación de acuerdo "
                                 "a DL Nro. 797?"),
                  field(d.boxAnswer(825)));
    p.questionRow(3300,
                  QStringLiteral("¿Usted ha presentado el Anexo aprobado con el reglamento del "
                                 "OKRE?"),
                  field(d.boxAnswer(826)));
    p.questionRow(3570,
                  QStringLiteral("¿Ha participado en un proceso de reorganización de sociedades?"),
                  field(d.boxAnswer(827)));
    p.labelRow(3840, 2 * kRowHeight,
               QStringLiteral("¿Es una cooperativa y goza de inafectación o exoneración "
                              "parciales del Imp. a"));
    p.text(kLabelX, 3840 + 320,
           QStringLiteral("la Renta relativas a rentas obtenidas por operaciones propias de su "
                          "actividad?"));
    p.answer(3840, 2 * kRowHeight, field(d.boxAnswer(829)));
    p.questionRow(4380, QStringLiteral("La presente declaración rectifica o sustituye a otra"),
                  field(d.boxAnswer(5)));

    // The description of box 828: a label, and an empty answer cell.
    p.labelRow(4920, kRowHeight, d.description828);
    p.cell(8500, 4920, kRight, 4920 + kRowHeight);

    if (d.box(827) == QLatin1String("1")) {
        p.questionRow(5190, QStringLiteral("Fecha de la fusión o escisión"), field(d.mergerDate()));
        p.questionRow(5460,
                      QStringLiteral("Cantidad de empresas estinguidas por fusión o escisión"),
                      field(d.box(521)));
    }
}

void writeDeterminationPage(ReportWriter &writer, const DeclarationSelection &s,
                            const DeclarationData &d, int page)
{
    Page p(writer, page);
    const QString before = periodMinusOne(s.period);
    auto amount = [&](int box) { return boxValue(d, box, Kind::Amount); };

    p.titleRow(300, QStringLiteral("DETERMINACION DE LA BASE IMPONIBLE"));
    p.boxRow(570, 101, QStringLiteral("Base imponible al 31/12/") + before, amount(101));
    p.boxRow(840, 104, QStringLiteral("Adiciones"), amount(104));
    p.boxRow(1110, 105, QStringLiteral("Deducciones"), amount(105));
    p.boxRow(1380, 108, QStringLiteral("Total base imponible al 31/12/") + before, amount(108));
    p.boxRow(1650, 109, QStringLiteral("Base imponible actualizada al 31/03/") + s.period,
             amount(109));
    p.boxRow(1920, 110,
             QStringLiteral("Porcentaje de ingresos afectos al Impuesto a la Renta - Ley N° 29717"),
             boxValue(d, 110, Kind::Percentage));
    p.boxRow(2190, 111,
             QStringLiteral("Base Imponible al 31/12/") + s.period +
                 QStringLiteral("- Ley N° 29717"),
             amount(111));

    p.titleRow(2730, QStringLiteral("DEUDA TRIBUTARIA"));
    p.boxRow(3000, 113, box113Label(s.period), amount(113));
    p.boxRow(3270, 114, QStringLiteral("OKRE (segun escala)"), amount(114));
    p.boxRow(3540, 115, QStringLiteral("OKRE de empresas absorbidas o escindidas"), amount(115));
    p.boxRow(3810, 139, QStringLiteral("OKRE a pagar"), amount(139));
    p.boxRow(4080, 160,
             QStringLiteral("Modalidad de pago (1: Contado   2: fraccionado en 9 cuotas)"),
             boxValue(d, 160, Kind::Modality));
    p.boxRow(4350, 161, QStringLiteral("Pago al contado o monto de la 1ra. cuota"), amount(161));
    p.boxRow(4620, 142, QStringLiteral("Compensación del saldo a favor del exportador"),
             amount(142));
    p.boxRow(4890, 143, QStringLiteral("Crédito por pago a cuenta del Impuesto a la Renta pagado"),
             amount(143));
    p.boxRow(5160, 144, QStringLiteral("Pagos previos"), amount(144));
    p.boxRow(5430, 145, QStringLiteral("Interés moratorio"), amount(145));
    p.boxRow(5700, 146, QStringLiteral("Saldo definitivo a pagar "), amount(146));
    p.boxRow(5970, 180, QStringLiteral("IMPORTE A PAGAR"), amount(180), true, 3300);

    // The form of payment: the cells replace the outer cell; " X " marks the kind.
    const int pay = 6240;
    const QString mark = QStringLiteral(" X ");
    p.cell(kLeft, pay, 6000, pay + kRowHeight);
    p.text(kLabelX, pay + kTextDy, QStringLiteral("Forma de Pago"));
    p.cell(6000, pay, 6400, pay + kRowHeight);
    if (!d.cheque) {
        p.text(6050, pay + kTextDy, mark);
    }
    p.cell(6400, pay, 8500, pay + kRowHeight);
    p.text(6500, pay + kTextDy, QStringLiteral("EFECTIVO"));
    p.cell(8500, pay, 8900, pay + kRowHeight);
    if (d.cheque) {
        p.text(8550, pay + kTextDy, mark);
    }
    p.cell(8900, pay, kRight, pay + kRowHeight);
    p.text(9000, pay + kTextDy, QStringLiteral("CHEQUE"));
    int last = pay;
    if (d.cheque) {
        const int number = 6510;
        p.cell(kLeft, number, 6000, number + kRowHeight);
        p.text(kLabelX, number + kTextDy, QStringLiteral("Número de Cheque"));
        p.cell(8500, number, 8900, number + kRowHeight);
        p.text(8550, number + kTextDy, QStringLiteral("012"));
        p.cell(8900, number, kRight, number + kRowHeight);
        p.text(9000, number + kTextDy, field(d.chequeNumber));
        const int bank = 6780;
        p.cell(kLeft, bank, 6000, bank + kRowHeight);
        p.text(kLabelX, bank + kTextDy, QStringLiteral("Banco"));
        p.cell(6000, bank, 6400, bank + kRowHeight);
        p.text(6050, bank + kTextDy, QStringLiteral("015"));
        p.cell(6400, bank, 8500, bank + kRowHeight);
        p.text(6500, bank + kTextDy, field(d.bankCode));
        p.cell(8500, bank, kRight, bank + kRowHeight);
        p.text(9000, bank + kTextDy, field(d.bankName));
        last = bank;
    }

    // The complementary data, after a gap below the last payment row.
    int t = last + 2 * kRowHeight;
    p.titleRow(t, QStringLiteral("INFORMACION COMPLEMENTARIA"));
    p.labelRow(t += kRowHeight, kRowHeight, QStringLiteral("Datos del Representante Legal"), true);
    p.boxRow(t += kRowHeight, 225, QStringLiteral("Tipo de Documento"),
             boxValue(d, 225, Kind::Text));
    p.boxRow(t += kRowHeight, 226, QStringLiteral("Número de Documento"),
             boxValue(d, 226, Kind::Text));
    p.valueOnlyRow(t += kRowHeight, QStringLiteral("Apellidos"), field(d.box(817)));
    p.valueOnlyRow(t += kRowHeight, QStringLiteral("Nombres"), field(d.box(818)));
    p.labelRow(t += 2 * kRowHeight, kRowHeight, QStringLiteral("Datos del Contador"));
    p.valueOnlyRow(t += kRowHeight, QStringLiteral("Apellidos"), field(d.box(815)));
    p.valueOnlyRow(t += kRowHeight, QStringLiteral("Nombres"), field(d.box(814)));
    p.boxRow(t += kRowHeight, 209, QStringLiteral("Código de zona de la colegiatura o registro"),
             boxValue(d, 209, Kind::Zone));
    p.boxRow(t += kRowHeight, 208, QStringLiteral("RUC"), boxValue(d, 208, Kind::Text));
    p.boxRow(t += kRowHeight, 211, QStringLiteral("C. P. C.  Nro."), boxValue(d, 211, Kind::Text));
    p.boxRow(t += kRowHeight, 212, QStringLiteral("C. M. A.  Nro."), boxValue(d, 212, Kind::Text));
}

namespace {

// The lines of each deduction type of the annex, boxes 546 to 556 in order.
struct DeductionType {
    int lines;
    const char *text[4];
};

const DeductionType kDeductionTypes[DeclarationData::kAnnexCount] = {
    {3,
     {"Acciones, participaciones o derechos de capital de otras empresas",
      "sujetas al OKRE excepto las exoneradas.", "Inciso a) del artículo 5° de la Ley 28424 "}},
    {2,
     {"Maquinarias y equipos que no tengan una antigüedad superior a los tres (3) años.",
      "Inciso b) del artículo 5° de la Ley 28424"}},
    {3,
     {"Encaje exigible y provisiones especificas por riesgo crediticio", "establecido por la SBS.",
      "Inciso c) del artículo 5° de la Ley 28424"}},
    {3,
     {"Cuentas de existencias y cuentas por cobrar producto de operaciones de",
      "exportación de empresas exportadoras.", "Inciso d) del artículo 5° de la Ley 28424"}},
    {3,
     {"Las acciones así como los derechos y reajustes de dichas acciones",
      "de propiedad del Estado en la CAF.", "Inciso e) del artículo 5° de la Ley 28424"}},
    {3,
     {"Activos que respaldan reservas matemáticas sobre seguros de vida en el caso de",
      "las empresas de seguros a que se refiere la Ley 26702.",
      "Inciso f) del artículo 5° de la Ley 28424"}},
    {3,
     {"Inmuebles, museos y colecciones privadas de objetos culturales calificados",
      "como patrimonio cultural por el INC.", "Inciso g) del artículo 5° de la Ley 28424"}},
    {4,
     {"Los bienes entregados en concesión por el Estado que se encuentren afectados a",
      "la prestación de servicios públicos así como las construcciones efectuadas por",
      "los concesionarios sobre los mismos.", "Inciso h) del artículo 5° de la Ley 28424"}},
    {4,
     {"Las acciones, participaciones o derechos de capital de empresas con Convenio",
      "que hubieran estabilizado las normas del Impuesto Mínimo a la Renta, excepto",
      "las exoneradas de este impuesto.", "Inciso i) del artículo 5° de la Ley 28424"}},
    {4,
     {"Mayor valor determinado por la reevaluación voluntaria de activos",
      "efectuada bajo el régimen de los establecido en el Inciso 2) del",
      "artículo 104° de la Ley de renta.", "Inciso j) del artículo 5° de la Ley 28424"}},
    {1, {"Otros"}},
};

} // namespace

void writeAnnexPage(ReportWriter &writer, const DeclarationData &d, int page)
{
    Page p(writer, page);
    p.titleRow(300, QStringLiteral("ASISTENTE DE LA CASILLA 105"));
    const int heading = 570;
    p.cell(kLeft, heading, kRight, heading + kRowHeight);
    p.text(3500, heading + kTextDy, QStringLiteral("Tipo de Deducción"), true);
    p.cell(8900, heading, kRight, heading + kRowHeight);
    p.text(9400, heading + kTextDy, QStringLiteral("    Monto"), true);

    int t = heading + kRowHeight;
    for (std::size_t i = 0; i < d.annex.size(); ++i) {
        const DeductionType &type = kDeductionTypes[i];
        const int h = type.lines * kRowHeight;
        p.cell(kLeft, t, kRight, t + h);
        for (int line = 0; line < type.lines; ++line) {
            p.text(kLabelX, t + kTextDy + line * kRowHeight, QString::fromUtf8(type.text[line]));
        }
        p.cell(8900, t, kRight, t + h);
        p.text(9000, t + kTextDy, annexField(d.annex[i]));
        t += h;
    }
    const int h = 2 * kRowHeight;
    p.labelRow(t, h, QStringLiteral("TOTAL DEDUCCIONES"));
    p.cell(8900, t, kRight, t + h);
    p.text(9000, t + kTextDy, annexField(d.annexTotal));
}

} // namespace qz
