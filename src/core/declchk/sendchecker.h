// The checks declchk makes on one stored declaration before the host sends it: the
// reorganization answers (boxes 827 and 828) and the count of extinguished companies (box
// 521) against the companies detail F731EMPRESAS, and box 115 against the companies' tax.
//
// The inconsistencies found go into a numbered listing (Windows-1252, CR LF) written through
// the tagged text line writer: a date and time line, two blank lines, the title line, then
// "001) ...", "002) ...". The checker only reads the database. A step that fails goes on with
// the next: a box that cannot be read counts as empty and a count as 0, a listing that cannot
// be written still lets the checks decide. The listing and the marker are each put in place
// whole or not at all (hostlinefile.h); a listing that could not be written is said so
// (listingWritten()) and leaves no older listing under its name.
//
// Two choices of ours where the host's procedure leaves the outcome open:
// - The box lookup uses the document number trimmed, as declmod stores it; a number the host
//   pads with blanks would otherwise find no box at all.
// - When box 115 cannot be compared (its stored value is not a number, or the companies'
//   tax cannot be summed), the declaration is inconsistent and the listing says so in a line
//   of its own (kMensajeNoComparable) instead of repeating the line written before it.
#pragma once

#include "core/data/database.h"
#include "core/data/declarationargs.h"
#include "core/data/filetest.h"
#include "core/reports/taggedtext.h"

#include <QString>

#include <optional>

namespace qz {

// Messages of the listing, without the running number.
extern const char *const kMensajeCantidad;     // company count against box 521
extern const char *const kMensajeTipo5;        // companies present, reorganization type 5
extern const char *const kMensajeSinReorg;     // companies present, no reorganization
extern const char *const kMensajeNoComparable; // "%1": the box that could not be compared

class SendChecker final {
public:
    SendChecker(Database &db, const DeclarationArgs &args) : db_(db), args_(args) {}

    // Runs every check, writing the listing to listingPath. True when consistent.
    bool ValidaEnvio(const QString &listingPath);
    // Whether the last ValidaEnvio wrote its listing completely, and why not.
    bool listingWritten() const { return listingError_.isEmpty(); }
    QString listingError() const { return listingError_; }

    // The stored value of a box (three-digit text); empty when the declaration has no row for
    // it or it cannot be read.
    QString ValorCasilla(const QString &box);

    // Rows of the declaration in a table; 0 when they cannot be counted.
    qint64 CuentaRegistros(const QString &table);

    // Compares a box with the sum of a detail column. Returns the listing line (running
    // number raised by one) when they disagree or cannot be compared, else empty text.
    QString ComparaDetalle(const QString &box, const QString &table, const QString &column,
                           int &numero);

    // Sum of the numeric values of a column over the declaration's rows that hold a value;
    // 0 when there are none, nullopt when the table cannot be read.
    std::optional<double> SumaDetalle(const QString &table, const QString &column);

private:
    // The WHERE part shared by the company queries (document type with one leading blank).
    QString companyKeys() const;
    void writeListed(const QString &line);

    Database &db_;
    DeclarationArgs args_;
    TaggedLineWriter listing_;
    QString listingError_;
};

// Writes the one-line error marker "0731 ERROR", whole or not at all; false with the reason
// when it could not be written.
bool MarcaError(const QString &path, QString *error = nullptr);

// The message for a listing or marker that could not be written: the file and the reason.
QString fileNotWrittenText(const QString &path, const QString &reason);

} // namespace qz
