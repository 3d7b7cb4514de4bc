// How a list grid shows the values of one column: with a display pattern, numbers on the
// right. The grids of declmod's list windows format their values through this, so that a
// window shows an amount as "3,300" and a date as "01/01/2005" whatever form the query
// returned it in.
#pragma once

#include "core/data/value.h"

#include <QString>

namespace qz {

struct ColumnFormat {
    // The display pattern (numeric or date); empty shows the value as the engine returned it.
    QString pattern;
    // The value is a date written as text "yyyymmdd" (as PARAM keys hold dates).
    bool compactDateText = false;
};

// The text a grid shows for value in a column of this format. Null is empty text; a value the
// pattern cannot read (a text that is no number, a compact date that is no date) is shown as
// it is.
QString columnText(const Value &value, const ColumnFormat &format);

// True when the grid aligns the value on the right: numbers, and every value of a column with
// a numeric pattern.
bool alignsRight(const Value &value, const ColumnFormat &format);

} // namespace qz
