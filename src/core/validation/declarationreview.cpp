// The gate, the review and the silent consistency test, in the order the host runs them.
#include "core/validation/declarationreview.h"

#include "core/data/clock.h"
#include "core/data/lookups.h"
#include "core/data/numbertext.h"
#include "core/data/sqltext.h"
#include "core/data/textfile.h"
#include "core/declaration/boxvalue.h"
#include "core/declaration/messages.h"
#include "core/declaration/periodrules.h"

#include <QDate>

#include <cmath>

namespace qz {

namespace {

ReviewStop stopAt(const QString &message, int page, ReviewStop::Focus focus, int box = 0,
                  Field field = Field::Telefono)
{
    return ReviewStop{message, page, focus, box, field};
}

} // namespace

QString DeclarationReview::taxpayerRuc() const
{
    return model_.taxpayerRuc().trimmed();
}

QString DeclarationReview::representativeType() const
{
    return model_.representativeType().left(2);
}

bool DeclarationReview::reorganizationOpen() const
{
    return model_.answer(Answer::Reorg) == QLatin1String("1") && model_.pageEnabled(1);
}

int DeclarationReview::telephoneRule(const QString &telephone)
{
    const QString t = telephone.trimmed();
    if (t.size() >= 1 && t.size() <= 5) {
        return 1;
    }
    if (t.size() == 8 && !t.startsWith(u'9')) {
        return 2;
    }
    if (t.startsWith(u'9') && t.size() < 7) {
        return 3;
    }
    return 0;
}

int DeclarationReview::companiesCount()
{
    try {
        return static_cast<int>(
            model_.db().scalar(QStringLiteral("SELECT count(*) FROM TMPF731EMPRESAS")).toInt());
    } catch (const DbError &) {
        return 0;
    }
}

bool DeclarationReview::dateAcceptable() const
{
    const QString fecha = model_.field(Field::FechaReorg);
    if (fecha == QLatin1String("__/__/____")) {
        return false;
    }
    const QDate d = QDate::fromString(fecha, QStringLiteral("dd/MM/yyyy"));
    return d.isValid() && ValidaFecha(fecha, model_.field(Field::Periodo), today());
}

bool DeclarationReview::ValidaNumDoc(const QString &type, const QString &number)
{
    if (type.trimmed().isEmpty() || number.trimmed().isEmpty()) {
        return false;
    }
    QString bare = type.trimmed();
    while (bare.size() > 1 && bare.startsWith(u'0')) {
        bare.remove(0, 1);
    }
    QString funcion;
    try {
        const QueryResult r = model_.db().query(
            QStringLiteral("Select Funcion From Param Where Numero='044' AND Argumento='") +
            sqlText(bare) + u'\'');
        if (r.isEmpty()) {
            return false;
        }
        funcion = r.at(0, 0).toText();
    } catch (const DbError &) {
        return false;
    }
    const QString n = number.trimmed();
    const int length = static_cast<int>(val(fixedField(funcion, 46, 2)));
    const bool lengthOk =
        fixedField(funcion, 130, 1) == QLatin1String("0") ? n.size() <= length : n.size() == length;
    const bool charactersOk = fixedField(funcion, 128, 1) == QLatin1String("0")
                                  ? textUtility_.isValidDocNumberAlnum(n)
                                  : textUtility_.isValidDocNumberNumeric(n);
    return lengthOk && charactersOk;
}

bool DeclarationReview::validRuc(const QString &ruc)
{
    return textUtility_.isValidRuc(ruc.trimmed()) && ValidaNumDoc(QStringLiteral("06"), ruc);
}

std::optional<ReviewStop> DeclarationReview::taxpayerCheck()
{
    using F = ReviewStop::Focus;
    if (model_.iModo() == 0 && taxpayerRuc().isEmpty()) {
        return stopAt(kMsgSelectTaxpayer, 0, F::TaxpayerList);
    }
    if (model_.iModo() == 0 && model_.existeDeclaracion() == QLatin1String("N")) {
        return stopAt(kMsgDeclarationExists, 0, F::TaxpayerList);
    }
    return std::nullopt;
}

std::optional<ReviewStop> DeclarationReview::chequeCheck()
{
    const PaymentState &p = model_.payment();
    if (p.paymentType() != QLatin1String("C")) {
        return std::nullopt;
    }
    const QString cheque = p.chequeNumber().trimmed();
    if (p.bankCode().trimmed().isEmpty() || p.bankCode() == QLatin1String("XX")) {
        return stopAt(QStringLiteral("Ingrese el banco."), 3, ReviewStop::Focus::None);
    }
    if (cheque.isEmpty() || cheque == QLatin1String("0")) {
        return stopAt(QStringLiteral("Debe ingresar el número de cheque."), 3,
                      ReviewStop::Focus::None);
    }
    bool numeric = false;
    if (cheque.toLongLong(&numeric) == 0 && numeric) {
        return stopAt(QStringLiteral("Número de cheque no es válido."), 3, ReviewStop::Focus::None);
    }
    return std::nullopt;
}

std::optional<ReviewStop> DeclarationReview::dniCheck()
{
    if (representativeType() == QLatin1String("01") && model_.text(226).size() != 8) {
        return stopAt(kMsgDniLength, 4, ReviewStop::Focus::Box, 226);
    }
    return std::nullopt;
}

std::optional<ReviewStop> DeclarationReview::CmdValidarChecks()
{
    if (auto stop = taxpayerCheck()) {
        return stop;
    }
    if (auto stop = chequeCheck()) {
        return stop;
    }
    if (auto stop = dniCheck()) {
        return stop;
    }
    const QString b226 = model_.text(226).trimmed();
    bool numeric = false;
    if (!b226.isEmpty() && b226.toLongLong(&numeric) == 0 && numeric) {
        return stopAt(QStringLiteral("El número de documento del representante legal no puede "
                                     "ser cero"),
                      -1, ReviewStop::Focus::Box, 226);
    }
    return std::nullopt;
}

std::optional<ReviewStop> DeclarationReview::ValidaContForm1()
{
    using F = ReviewStop::Focus;
    if (model_.iModo() == 0 && taxpayerRuc().isEmpty()) {
        return stopAt(kMsgSelectTaxpayer, 0, F::TaxpayerList);
    }
    switch (telephoneRule(model_.field(Field::Telefono))) {
    case 1:
        return stopAt(QStringLiteral("Ingrese su número de teléfono o un número de referencia."), 0,
                      F::Field, 0, Field::Telefono);
    case 2:
        return stopAt(QStringLiteral("El número ingresado debe ser de 7 digitos, o un celular de "
                                     "8 o 7 digitos."),
                      0, F::Field, 0, Field::Telefono);
    case 3:
        return stopAt(QStringLiteral("El celular ingresado debe ser de 8 o 7 digitos."), 0,
                      F::Field, 0, Field::Telefono);
    default:
        break;
    }
    if (reorganizationOpen() && model_.tipoReorg().isEmpty()) {
        return stopAt(QStringLiteral("Debe seleccionar el tipo de reorganización de sociedades."),
                      0, F::ReorgList);
    }
    if (model_.iModo() == 0 && model_.existeDeclaracion() == QLatin1String("N")) {
        return stopAt(kMsgDeclarationExists, 0, F::TaxpayerList);
    }
    if (model_.answer(Answer::Rectifica).isEmpty()) {
        return stopAt(QStringLiteral("Indique si la presente declaración rectifica o sustituye a "
                                     "otra."),
                      0, F::Salir);
    }
    if (!ValidaPeriodo(model_.field(Field::Periodo), today())) {
        return stopAt(QStringLiteral("El ejercicio no es válido"), 0, F::Salir);
    }
    return std::nullopt;
}

ReviewResult DeclarationReview::ValidaDeclaracion(const QString &mensPath)
{
    using F = ReviewStop::Focus;
    ReviewResult result;
    // Every review starts a fresh Mens.txt, also one that stops at its first check: the list
    // must never show the findings of an earlier review.
    result.fileWritten = writeHostLines(mensPath, {});
    if (model_.iModo() == 0 && taxpayerRuc().isEmpty()) {
        result.stop = stopAt(kMsgSelectTaxpayer, 0, F::TaxpayerList);
        return result;
    }
    QStringList &l = result.lines;
    const QString general = QStringLiteral("Identificación-Datos Generales : ");
    switch (telephoneRule(model_.field(Field::Telefono))) {
    case 1:
        l << general + QStringLiteral("Ingrese su número de teléfono o un número de referencia");
        break;
    case 2:
        l << general + QStringLiteral("El número ingresado debe ser de 7 digitos, o un celular "
                                      "de 8 o 7 digitos");
        break;
    case 3:
        l << general + QStringLiteral("El celular debe ser de 8 o 7 digitos");
        break;
    default:
        break;
    }
    if (reorganizationOpen()) {
        const QString t = model_.tipoReorg();
        const QString w = (t == QLatin1String("3") || t == QLatin1String("4"))
                              ? QStringLiteral("escisión")
                              : QStringLiteral("fusión");
        const QString reorg = QStringLiteral("Reorganización de sociedades : ");
        const QString cantidad = model_.field(Field::CantEmpresas).trimmed();
        if (cantidad.isEmpty()) {
            l << reorg + QStringLiteral("Debe ingresar la cantidad de empresas extinguidas por ") +
                     w;
        }
        if (val(cantidad) <= 0 || val(cantidad) > 100) {
            l << reorg + QStringLiteral("La cantidad de empresas extinguidas por ") + w +
                     QStringLiteral(" debe ser mayor a 0 y menor o igual a 100");
        }
        if (companiesCount() != static_cast<int>(val(cantidad))) {
            l << reorg +
                     QStringLiteral("El número de empresas ingresadas debe ser igual a la "
                                    "cantidad de empresas extinguidas por ") +
                     w;
        }
        if (!dateAcceptable()) {
            l << reorg + QStringLiteral("La fecha de ") + w +
                     QStringLiteral(" debe corresponder al ejercicio ingresado y debe ser menor "
                                    "o igual a la fecha del sistema.");
        }
        if (t.isEmpty()) {
            l << reorg + QStringLiteral("Debe seleccionar el tipo de reorganización de "
                                        "sociedades.");
        }
    }
    const auto c = [this](int box) { return model_.Vale(box); };
    if (model_.answer(Answer::Ajuste) == QLatin1String("1") && c(108) > c(109)) {
        l << QStringLiteral("Determinación Base Imponible : El valor de la casilla 109 debe ser "
                            "mayor o igual al valor de la casilla 108");
    }
    const bool coop = model_.answer(Answer::Coop) == QLatin1String("1");
    if (coop && model_.vacio(160)) {
        l << QStringLiteral("Determinación de la Deuda: Ingrese la forma de pago");
    }
    if (!coop && model_.vacio(160)) {
        l << QStringLiteral("Determinación de la Deuda : Indique la modalidad de pago");
    }
    if (c(161) < std::fabs(c(142))) {
        l << QStringLiteral("Determinación Base Imponible : El valor de la casilla 142 no puede "
                            "exceder el valor de la casilla 161");
    }
    if (c(161) < std::fabs(c(143))) {
        l << QStringLiteral("Determinación Base Imponible : El valor de la casilla 143 no puede "
                            "exceder el valor de la casilla 161");
    }
    const QString tipoPago = model_.payment().paymentType();
    if (tipoPago != QLatin1String("C") && tipoPago != QLatin1String("E")) {
        l << QStringLiteral("Determinación de la Deuda : Indique la forma de pago.");
    }
    if (model_.vacio(180)) {
        l << QStringLiteral("Determinación de la Deuda : Ingrese el importe a pagar (casilla "
                            "180)");
    }
    if (model_.vacio(225) || model_.vacio(226)) {
        l << QStringLiteral("Información Complementaria : Ingrese los datos del Representante "
                            "Legal");
    }
    if (coop && model_.vacio(110)) {
        l << QStringLiteral("Determinación Base Imponible : Ingrese información en la casilla "
                            "110");
    }
    const QString zona = model_.text(209).trimmed();
    const bool accountant = (!zona.isEmpty() && zona != QLatin1String("26")) ||
                            !model_.vacio(208) || (!model_.vacio(211) && !model_.vacio(212));
    if (accountant && zona.isEmpty()) {
        l << QStringLiteral("Información Complementaria : Debe ingresar el código de la zona de "
                            "colegiatura del contador");
    }
    if (accountant && model_.vacio(211) && model_.vacio(212)) {
        l << QStringLiteral("Información Complementaria : Debe Ingresar el Nro. C.P.C. o el Nro. "
                            "C.M.A. del contador");
    }
    result.fileWritten = writeHostLines(mensPath, l);

    const QString b226 = model_.text(226).trimmed();
    const QString b208 = model_.text(208).trimmed();
    if (representativeType() == QLatin1String("06") && !b226.isEmpty() && !validRuc(b226)) {
        result.stop = stopAt(QStringLiteral("El RUC no es Válido."), 4, F::Box, 226);
    } else if (!b226.isEmpty() && b226 == taxpayerRuc()) {
        result.stop = stopAt(QStringLiteral("El RUC no puede ser igual al RUC del Contribuyente."),
                             4, F::Box, 226);
    } else if (!b208.isEmpty() && !validRuc(b208)) {
        result.stop = stopAt(QStringLiteral("El RUC del Contador no es Válido."), 4, F::Box, 208);
    } else if (!b208.isEmpty() && b208 == taxpayerRuc()) {
        result.stop = stopAt(QStringLiteral("El RUC del Contador no puede ser igual al RUC del "
                                            "Contribuyente."),
                             4, F::Box, 208);
    } else if (!ValidaPeriodo(model_.field(Field::Periodo), today())) {
        result.stop =
            stopAt(QStringLiteral("El ejercicio no es válido."), 0, F::Field, 0, Field::Periodo);
    }
    return result;
}

bool DeclarationReview::EsConsistente()
{
    if (telephoneRule(model_.field(Field::Telefono)) != 0) {
        return false;
    }
    if (reorganizationOpen()) {
        const QString cantidad = model_.field(Field::CantEmpresas).trimmed();
        if (cantidad.isEmpty() || val(cantidad) <= 0 || val(cantidad) > 100 ||
            companiesCount() != static_cast<int>(val(cantidad)) || !dateAcceptable() ||
            model_.tipoReorg().isEmpty()) {
            return false;
        }
    }
    if (model_.answer(Answer::Coop) == QLatin1String("1") && model_.vacio(110)) {
        return false;
    }
    if (model_.answer(Answer::Ajuste) == QLatin1String("1") &&
        model_.Vale(109) < model_.Vale(108)) {
        return false;
    }
    if (model_.Vale(161) < std::fabs(model_.Vale(142)) ||
        model_.Vale(161) < std::fabs(model_.Vale(143))) {
        return false;
    }
    const PaymentState &p = model_.payment();
    if (p.paymentType() != QLatin1String("C") && p.paymentType() != QLatin1String("E")) {
        return false;
    }
    if (model_.vacio(180)) {
        return false;
    }
    if (p.paymentType() == QLatin1String("C") &&
        (p.bankCode().trimmed().isEmpty() || p.bankCode() == QLatin1String("XX") ||
         p.chequeNumber().trimmed().isEmpty() ||
         p.chequeNumber().trimmed() == QLatin1String("0"))) {
        return false;
    }
    if (model_.vacio(225) || model_.vacio(226) || model_.vacio(160)) {
        return false;
    }
    return ValidaPeriodo(model_.field(Field::Periodo), today());
}

} // namespace qz
