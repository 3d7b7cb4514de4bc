// decltab: installs form 0731's tables and parameters in the host's shared database.
#include "decltab/tableinstaller.h"
#include "platform/messageservice.h"

#include <QApplication>
#include <QCoreApplication>

#include <memory>

int main(int argc, char *argv[])
{
    // A window system only when there is a display; otherwise messages go to stderr.
    std::unique_ptr<QCoreApplication> app;
    if (qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) {
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    std::unique_ptr<qz::Messenger> messenger = qz::makeMessenger();
    qz::TableInstaller installer(*messenger);
    return installer.run();
}
