// The tagged text printer in printer mode (needs QtGui and a print system). See taggedtext.h
// for the tags and the file mode.
#pragma once

#include "core/reports/printresult.h"

#include <QString>

class QPrinter;

namespace qz {

// Printer mode: prints the tagged file on the printer in one job. A missing input gives
// missingFile, a file without any text line printerr::kNothingToPrint (no job is started);
// printer errors as in reportprint.h. result.pages counts the pages printed.
PrintResult printTaggedFile(const QString &input, QPrinter &printer);

} // namespace qz
