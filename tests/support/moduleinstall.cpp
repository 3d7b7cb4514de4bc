// Installing the module into a temporary host installation.
#include "support/moduleinstall.h"

#include "core/decltab/tableinstaller.h"
#include "support/scriptedmessenger.h"

namespace qz::test {

ModuleInstall::ModuleInstall()
{
    if (!inst_.ok()) {
        message_ = inst_.message();
        return;
    }
    ScriptedMessenger installer;
    if (TableInstaller(installer).run() != 0) {
        message_ = QStringLiteral("decltab failed: ") +
                   (installer.shown.empty() ? QString() : installer.shown.front().text);
        return;
    }
    db_ = inst_.open();
    ok_ = true;
}

} // namespace qz::test
