// The calculation chain: every derived box from its inputs, the tax scale, the effect of the
// reorganization type and the payment rules.
#include "core/declaration/declarationmodel.h"

#include "core/data/format.h"
#include "core/data/numbertext.h"
#include "core/data/sqltext.h"
#include "core/declaration/boxvalue.h"
#include "core/declaration/declarationkey.h"
#include "core/declaration/taxscale.h"

#include <array>
#include <cmath>

namespace qz {

namespace {

// The whole-unit value of a box as currency (amounts are whole units).
Currency currencyOf(double units)
{
    return Currency::fromDouble(units);
}

} // namespace

void DeclarationModel::Calcular105(const QString &sCasilla)
{
    if (sCasilla != QLatin1String("105")) {
        return;
    }
    QString sql = run_.bHistorico ? QStringLiteral("SELECT * FROM HDET") +
                                        sentDeclarationKey(taxpayerRuc(), sPeriodo(), sFormulario_,
                                                           run_.sCorrel)
                                  : QStringLiteral("SELECT * FROM DET") +
                                        declarationKey(taxpayerRuc(), sPeriodo(), sFormulario_);
    sql += QStringLiteral(" AND VAL(CASILLA) >= 546 AND VAL(CASILLA) <= 556");
    std::array<double, 53> amounts{};
    try {
        const QueryResult r = db_.query(sql);
        const int casilla = r.indexOf(QStringLiteral("Casilla"));
        const int valor = r.indexOf(QStringLiteral("I_valor"));
        for (int i = 0; i < r.rowCount(); ++i) {
            const int slot = static_cast<int>(val(r.at(i, casilla).toText())) - 545;
            const QString amount = reformat(r.at(i, valor).toText(), "#########0");
            if (slot >= 1 && slot <= 52) {
                amounts[static_cast<size_t>(slot)] += amount.isEmpty() ? 0 : val(amount);
            }
        }
    } catch (const DbError &e) {
        // The chain goes on with what it has; the window stays usable.
        show(MessageIcon::Critical, e.boxText());
    }
    double total = 0;
    for (int slot = 1; slot <= 11; ++slot) {
        total += amounts[static_cast<size_t>(slot)];
    }
    setText(105, patternText(total, kDeductionPattern));
}

void DeclarationModel::Calcular108()
{
    if (vacio(101) && vacio(104) && vacio(105)) {
        setText(108, QString());
        return;
    }
    const double v = boxNumber(text(101)) + boxNumber(text(104)) - std::fabs(boxNumber(text(105)));
    setText(108, v >= 0 ? resultText(v) : QStringLiteral("0"));
}

void DeclarationModel::Calcular109()
{
    if (vacio(108)) {
        setText(109, QString());
        setLocked(109, true, BoxColor::Grey);
        return;
    }
    if (answer(Answer::Ajuste) != QLatin1String("1")) {
        setText(109, text(108));
        setLocked(109, true, BoxColor::Grey);
    } else {
        setLocked(109, false, BoxColor::White);
    }
}

void DeclarationModel::Calcular111_new()
{
    if (vacio(110)) {
        return;
    }
    const int base = sPeriodo() == QLatin1String("2005") ? 109 : 108;
    if (vacio(base)) {
        setText(111, QStringLiteral("0"));
        return;
    }
    setText(111, resultText(boxNumber(text(base)) * ratioNumber(text(110))));
}

void DeclarationModel::Calcular113()
{
    const int source = sPeriodo() == QLatin1String("2005") ? 109 : 108;
    if (answer(Answer::Coop) == QLatin1String("0")) {
        setText(113, vacio(source) ? QString() : resultText(boxNumber(text(source))));
    }
    if (answer(Answer::Coop) == QLatin1String("1")) {
        setText(113, vacio(111) ? QString() : resultText(boxNumber(text(111))));
    }
}

void DeclarationModel::Calcular114()
{
    sPeriodoActual_ = sPeriodo().trimmed();
    const Currency t = EscalaOkre(QStringLiteral("1"));
    const Currency r = EscalaOkre(QStringLiteral("2"));
    if (Vale(113) > t.toDouble()) {
        setText(114, resultText((currencyOf(boxNumber(text(113))) - t) * r));
    } else {
        setText(114, QStringLiteral("0"));
    }
}

Currency DeclarationModel::EscalaOkre(const QString &selector)
{
    try {
        return taxScale(db_, sPeriodoActual_, selector);
    } catch (const DbError &e) {
        show(MessageIcon::Critical, e.boxText());
        return Currency();
    }
}

void DeclarationModel::Calcular139()
{
    if (vacio(114) && vacio(115)) {
        setText(139, QString());
        return;
    }
    const Currency s = currencyOf(boxNumber(text(114))) + currencyOf(boxNumber(text(115)));
    setText(139, s >= Currency() ? resultText(s) : QString());
}

void DeclarationModel::Calcular161()
{
    const QString modalidad = text(160);
    if (modalidad == QLatin1String("1")) {
        setText(161, text(139));
    } else if (modalidad == QLatin1String("2")) {
        setText(161, resultText(currencyOf(boxNumber(text(139))) / Currency::fromInt(9)));
    } else {
        setText(161, QString());
    }
}

void DeclarationModel::Calcular146()
{
    if (vacio(161) && vacio(142) && vacio(143) && vacio(144) && vacio(145)) {
        setText(146, QString());
        return;
    }
    double v = boxNumber(text(161)) - std::fabs(boxNumber(text(142))) -
               std::fabs(boxNumber(text(143))) - std::fabs(boxNumber(text(144))) +
               std::fabs(boxNumber(text(145)));
    if (v < 0) {
        v = 0;
    }
    setText(146, resultText(v));
}

void DeclarationModel::DetBaseImp_Cero()
{
    const QString type = tipoReorg_;
    if (type != QLatin1String("2") && type != QLatin1String("4")) {
        setLocked(101, false, BoxColor::White);
        setLocked(104, false, BoxColor::White);
        setLocked(109, false, BoxColor::White);
        setEnabled(105, true);
        if (sPeriodo() >= QLatin1String("2006")) {
            setLocked(109, true, BoxColor::Grey);
        }
    } else {
        for (int n : {101, 104, 105, 108, 109}) {
            setText(n, QStringLiteral("0"));
        }
        setLocked(101, true, BoxColor::Grey);
        setLocked(104, true, BoxColor::Grey);
        setLocked(109, true, BoxColor::Grey);
        setEnabled(105, false);
    }
    const bool escision = type == QLatin1String("3") || type == QLatin1String("4");
    fechaCaption_ =
        escision ? QStringLiteral("Fecha de escisión :") : QStringLiteral("Fecha de fusión :");
    cantidadCaption_ = escision ? QStringLiteral("Cantidad de empresas extinguidas por escisión :")
                                : QStringLiteral("Cantidad de empresas extinguidas por fusión :");
    emit labelsChanged();
    if (!type.isEmpty()) {
        setPageEnabled(1, type != QLatin1String("5"));
    }
}

void DeclarationModel::paymentModalityRule()
{
    const double c139 = boxNumber(text(139));
    if (c139 >= 9) {
        setLocked(160, false, BoxColor::White);
        setEnabled(145, true);
        setLocked(145, box(145).locked, BoxColor::White);
        if (answer(Answer::Liquid) == QLatin1String("1")) {
            setLocked(160, true, BoxColor::Grey);
            setText(160, QStringLiteral("2"));
        }
        return;
    }
    setText(160, QStringLiteral("1"));
    setLocked(160, true, BoxColor::Grey);
    if (c139 > 0) {
        setEnabled(145, true);
        setLocked(145, box(145).locked, BoxColor::White);
    } else {
        setEnabled(145, false);
        if (!bCargando_) {
            setText(145, QString());
        }
        setLocked(145, box(145).locked, BoxColor::Grey);
    }
}

void DeclarationModel::paymentRule()
{
    if (boxNumber(text(180)) == 0 && !vacio(180)) {
        setPaymentType(PaymentState::cashType());
    }
    setPaymentAmount(text(180));
}

} // namespace qz
