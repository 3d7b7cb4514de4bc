// Reading a report file (the format is described in reportwriter.h) into its commands.
//
// Each line is read on its own. Its command word is taken from the start of the line up to
// the first point where the text read so far ends with "|" (dropped), "!>" or "aHoja" (the
// end of "pNuevaHoja"), and trimmed of blanks; a line with none of these is ignored, and so
// is a line with any other word. So "  pNuevaHoja" and "pNuevaHojaXYZ" are page breaks.
// The fields of "pPos", "pPosVerti" and "pCuadro" are the rest of the line split at "|";
// a missing field is empty. Numbers are read by their leading number (an empty or unreadable
// field reads 0) and rounded to a 16-bit whole number, halves to the even neighbour as the
// host rounds; a number outside -32768..32767 stops the reading with an overflow error. The
// bold field is trimmed and compared with "True" ignoring case; a "pPos" size that reads 0
// becomes 8 (a "pPosVerti" size stays as read). Header tags may stand anywhere; their value
// is the text between the opening and the closing tag (the rest of the line when the closing
// tag is missing), and a colour is "&H" hex digits followed by one more character.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace qz {

// One line of a report file that means something, in file order.
struct ReportCommand {
    enum class Kind {
        Text,           // pPos
        VerticalText,   // pPosVerti
        Box,            // pCuadro
        PageBreak,      // pNuevaHoja
        FontTag,        // <!font!>: text holds the name
        PageCountTag,   // <!nHojas!>: number holds the count
        ColorTag,       // <!Color!>: color holds the value, 00BBGGRR or a system colour
        OrientationTag, // <!Orientacion!>: text holds the value
    };

    Kind kind = Kind::Text;
    int x = 0, y = 0;   // text position, or the first corner of a box (twips)
    int x2 = 0, y2 = 0; // the second corner of a box
    QString text;       // the text of a text command, or a tag's value
    bool bold = false;
    int size = 0; // points
    // The page field of a drawing command; for any other line the page of the last drawing
    // command read before it (0 before the first).
    int page = 0;
    std::int64_t number = 0; // page count of a PageCountTag
    std::uint32_t color = 0; // value of a ColorTag
    int line = 0;            // 1-based line number in the file

    bool isDrawing() const
    {
        return kind == Kind::Text || kind == Kind::VerticalText || kind == Kind::Box;
    }
};

struct ReportFile {
    enum class Status {
        Ok,
        MissingFile, // the file does not exist
        Unreadable,  // it exists but cannot be read
        Overflow,    // a number outside the 16-bit range; the commands before it are kept
    };

    std::vector<ReportCommand> commands;
    // The last value of each header tag found (empty / nullopt when the file has none).
    QString font;
    std::optional<std::int64_t> pageCount;
    QString orientation;
    std::optional<std::uint32_t> color;

    Status status = Status::Ok;
    int errorNumber = 0; // the host's number: 53 file not found, 75 unreadable, 6 overflow
    QString errorText;   // the host's description of that error
    int errorLine = 0;   // 1-based line that stopped the reading (Overflow)

    bool ok() const { return status == Status::Ok; }
};

// The command word of a line by the rule above, with *rest (when given) set to the index
// just after the word (after its "|" for a drawing command). Empty when the line has none.
QString reportCommandWord(const QString &line, int *rest = nullptr);

// Reads the lines of a report file (already decoded) by the rules above.
ReportFile parseReportLines(const QStringList &lines);

// Reads a report file from disk (Windows-1252, CR LF or LF).
ReportFile readReportFile(const QString &path);

} // namespace qz
