// The 36-character argument string with which the host starts declrep and declchk:
//   1-2 document type, 3-17 document number, 18-21 form code, 22-27 period (year and month,
//   month "00" for an annual form), 28 a one-character code, 29-36 a number.
// Fields go into statements and file names, so the string is checked before anything is done:
// exactly 36 characters of printable ASCII, a period of six digits, a document type of digits
// (blanks around them allowed, it stands unquoted in statements), and no field used in a file name
// may hold
// "/", "\", ".." or a control character.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace qz {

struct DeclarationArgs {
    QString tipoDoc;    // two characters, unchanged
    QString docId;      // fifteen characters, unchanged
    QString formulario; // four characters
    QString periodo;    // six characters
    QString codigo;     // one character
    QString numero;     // eight characters

    QString docIdTrimmed() const { return docId.trimmed(); }
    // The first four characters when the month is "00", else all six.
    QString queryPeriod() const;
    // The first four characters when the month is "00", else "mm/yyyy".
    QString printPeriod() const;
    // Numeric value of the document type.
    int tipoDocNumber() const;

    // Parses the program's arguments (joined by one blank when the host passed several).
    // On failure returns nullopt and sets *error to a message in the system's language.
    static std::optional<DeclarationArgs> parse(const QStringList &arguments, QString *error);
};

} // namespace qz
