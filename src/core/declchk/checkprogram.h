// The declchk program without its main(): the argument string, the configuration and the
// connection, the checks, and the two files left for the host in TMP.
//
// Files, both in SysPath's TMP folder with the base name document type (two characters) &
// trimmed document number & form code & period (six characters) & the code of position 28:
//   base.ERR  the listing, written at every run and deleted again when consistent;
//   base.TXT  the marker "0731 ERROR", replaced when inconsistent, untouched otherwise.
#pragma once

#include "core/data/messenger.h"

#include <QStringList>

namespace qz {

// The exit status of declchk (the host does not read it; scripts and tests do). NotWritten:
// inconsistent, but the listing or the marker could not be written (a full disk, a read-only
// TMP), each said in a message naming the file.
enum class CheckOutcome : int { Consistent = 0, Inconsistent = 1, NotChecked = 2, NotWritten = 3 };

// Checks the declaration the arguments name. A bad argument string, a configuration or a
// connection failure shows its message and gives NotChecked with no file written.
CheckOutcome runDeclchk(const QStringList &arguments, Messenger &messenger);

} // namespace qz
