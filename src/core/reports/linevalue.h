// The rule for a value (a name, a number, a bank, anything read from the database or the
// command line) placed inside a line of a file for the host or a printer.
//
// A value never breaks its line: every control character (codes below 0x20, and 0x7F)
// becomes a blank, so CR, LF, a tab or the tagged printer's page-break character 15 cannot
// split, shift or end a line (blankControls). This holds in every file: report files, tagged
// text files, listings.
//
// A value never starts a tag either. In a tagged text file (a line holding "<!" is a tag line,
// taggedtext.h) a "<!" inside a value is written "< !", a blank between the two, which the
// printer prints as it stands instead of dropping the line (lineValue). A report file needs no
// such change: its reader takes a command's word before the first "|", never from a text
// field, so a "<!" there already prints as stored (the report writer adds only its own rule
// for "|", reportwriter.h).
#pragma once

#include <QString>

namespace qz {

// The value with every control character replaced by a blank; its length is kept, so that
// right-justified columns stay in place.
QString blankControls(const QString &value);

// The value as it may stand inside a line of a tagged text file or a listing: blankControls,
// and "<!" written "< !".
QString lineValue(const QString &value);

} // namespace qz
