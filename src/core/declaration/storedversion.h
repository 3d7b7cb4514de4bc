// The stored version of a declaration: what another workstation's save would change. A window
// remembers it when it opens a stored declaration, and its save refuses to write over a
// declaration that was saved elsewhere in the meantime (it would silently undo that save).
#pragma once

#include "core/data/database.h"

#include <QString>

namespace qz {

// The control codes of the stored header (a provisional header of the box-105 assistant counts
// as none) and of the box rows outside 546-556 (the assistant's own rows, written while the
// window is open), and the companies' numbers and control codes, in key order. Throws DbError.
QString storedVersion(Database &db, const QString &ruc, const QString &periodo,
                      const QString &formulario);

// The version a window read, and for which declaration.
struct LoadedVersion {
    QString ruc;
    QString periodo;
    QString version;
};

} // namespace qz
