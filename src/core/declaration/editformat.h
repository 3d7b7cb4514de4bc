// How a box shows its value while it is edited and after it is left: the maximum length and
// the text for gaining and for losing the focus. Only boxes that are neither read-only nor
// disabled take part.
#pragma once

#include <QString>

namespace qz {

struct EditFormat {
    int maxLength = 0; // 0: leave the maximum length as it is
    QString text;      // the text to show
};

// On gaining the focus. docLength: the document length of the representative's selected
// document type (box 226), 0 when none.
EditFormat focusInFormat(int box, const QString &text, int docLength);

// On losing the focus. disabledMeanwhile: the box was disabled while it had the focus.
EditFormat focusOutFormat(int box, const QString &text, int docLength, bool disabledMeanwhile);

// The help lines shown when the pointer is over something.
struct HelpLines {
    QString first;
    bool firstBlue = false;
    QString second;
    bool keepSecond = false; // the second line is left as it was
};

// For a box on a page; ajusteSi: the inflation-adjustment answer is "Si".
HelpLines boxHelpLines(int box, int page, bool ajusteSi);
// For the window background and the two frames that show the general hint.
HelpLines generalHelpLines(int page);

} // namespace qz
