// The message-box service of the programs: a QMessageBox where a screen is available, the
// text on stderr and the default answer where there is none.
#pragma once

#include "core/data/messenger.h"

#include <memory>

namespace qz {

// True when a QApplication exists on a platform that shows windows (not "offscreen" or
// "minimal"). The small programs create a QApplication only when a display is set.
bool guiAvailable();

// A modal QMessageBox with the icon, title, text and buttons asked for (YesNo with the given
// default button); without a GUI it behaves as StderrMessenger.
class DialogMessenger final : public Messenger {
public:
    MessageAnswer show(MessageIcon icon, const QString &title, const QString &text,
                       MessageButtons buttons = MessageButtons::Ok,
                       MessageAnswer defaultAnswer = MessageAnswer::Ok) override;
};

// A DialogMessenger when guiAvailable(), else a StderrMessenger.
std::unique_ptr<Messenger> makeMessenger();

} // namespace qz
