// Reading and writing box texts as the chain does.
//
// A box's value is its text formatted "###########0" (grouping commas dropped, parentheses a
// minus sign, rounded to whole units halves away from zero) and then read as a number; an
// empty text reads 0 but is not 0: several results stay empty when all their inputs are.
// Box 110 is a ratio, read as it stands ("0.36" is 0.36). Results are written
// "###,###,###,##0".
#pragma once

#include "core/data/currency.h"

#include <QString>

namespace qz {

constexpr const char *kResultPattern = "###,###,###,##0";
constexpr const char *kDeductionPattern = "(###,###,###,##0)";
constexpr const char *kSignedPattern = "###,###,###,##0;(###,###,###,##0)";
constexpr const char *kPlainPattern = "###########0";
constexpr const char *kRatioPattern = "##0.00";

// The whole-unit value of a box text (0 for an empty text or one that is not a number).
double boxNumber(const QString &text);
// The ratio of box 110.
double ratioNumber(const QString &text);
// True when the trimmed text is empty.
bool isEmptyBox(const QString &text);

// A result written with the result pattern.
QString resultText(double value);
QString resultText(Currency value);
// A value written with any pattern.
QString patternText(double value, const char *pattern);
// A text reformatted with a pattern (empty stays empty; a text that is not a number stays).
QString reformat(const QString &text, const char *pattern);

} // namespace qz
