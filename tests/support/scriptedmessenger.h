// A Messenger for tests: records every message and gives a scripted answer to questions.
#pragma once

#include "core/data/messenger.h"

#include <QString>

#include <vector>

namespace qz::test {

class ScriptedMessenger final : public Messenger {
public:
    struct Shown {
        MessageIcon icon;
        QString title;
        QString text;
    };

    MessageAnswer show(MessageIcon icon, const QString &title, const QString &text,
                       MessageButtons buttons, MessageAnswer) override
    {
        shown.push_back({icon, title, text});
        return buttons == MessageButtons::YesNo ? answer : MessageAnswer::Ok;
    }

    MessageAnswer answer = MessageAnswer::No; // the answer to Yes/No questions
    std::vector<Shown> shown;
};

} // namespace qz::test
