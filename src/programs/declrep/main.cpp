// declrep: writes the summary of a generated declaration of form 0731 for the host.
#include "core/declrep/reportprogram.h"
#include "core/platform/programmessenger.h"
#include "core/platform/singleinstance.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    // QtCore alone, for a fast start; message boxes come from qzmessage.
    QCoreApplication app(argc, argv);
    qz::ProgramMessenger messenger;

    qz::SingleInstance instance;
    if (!instance.acquire(QStringLiteral("declrep"))) {
        messenger.show(qz::MessageIcon::Information, QStringLiteral("Presentación Telemática"),
                       QStringLiteral("La aplicación ya se encuentra en Ejecución"));
        return static_cast<int>(qz::ReportOutcome::NotRun);
    }
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    return static_cast<int>(qz::runDeclrep(arguments, messenger));
}
