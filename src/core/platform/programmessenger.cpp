// Message boxes through qzmessage, or stderr.
#include "core/platform/programmessenger.h"

#include <QCoreApplication>
#include <QProcess>

namespace qz {

namespace {

constexpr int kIconCount = 5;

} // namespace

int answerExitCode(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Ok:
        return 0;
    case MessageAnswer::Yes:
        return 1;
    case MessageAnswer::No:
        return 2;
    }
    return 0;
}

MessageAnswer answerFromExitCode(int code, MessageAnswer fallback)
{
    switch (code) {
    case 0:
        return MessageAnswer::Ok;
    case 1:
        return MessageAnswer::Yes;
    case 2:
        return MessageAnswer::No;
    default:
        return fallback;
    }
}

QStringList messageArguments(MessageIcon icon, const QString &title, const QString &text,
                             MessageButtons buttons, MessageAnswer defaultAnswer)
{
    return {QString::number(static_cast<int>(icon)),
            buttons == MessageButtons::YesNo ? QStringLiteral("yesno") : QStringLiteral("ok"),
            QString::number(answerExitCode(defaultAnswer)), title, text};
}

bool parseMessageArguments(const QStringList &arguments, MessageRequest *request)
{
    if (arguments.size() != 5) {
        return false;
    }
    bool ok = false;
    const int icon = arguments[0].toInt(&ok);
    if (!ok || icon < 0 || icon >= kIconCount) {
        return false;
    }
    if (arguments[1] != QLatin1String("ok") && arguments[1] != QLatin1String("yesno")) {
        return false;
    }
    const int answer = arguments[2].toInt(&ok);
    if (!ok || answer < 0 || answer > 2) {
        return false;
    }
    request->icon = static_cast<MessageIcon>(icon);
    request->buttons =
        arguments[1] == QLatin1String("yesno") ? MessageButtons::YesNo : MessageButtons::Ok;
    request->defaultAnswer = answerFromExitCode(answer, MessageAnswer::Ok);
    request->title = arguments[3];
    request->text = arguments[4];
    return true;
}

bool ProgramMessenger::displayAvailable()
{
    if (!qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) {
        return false;
    }
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    return !platform.startsWith(QLatin1String("offscreen")) &&
           !platform.startsWith(QLatin1String("minimal"));
}

MessageAnswer ProgramMessenger::show(MessageIcon icon, const QString &title, const QString &text,
                                     MessageButtons buttons, MessageAnswer defaultAnswer)
{
    if (displayAvailable()) {
        QProcess box;
        box.setProcessChannelMode(QProcess::ForwardedChannels);
        box.start(QCoreApplication::applicationDirPath() + QStringLiteral("/qzmessage"),
                  messageArguments(icon, title, text, buttons, defaultAnswer));
        // The user may take as long as they like over a message box.
        if (box.waitForFinished(-1) && box.exitStatus() == QProcess::NormalExit &&
            box.exitCode() <= 2) {
            return answerFromExitCode(box.exitCode(), defaultAnswer);
        }
    }
    StderrMessenger fallback;
    return fallback.show(icon, title, text, buttons, defaultAnswer);
}

} // namespace qz
