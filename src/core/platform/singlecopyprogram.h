// The start shared by declchk and declrep: a QtCore application, messages through qzmessage,
// one running copy per user. A second copy says "La aplicación ya se encuentra en Ejecución"
// and ends with the program's "not run" status.
#pragma once

#include "core/data/messenger.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace qz {

// Runs run(arguments without the program's name, messenger) as the only copy of program,
// and returns its exit status; refused when another copy holds the program's lock.
int runSingleCopy(int argc, char *argv[], const QString &program, int refusedStatus,
                  const std::function<int(const QStringList &, Messenger &)> &run);

} // namespace qz
