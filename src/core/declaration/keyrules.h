// The key rules of the declaration window's boxes and fields, without widgets: which character
// a key press puts into the box or field (0 drops it), and whether it opens an assistant or
// moves on to the next control as Tab does. Key codes are the fields' character codes (8
// Backspace, 13 Enter).
#pragma once

#include "core/declaration/declarationmodel.h"

#include <QString>

namespace qz {

struct KeyOutcome {
    int passed = 0;             // the character to insert; 0 drops the key
    bool openAssistant = false; // boxes 105 and 110: their assistant opens instead
    bool nextControl = false;   // Enter moves on as Tab does
    bool marksChange = false;   // the key counts as a change of the declaration
    bool centsRefused = false;  // a decimal point or cents in an amount: amounts are whole
};

// A key in a box. Boxes 105 and 110 take no typing: a digit or Enter opens their assistant.
// Enter moves on, except in box 113. Box 160 takes 1 and 2, box 226 digits and, for a document
// type whose data kind (character 71 of representativeType) is 0, letters in upper case; every
// other box digits. Backspace passes wherever typing does. Every key counts as a change. A
// decimal point in an amount box is refused and says so (centsRefused): dropping it silently
// would turn 1000.50 into 100050. With inCents (a point was refused in this box and nothing
// but digits typed since), the digits are the cents and are dropped too: 1000.50 gives 1000.
KeyOutcome boxKeyRule(int box, int code, const QString &representativeType, bool inCents = false);

// A key in a field that is not a box: Enter moves on in the telephone, order-number, exercise,
// name and company-count fields; the telephone and order numbers take digits, the names
// letters as the letters filter gives them (in capitals), the count of companies digits.
KeyOutcome fieldKeyRule(Field field, int code);

} // namespace qz
