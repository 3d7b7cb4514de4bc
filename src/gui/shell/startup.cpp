// declmod's start-up sequence and its event loop.
#include "gui/shell/startup.h"

#include "core/platform/singleinstance.h"
#include "core/platform/windowlist.h"
#include "core/shell/runstate.h"
#include "gui/shell/mdifrm.h"
#include "gui/widgets/messageservice.h"

#include <QApplication>

#include <memory>

namespace qz {

int runDeclmod()
{
    // The run state holds the text-utility component, so it is created before anything else.
    auto state = std::make_unique<RunState>();
    DialogMessenger messenger;

    if (!CorreApp(QString::fromLatin1(kHostWindowTitle))) {
        messenger.show(MessageIcon::Critical, QStringLiteral("Error al ejecutar el módulo"),
                       QStringLiteral("Debe ejecutar este módulo desde el Integrador del ZEB"));
        return 1;
    }
    SingleInstance instance;
    if (!instance.acquire(QStringLiteral("declmod"))) {
        messenger.show(MessageIcon::Information, QStringLiteral("Declaración Vexilar"),
                       QStringLiteral("La Aplicación ya se encuentra en ejecución"));
        return 1;
    }
    MDIFrm main(*state, messenger);
    if (!main.load()) {
        return 1;
    }
    return QApplication::exec();
}

} // namespace qz
