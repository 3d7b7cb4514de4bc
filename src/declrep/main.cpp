// declrep: writes the summary of a generated declaration of form 0731 for the host.
#include "declrep/reportprogram.h"
#include "platform/messageservice.h"
#include "platform/singleinstance.h"

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

    qz::SingleInstance instance;
    if (!instance.acquire(QStringLiteral("declrep"))) {
        messenger->show(qz::MessageIcon::Information, QStringLiteral("Presentación Telemática"),
                        QStringLiteral("La aplicación ya se encuentra en Ejecución"));
        return static_cast<int>(qz::ReportOutcome::NotRun);
    }
    QStringList arguments = app->arguments();
    arguments.removeFirst();
    return static_cast<int>(qz::runDeclrep(arguments, *messenger));
}
