// The editing formats and help lines of the boxes.
#include "core/declaration/editformat.h"

#include "core/declaration/boxvalue.h"

#include <cmath>

namespace qz {

namespace {

QString absDigits(const QString &text)
{
    return isEmptyBox(text) ? text : patternText(std::fabs(boxNumber(text)), kPlainPattern);
}

const QString kGeneral = QStringLiteral("Anotar los importes en nuevos soles sin considerar "
                                        "céntimos.");

} // namespace

EditFormat focusInFormat(int box, const QString &text, int docLength)
{
    switch (box) {
    case 101:
    case 104:
        return {12, reformat(text, kPlainPattern)};
    case 105:
        return {isEmptyBox(text) ? 12 : 17, absDigits(text)};
    case 142:
    case 143:
    case 144:
        return {12, absDigits(text)};
    case 160:
        return {1, text};
    case 208:
        return {11, reformat(text, "########")};
    case 211:
    case 212:
    case 225:
        return {12, text};
    case 226:
        return {docLength == 0 ? 8 : docLength, text};
    default:
        return {12, reformat(text, kPlainPattern)};
    }
}

EditFormat focusOutFormat(int box, const QString &text, int docLength, bool disabledMeanwhile)
{
    if (disabledMeanwhile) {
        return {18, reformat(text, kSignedPattern)};
    }
    switch (box) {
    case 105:
    case 142:
    case 143:
    case 144:
        return {17, isEmptyBox(text) ? text : patternText(boxNumber(text), kDeductionPattern)};
    case 208:
        return {11, reformat(text, "###########")};
    case 211:
    case 212:
    case 225:
        return {0, text};
    case 226:
        return {docLength, text};
    case 101:
    case 104:
        return {15, reformat(text, "##,###,###,###0")};
    default:
        return {15, reformat(text, kResultPattern)};
    }
}

HelpLines generalHelpLines(int page)
{
    if (page == 4) {
        return {QStringLiteral("El registro de esta información es de caracter obligatorio"), false,
                QStringLiteral("en los conceptos que le correspondan."), false};
    }
    return {kGeneral, false, QString(), false};
}

HelpLines boxHelpLines(int box, int page, bool ajusteSi)
{
    switch (box) {
    case 101:
        return {QStringLiteral("c101 = c330"), true, QString(), false};
    case 109:
        return {ajusteSi ? QStringLiteral("c109 = c108 * ") : QStringLiteral("c109 = c108"), true,
                QString(), false};
    case 139:
        return {QStringLiteral("c139 = c114 + c115"), true, QString(), true};
    case 146:
        return {QStringLiteral("c146 = c161 - c142 - c143 - c144 + c145"), true, QString(), false};
    default:
        return generalHelpLines(page);
    }
}

} // namespace qz
