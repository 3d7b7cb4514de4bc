// The declrep program without its main(): the argument string, the configuration and the
// connection, the summary, its conversion by the tagged text printer and the copy in TMP.
//
// Files, under SysPath: RPT/<spool name>.PRN (report file), RPT/<name>.PRN (plain text),
// RPT/<name>.txt (the plain text through the tagged text printer in file mode),
// TMP/<name>.TXT (a copy of it for the host) and Trace.txt (two lines a run).
#pragma once

#include "core/data/messenger.h"

#include <QStringList>

namespace qz {

// Exit status of declrep (the host ignores it): 0 all written, 1 a step failed (what could be
// written is there), 2 nothing done (bad arguments, configuration or connection).
enum class ReportOutcome : int { Written = 0, Incomplete = 1, NotRun = 2 };

ReportOutcome runDeclrep(const QStringList &arguments, Messenger &messenger);

} // namespace qz
