// Text helpers with the host runtime's meaning.
#pragma once

#include <QString>

namespace qz {

// The host's Trim: removes blanks (spaces) at both ends; tabs and line ends stay.
QString trimBlanks(const QString &text);

} // namespace qz
