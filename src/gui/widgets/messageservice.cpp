// Message boxes on screen, or on stderr when there is no screen.
#include "gui/widgets/messageservice.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

namespace qz {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

bool guiAvailable()
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance()) == nullptr) {
        return false;
    }
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

MessageAnswer DialogMessenger::show(MessageIcon icon, const QString &title, const QString &text,
                                    MessageButtons buttons, MessageAnswer defaultAnswer)
{
    if (!guiAvailable()) {
        StderrMessenger fallback;
        return fallback.show(icon, title, text, buttons, defaultAnswer);
    }
    QMessageBox box(boxIcon(icon), title, text);
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(defaultAnswer == MessageAnswer::Yes ? QMessageBox::Yes
                                                                 : QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

std::unique_ptr<Messenger> makeMessenger()
{
    if (guiAvailable()) {
        return std::make_unique<DialogMessenger>();
    }
    return std::make_unique<StderrMessenger>();
}

} // namespace qz
