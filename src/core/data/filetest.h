// The host's file test, as declchk and declrep run it before they delete, copy or print a
// file they hand over to the host.
#pragma once

#include "core/data/messenger.h"

#include <QString>

namespace qz {

// True when the file exists. The folder part (up to the last "\\" or "/") must exist, else the
// file counts as missing, silently (the host's "path not found"); the name is then looked up
// in the folder ignoring case, as the host's file system does. Any other failure of the test
// shows "Error " + number, a line feed and the description with the title "Error de
// Ejecución" and a stop icon, and the file counts as missing.
bool ExisteArchivo(const QString &path, Messenger &messenger);

} // namespace qz
