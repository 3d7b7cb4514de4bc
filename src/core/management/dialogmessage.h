// One message box of the management dialogs as data: the logic says what is asked or shown,
// the window (or a test's Messenger) shows it exactly so.
#pragma once

#include "core/data/messenger.h"

#include <QString>

namespace qz {

struct DialogMessage {
    MessageIcon icon = MessageIcon::None;
    QString title;
    QString text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageAnswer defaultAnswer = MessageAnswer::Ok;

    MessageAnswer showOn(Messenger &messenger) const
    {
        return messenger.show(icon, title, text, buttons, defaultAnswer);
    }
};

// The standard error box of the list dialogs: title "Error", OK, the error's number, a line
// feed and its description.
inline DialogMessage errorBox(int number, const QString &description)
{
    return {MessageIcon::Critical, QStringLiteral("Error"),
            QString::number(number) + u'\n' + description};
}

} // namespace qz
