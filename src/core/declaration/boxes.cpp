// The box table.
#include "core/declaration/boxes.h"

#include <algorithm>

namespace qz {

namespace {

constexpr BoxInfo kBoxes[] = {
    {101, 2, BoxKind::Typed, "Base imponible al 31/12/"},
    {104, 2, BoxKind::Typed, "Adiciones"},
    {105, 2, BoxKind::Assistant, "Deducciones"},
    {108, 2, BoxKind::Computed, "Total base imponible al 31/12/"},
    {109, 2, BoxKind::Computed, "Base Imponible actualizada al 31/03/"},
    {110, 2, BoxKind::Assistant,
     "Porcentaje de ingresos afectos al Impuesto a la Renta - Ley N° 29717"},
    {111, 2, BoxKind::Computed, "Base Imponible al 31/12/"},
    {113, 3, BoxKind::Computed, "Base imponible al 31/12/"},
    {114, 3, BoxKind::Computed, "OKRE (según escala)"},
    {115, 3, BoxKind::Computed, "OKRE de empresas absorbidas o escindidas"},
    {139, 3, BoxKind::Computed, "OKRE a pagar"},
    {160, 3, BoxKind::Typed, "Modalidad de pago   ( 1: Contado    2:  Fraccionado en 9 cuotas )"},
    {161, 3, BoxKind::Computed, "Pago al contado o monto de la 1ra. cuota"},
    {142, 3, BoxKind::Typed, "Compensación del saldo a favor del exportador"},
    {143, 3, BoxKind::Typed, "Crédito por pago a cuenta del Impuesto a la Renta pagado"},
    {144, 3, BoxKind::Typed, "Pagos previos"},
    {145, 3, BoxKind::Typed, "Interés moratorio"},
    {146, 3, BoxKind::Computed, "Saldo definitivo a pagar"},
    {180, 3, BoxKind::Typed, "IMPORTE A PAGAR"},
    {225, 4, BoxKind::Hidden, ""},
    {226, 4, BoxKind::Typed, "Nro. de documento :"},
    {208, 4, BoxKind::Typed, "RUC :"},
    {209, 4, BoxKind::Hidden, ""},
    {211, 4, BoxKind::Typed, " C.P.C.: Nro."},
    {212, 4, BoxKind::Typed, "C.M.A.: Nro."},
};

} // namespace

const BoxInfo *boxInfo(int number)
{
    const auto it = std::find_if(std::begin(kBoxes), std::end(kBoxes),
                                 [number](const BoxInfo &b) { return b.number == number; });
    return it == std::end(kBoxes) ? nullptr : &*it;
}

bool isWindowBox(int number)
{
    return boxInfo(number) != nullptr;
}

bool isIgnoredOnLoad(int number)
{
    switch (number) {
    case det::kVersionSaved:
    case det::kNroCheque:
    case det::kBanco:
    case det::kVersion:
    case det::kCheckParam:
    case det::kFechaVersion:
    case det::kRazon:
        return true;
    default:
        break;
    }
    const auto in = [number](int from, int to) { return number >= from && number <= to; };
    return in(535, 559) || in(594, 597) || in(655, 659) || in(694, 697);
}

} // namespace qz
