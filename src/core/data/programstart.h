// The common start of declchk and declrep once they are the only copy running: the argument
// string, the configuration and the connection, each failure shown as its message.
#pragma once

#include "core/data/config.h"
#include "core/data/connection.h"
#include "core/data/declarationargs.h"
#include "core/data/messenger.h"

#include <QStringList>

#include <optional>

namespace qz {

struct ProgramStart {
    DeclarationArgs args;
    Config config;
    Database db;
};

// Reads the arguments (a bad string is shown with the title "Presentación Telemática" and
// nothing else is done), loads the configuration as the module's programs do and opens the
// database for the program (the open-error messages of connection.h). nullopt when
// the program cannot go on.
std::optional<ProgramStart> startDeclarationProgram(const QStringList &arguments, Program program,
                                                    Messenger &messenger);

} // namespace qz
