// declmod: the form module of declaration 0731, started by the host without arguments.
//
// No application display name is set: Qt would append it to every window title.
#include "core/platform/filesizesignal.h"
#include "gui/shell/startup.h"
#include "gui/widgets/translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    qz::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    qz::installQtSpanish();
    return qz::runDeclmod();
}
