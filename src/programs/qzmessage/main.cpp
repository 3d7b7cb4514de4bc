// qzmessage: shows one message box for a program that runs without windows, and gives the
// answer as its exit status (0 OK, 1 Yes, 2 No; 3 for arguments it does not understand).
//
//   qzmessage ICON ok|yesno DEFAULT TITLE TEXT
//
// ICON is 0 none, 1 information, 2 question, 3 exclamation, 4 critical; DEFAULT the exit
// status of the default answer. No application display name is set, so the title is exactly
// the one given.
#include "core/platform/programmessenger.h"
#include "gui/widgets/messageservice.h"
#include "gui/widgets/translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    qz::installQtSpanish();
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    qz::MessageRequest request;
    if (!qz::parseMessageArguments(arguments, &request)) {
        return 3;
    }
    qz::DialogMessenger messenger;
    return qz::answerExitCode(messenger.show(request.icon, request.title, request.text,
                                             request.buttons, request.defaultAnswer));
}
