// Reading a report file for the preview window and for printing from it or directly, with
// the messages shown when the file cannot be read (all with a stop icon):
// - a missing file: "Archivo Físico del Reporte no Existe", title "Error al Imprimir";
// - any other error (unreadable, a number outside 16 bits): "Error tecnico: " + number, a
//   line feed, the description, a line feed and "Intente nuevamente por favor.", title
//   "Error".
// The preview then shows what was read before the error (an empty first page for a missing
// file). Printing prints nothing from a file that was not read completely: a declaration cut
// short is not a printout.
#pragma once

#include "core/reports/printresult.h"
#include "core/reports/reportfile.h"

namespace qz {

class Messenger;

constexpr const char *kTechnicalErrorTitle = "Error";

// The technical error's text for an error number and its description.
QString technicalErrorText(int number, const QString &description);

// Shows the message above for a file that was not read completely; false (nothing shown)
// for a file read completely. The file's commands are those read before the error.
bool showReadingError(const ReportFile &file, Messenger &messenger);

// The outcome of a reading as a print result: ok, the missing file, or the error's number
// and description.
PrintResult readingResult(const ReportFile &file);

} // namespace qz
