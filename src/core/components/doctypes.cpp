// The identity-document-type list entries.
#include "core/components/doctypes.h"

#include "core/components/textutility.h"
#include "core/data/database.h"
#include "core/data/format.h"

namespace qz {

QString documentTypeStatement(int column)
{
    return QStringLiteral(" SELECT format(trim(Par1.Argumento),'00') as Codigo,"
                          "mid(Par1.Funcion,32,11) as TipoDoc, mid(Par1.Funcion,46,2) as LenDoc ,"
                          " mid(Par1.Funcion,128,1) as TipoDato,"
                          " mid(Par1.Funcion,130,1) as TipoLongitud") +
           QStringLiteral(" FROM Param as Par1 ") +
           QStringLiteral(" WHERE Par1.Numero = '044' and mid(Funcion,") + QString::number(column) +
           QStringLiteral(",1)='1' ") + QStringLiteral(" Order By mid(Funcion,56,2)");
}

QString documentTypeEntry(const TextUtility &text, const QString &codigo, const QString &tipoDoc,
                          const QString &lenDoc, const QString &tipoDato,
                          const QString &tipoLongitud)
{
    // The length is read back from characters 68-69, so a one-digit length keeps its place
    // with a leading zero; a length that is not a number is left as it is.
    const QString length = formatText(lenDoc.trimmed(), QStringLiteral("00"));
    return codigo + QStringLiteral("  -  ") + text.fixedWidth(tipoDoc, kDocTypeNameWidth) + length +
           u' ' + tipoDato.trimmed() + u' ' + tipoLongitud.trimmed();
}

QStringList documentTypeEntries(Database &db, const TextUtility &text, int column, bool blankFirst)
{
    QStringList entries;
    if (blankFirst)
        entries << QString(kDocTypeBlankEntryLength, u' ');
    const QueryResult rows = db.query(documentTypeStatement(column));
    for (int r = 0; r < rows.rowCount(); ++r) {
        entries << documentTypeEntry(text, rows.at(r, 0).toText(), rows.at(r, 1).toText(),
                                     rows.at(r, 2).toText(), rows.at(r, 3).toText(),
                                     rows.at(r, 4).toText());
    }
    return entries;
}

QString shownDocumentType(const QString &entry)
{
    return entry.left(7 + kDocTypeNameWidth).trimmed();
}

QString entryTypeCode(const QString &entry)
{
    return entry.left(2);
}

QString entryNumberLength(const QString &entry)
{
    return entry.mid(67, 2);
}

QString entryDataKind(const QString &entry)
{
    return entry.mid(70, 1);
}

QString entryLengthKind(const QString &entry)
{
    return entry.mid(72, 1);
}

} // namespace qz
