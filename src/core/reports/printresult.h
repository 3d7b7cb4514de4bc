// The outcome of printing or converting a report, with the host's error numbers, and the
// message box the printing commands show for it (title "Impresión", stop icon).
#pragma once

#include <QString>

namespace qz {

class Messenger;

namespace printerr {
constexpr int kCancelled = 20545;    // "La Impresión ha sido Cancelada."
constexpr int kNoPrinter = 482;      // no printer selected
constexpr int kNothingToPrint = 380; // "No Existe Información a Imprimir.Verifique."
constexpr int kFileAlreadyOpen = 55; // no message
constexpr int kFileNotFound = 53;    // no message
constexpr int kSilent = 2055;        // no message
constexpr int kPathFileAccess = 75;  // a file that cannot be created or read
} // namespace printerr

// The message of a report file that is not where it should be (title, text).
constexpr const char *kMissingReportTitle = "Error al Imprimir";
constexpr const char *kMissingReportText = "Archivo Físico del Reporte no Existe";

struct PrintResult {
    int errorNumber = 0;      // 0 when all went well
    QString description;      // the error's description
    bool missingFile = false; // the file to print does not exist (errorNumber is then 53)
    int pages = 0;            // pages printed or written

    bool ok() const { return errorNumber == 0 && !missingFile; }
};

// The text of the message for an error number and description; empty for the numbers that
// show no message (0, 55, 53, 2055).
QString printErrorMessage(int number, const QString &description);

// Shows the message for a result: a missing file as kMissingReportText with the title
// kMissingReportTitle, any other error as printErrorMessage with the title "Impresión"; both
// with a stop icon. Nothing for a result without a message.
void showPrintError(Messenger &messenger, const PrintResult &result);

} // namespace qz
