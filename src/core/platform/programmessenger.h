// The messages of the programs without windows (decltab, declchk, declrep).
//
// These programs run on QtCore alone so that they start fast. When a display is available a
// message is shown as a real message box by the small program qzmessage, installed next to
// them, and its answer comes back as qzmessage's exit status; without a display, or when
// qzmessage cannot be started, the text goes to stderr and the default answer is taken.
#pragma once

#include "core/data/messenger.h"

#include <QString>
#include <QStringList>

namespace qz {

class ProgramMessenger final : public Messenger {
public:
    MessageAnswer show(MessageIcon icon, const QString &title, const QString &text,
                       MessageButtons buttons = MessageButtons::Ok,
                       MessageAnswer defaultAnswer = MessageAnswer::Ok) override;

    // True when a message would be shown on screen: a display is set and the Qt platform
    // asked for is not one without a screen ("offscreen", "minimal").
    static bool displayAvailable();
};

// The exit status of qzmessage for an answer, and back.
int answerExitCode(MessageAnswer answer);
MessageAnswer answerFromExitCode(int code, MessageAnswer fallback);

// qzmessage's arguments for a message, and back; false when the arguments are not such.
QStringList messageArguments(MessageIcon icon, const QString &title, const QString &text,
                             MessageButtons buttons, MessageAnswer defaultAnswer);
struct MessageRequest {
    MessageIcon icon = MessageIcon::None;
    QString title;
    QString text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
};
bool parseMessageArguments(const QStringList &arguments, MessageRequest *request);

} // namespace qz
