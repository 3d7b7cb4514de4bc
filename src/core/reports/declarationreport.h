// The printed declaration of form 0731 (pGeneraDeclaracion): one stored declaration written
// as a report file (reportwriter.h). Page 1 holds the identification and the answers to the
// option questions, page 2 the taxable base, the tax debt, the form of payment and the
// complementary data, and page 3, on request, the annex of box 105.
//
// The file: "<!font!>Courier New<!/font!>", the pages with the page fields 0, 1 (and 2), one
// "pNuevaHoja" between two pages, then "<!nHojas!>n<!/nHojas!>" (n = 2, or 3 with the annex),
// "<!Orientacion!>V<!/Orientacion!>" and "<!Color!>&H00FFFFC0&<!/Color!>"; the file is closed.
// The lines of each page and their order are in declarationreportpages.cpp; the loading of
// the declaration and its statements in declarationreportdata.h.
//
// Failure: any error while loading (a database error) or writing (a write error of the file)
// stops the body at that point; the three closing tags are still written and the file closed,
// so the caller shows what was written. The message then is "Error - " + description for the
// error numbers 482 and 484 and the description alone for any other, with a stop icon.
#pragma once

#include <QString>

namespace qz {

class Database;
class Messenger;
class ReportWriter;

// The declaration to print, as the print dialog (FrmTipPrnR) selects it.
struct DeclarationSelection {
    QString ruc;  // taxpayer's RUC (document type 6), as listed
    QString name; // taxpayer name shown in the selection list
    QString form = QStringLiteral("0731");
    QString period;        // four-digit exercise
    bool sent = false;     // bImprimeEnviada: read from HCAB/HDET instead of CAB/DET
    QString correl;        // sending number of a sent declaration, empty otherwise
    QString controlNumber; // CONTROL of a sent declaration, empty otherwise
    bool annex = false;    // page 3 (box 105 annex) wanted
};

struct DeclarationReportResult {
    int pages = 0;       // the page count written in the nHojas tag: 2, or 3 with the annex
    int errorNumber = 0; // 0 when everything was loaded and written
    QString description; // the error's description
    bool failed() const { return errorNumber != 0; }
};

// Error numbers of the failure message's "Error - " form (the host's printer errors).
constexpr int kDeclarationPrinterError = 482;
constexpr int kDeclarationPrinterError2 = 484;
// The error number of a write error of the report file (a file that cannot be written).
constexpr int kDeclarationWriteError = 75;

// The text of the failure message: "Error - " + description for 482 and 484, otherwise the
// description alone.
QString declarationErrorMessage(int number, const QString &description);

// The title of the failure message. None is fixed, so by the system's convention the
// messages of a dialog carry its caption: the caption of the print dialog that calls the
// writer, "Imprimir Declaraciones Enviadas" for a sent declaration and "Imprimir
// Declaraciones" for a registered one.
QString declarationReportTitle(bool sent);

// Writes the whole declaration into the open report file and closes it. Shows the failure
// message (stop icon) through messenger when loading or writing fails. A writer that is not
// open gives a failed result without a message (its creation already failed, and the caller
// reported that) and nothing is written.
DeclarationReportResult pGeneraDeclaracion(Database &db, ReportWriter &writer,
                                           const DeclarationSelection &selection,
                                           Messenger &messenger);

} // namespace qz
