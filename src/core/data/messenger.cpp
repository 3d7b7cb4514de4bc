#include "core/data/messenger.h"

#include <cstdio>

namespace qz {

MessageAnswer StderrMessenger::show(MessageIcon, const QString &title, const QString &text,
                                    MessageButtons buttons, MessageAnswer defaultAnswer)
{
    QByteArray line = (title + QStringLiteral(": ") + text).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
    if (buttons == MessageButtons::YesNo) {
        return defaultAnswer == MessageAnswer::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    return MessageAnswer::Ok;
}

} // namespace qz
