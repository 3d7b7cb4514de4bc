// A report file and its SPOOL row, made together: the row is never there without the complete
// file, and a failure leaves neither.
//
// The file is written first, in the report folder under a temporary name of its own. Only when
// it is complete (written, flushed and on disk) is the row registered, inside one BEGIN
// IMMEDIATE transaction that also gives the file its registered name; a rename that fails rolls
// the row back, and a commit that fails removes the renamed file. A program killed at any point
// leaves at worst a temporary file or, between the rename and the commit, a file under the
// number that was not registered and that the next registration takes again (it replaces it).
#pragma once

#include "core/data/database.h"

#include <QString>

#include <functional>

namespace qz {

class ReportWriter;

// What the SPOOL row says of its report (see spool.h).
struct SpoolEntry {
    QString codRep;
    int tipDoc = 6;
    QString docId;
    QString usuario;
};

struct RegisteredReport {
    QString archivo;     // the registered name (eight digits and ".PRN"); empty on failure
    int errorNumber = 0; // the host's number: the engine's, or 75 for a file that failed
    QString description;

    bool ok() const { return errorNumber == 0 && !archivo.isEmpty(); }
};

// Writes a report with write() into rptDir and registers it. write() gets a writer whose file is
// already created and closes nothing; whatever it leaves in the file is registered as long as
// every line reached the disk.
RegisteredReport writeRegisteredReport(Database &db, const QString &rptDir, const SpoolEntry &entry,
                                       const std::function<void(ReportWriter &)> &write);

} // namespace qz
