// The identity-document-type list: one text entry per PARAM '044' row allowed in a use column;
// the windows' drop-down lists show these entries.
//
// Entry layout (1-based characters): 1-2 the type code as two digits ("06"), 3-7 "  -  ",
// 8-67 the short name in a field of 60, 68-69 the length of the number, 70 blank, 71 the data
// kind, 72 blank, 73 the length kind. The list shows the first part; the windows read the
// values after the name field back from the chosen entry. A blank first entry is 75 blanks.
#pragma once

#include <QString>
#include <QStringList>

namespace qz {

class Database;
class TextUtility;

inline constexpr int kDocTypeNameWidth = 60;
inline constexpr int kDocTypeBlankEntryLength = 75;

// The statement that reads the document types whose use flag at column is "1", in their
// display order.
QString documentTypeStatement(int column);

// One entry from the statement's fields Codigo, TipoDoc, LenDoc, TipoDato, TipoLongitud (see
// the layout above). The code comes formatted by the statement; the others are trimmed here.
QString documentTypeEntry(const TextUtility &text, const QString &codigo, const QString &tipoDoc,
                          const QString &lenDoc, const QString &tipoDato,
                          const QString &tipoLongitud);

// The entries of the list for a use column: 75 blanks first when blankFirst, then one per row.
// Throws DbError.
QStringList documentTypeEntries(Database &db, const TextUtility &text, int column, bool blankFirst);

// What a list shows of an entry: its first part, the code and the short name ("06  -  RUC").
// The values after the name field travel with the entry, out of sight.
QString shownDocumentType(const QString &entry);

// Fields read back from an entry: the two-character code (1-2), the length of the number
// (68-69), the data kind (71) and the length kind (73); empty where the entry is too short.
QString entryTypeCode(const QString &entry);
QString entryNumberLength(const QString &entry);
QString entryDataKind(const QString &entry);
QString entryLengthKind(const QString &entry);

} // namespace qz
