// Arguments, configuration and connection of declchk and declrep.
#include "core/data/programstart.h"

namespace qz {

std::optional<ProgramStart> startDeclarationProgram(const QStringList &arguments, Program program,
                                                    Messenger &messenger)
{
    QString why;
    std::optional<DeclarationArgs> args = DeclarationArgs::parse(arguments, &why);
    if (!args) {
        messenger.show(MessageIcon::Critical, QStringLiteral("Presentación Telemática"), why);
        return std::nullopt;
    }
    ProgramStart start{*args, Config{}, Database()};
    loadModuleConfig(start.config);
    std::optional<Database> db = openOrReport(start.config, program, messenger);
    if (!db) {
        return std::nullopt;
    }
    start.db = std::move(*db);
    return start;
}

} // namespace qz
