// ImprimeInconsistencias: the inconsistency listing Mens.txt printed on a printer (the
// default printer, or a PDF in tests), as a page description of absolutely placed texts in
// "Courier New" 8: the date, the title and the time in bold, the numbered lines 270 twips
// apart (40 a page), the count below them and a frame around the list.
#pragma once

#include "core/reports/printresult.h"

#include <QDateTime>
#include <QStringList>

class QPrinter;

namespace qz {

// The report lines of the printout of these inconsistency lines.
QStringList inconsistencyReportLines(const QStringList &lines, const QDateTime &at);

// Prints Mens.txt; a missing file prints nothing (printerr::kNothingToPrint).
PrintResult ImprimeInconsistencias(const QString &mensPath, QPrinter &printer);

} // namespace qz
