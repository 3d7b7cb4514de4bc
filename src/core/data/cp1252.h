// Windows-1252, the code page of every file the system writes for the host and the printer.
// Our own table: 0x80-0x9F hold 27 characters (five codes undefined, read as the C1 control of
// the same number), every other byte is the Unicode code point of the same value. A character
// that Windows-1252 cannot hold is written as "?".
#pragma once

#include <QByteArray>
#include <QString>

namespace qz {

QString fromCp1252(const QByteArray &bytes);
QByteArray toCp1252(const QString &text);
// The Windows-1252 code of a character, or -1 when the code page cannot hold it.
int cp1252Code(QChar c);
bool isCp1252(const QString &text);

} // namespace qz
