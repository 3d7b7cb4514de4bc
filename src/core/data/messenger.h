// Message boxes as the logic sees them. The programs give the logic a Messenger: a real
// message box where there is a display, the text on stderr and the default answer where there
// is none, and a scripted one in tests.
#pragma once

#include <QString>

namespace qz {

enum class MessageIcon { None, Information, Question, Exclamation, Critical };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

class Messenger {
public:
    virtual ~Messenger() = default;
    // Shows a message and returns the answer; for YesNo, defaultAnswer is the default button.
    virtual MessageAnswer show(MessageIcon icon, const QString &title, const QString &text,
                               MessageButtons buttons = MessageButtons::Ok,
                               MessageAnswer defaultAnswer = MessageAnswer::Ok) = 0;
};

// Writes every message to stderr and gives the default answer.
class StderrMessenger final : public Messenger {
public:
    MessageAnswer show(MessageIcon icon, const QString &title, const QString &text,
                       MessageButtons buttons, MessageAnswer defaultAnswer) override;
};

} // namespace qz
