// decltab: installs form 0731's tables and parameters in the host's shared database.
#include "core/decltab/tableinstaller.h"
#include "core/platform/filesizesignal.h"
#include "core/platform/programmessenger.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    qz::ignoreFileSizeSignal();
    // QtCore alone, for a fast start; message boxes come from qzmessage.
    QCoreApplication app(argc, argv);
    qz::ProgramMessenger messenger;
    qz::TableInstaller installer(messenger);
    return installer.run();
}
