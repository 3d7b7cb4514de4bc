// The key rules of the declaration window's boxes and fields.
#include "core/declaration/keyrules.h"

#include "core/components/doctypes.h"
#include "core/components/textutility.h"

namespace qz {

namespace {

bool isDigit(int code)
{
    return code >= '0' && code <= '9';
}

// The boxes that hold amounts (not codes, document numbers or the payment modality).
bool isAmountBox(int box)
{
    switch (box) {
    case 160:
    case 208:
    case 209:
    case 211:
    case 212:
    case 225:
    case 226:
        return false;
    default:
        return true;
    }
}

} // namespace

KeyOutcome boxKeyRule(int box, int code, const QString &representativeType, bool inCents)
{
    KeyOutcome out;
    out.marksChange = true;
    if (box == 105 || box == 110) {
        out.openAssistant = isDigit(code) || code == kEnterKey;
    } else if (code == kEnterKey) {
        out.nextControl = box != 113;
    } else if (box == 160) {
        out.passed = (code == '1' || code == '2' || code == kBackspaceKey) ? code : 0;
    } else if (box == 226) {
        const int upper = QChar(code).toUpper().unicode();
        const int kind = entryDataKind(representativeType).trimmed().toInt();
        const bool letter = QChar(upper).isLetter();
        out.passed = (isDigit(code) || upper == kBackspaceKey || (kind == 0 && letter)) ? upper : 0;
    } else {
        out.passed = (isDigit(code) || code == kBackspaceKey) ? code : 0;
        // The point is the decimal sign of the amounts shown ("2,500,000.00"); a comma only
        // groups thousands and is dropped without a word.
        out.centsRefused = isAmountBox(box) && code == '.';
        if (inCents && isAmountBox(box) && isDigit(code)) {
            out.passed = 0;
            out.centsRefused = true;
        }
    }
    return out;
}

KeyOutcome fieldKeyRule(Field field, int code)
{
    const TextUtility tu;
    KeyOutcome out;
    switch (field) {
    case Field::Telefono:
    case Field::NumOrden:
    case Field::NumOrdenCheck:
    case Field::Periodo:
    case Field::ApellidoRepresentante:
    case Field::NombreRepresentante:
    case Field::ApellidoContador:
    case Field::NombreContador:
        break;
    case Field::CantEmpresas:
        out.nextControl = code == kEnterKey;
        out.passed = isDigit(code) || code == kBackspaceKey ? code : 0;
        return out;
    default:
        out.passed = code;
        return out;
    }
    // The fields that Enter leaves, and whose typing counts as a change.
    if (code == kEnterKey) {
        out.nextControl = true;
        return out;
    }
    out.marksChange = true;
    switch (field) {
    case Field::Periodo:
        out.passed = code; // the mask refuses what is not a digit
        break;
    case Field::Telefono:
    case Field::NumOrden:
    case Field::NumOrdenCheck:
        out.passed = tu.numericKeyFilter(code, false, false, false);
        break;
    default:
        out.passed = tu.lettersKeyFilter(code);
        break;
    }
    return out;
}

} // namespace qz
