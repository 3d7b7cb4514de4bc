// The start shared by declchk and declrep.
#include "core/platform/singlecopyprogram.h"

#include "core/platform/programmessenger.h"
#include "core/platform/singleinstance.h"

#include <QCoreApplication>

namespace qz {

int runSingleCopy(int argc, char *argv[], const QString &program, int refusedStatus,
                  const std::function<int(const QStringList &, Messenger &)> &run)
{
    // QtCore alone, for a fast start; message boxes come from qzmessage.
    QCoreApplication app(argc, argv);
    ProgramMessenger messenger;
    SingleInstance instance;
    if (!instance.acquire(program)) {
        messenger.show(MessageIcon::Information, QStringLiteral("Presentación Telemática"),
                       QStringLiteral("La aplicación ya se encuentra en Ejecución"));
        return refusedStatus;
    }
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return run(arguments, messenger);
}

} // namespace qz
