// The report-file writer: pages described as absolutely positioned texts, boxes and page
// breaks, one command a line, Windows-1252 with CR LF.
//
// Line formats (every field, the command word included, is followed by "|"):
//   pPos|x|y|text|True|size|page|        text, top-left corner at (x, y) twips
//   pPosVerti|x|y|text|False|size|page|  text drawn one character below the other
//   pCuadro|x1|y1|x2|y2|page|            the four sides of a rectangle
//   pNuevaHoja                           end of the current page
// and the header tags "<!font!>Courier New<!/font!>", "<!nHojas!>n<!/nHojas!>",
// "<!Orientacion!>V<!/Orientacion!>" and "<!Color!>&H00BBGGRR&<!/Color!>". Numbers are decimal
// without leading zeros. A writer puts the lines in drawing order, page after page, with one
// "pNuevaHoja" between two pages and the page field agreeing with the breaks; header tags go
// at the start or at the end of the file. The reader (reportfile.h) accepts both.
//
// Texts follow the rule of every value in a host file (linevalue.h: control characters become
// blanks, so a text never breaks its command), and never hold "|" (it would shift every field
// after it): "|" is written as the broken bar "¦". A "<!" in a text is kept: the reader never
// takes a tag from a command's fields.
#pragma once

#include "core/reports/hostlinefile.h"

#include <QString>

#include <cstdint>

namespace qz {

constexpr const char *kReportFont = "Courier New";
constexpr const char *kPageBreakWord = "pNuevaHoja";
// The page colours the system writes: the window background (a system colour) and the
// preview's light cyan.
constexpr std::uint32_t kColorWindowBackground = 0x80000005u;
constexpr std::uint32_t kColorLightCyan = 0x00FFFFC0u;

// The lines themselves, for writers that assemble files on their own and for tests.
QString posLine(int x, int y, const QString &text, bool bold, int size, int page);
QString posVertiLine(int x, int y, const QString &text, bool bold, int size, int page);
QString boxLine(int x1, int y1, int x2, int y2, int page);
QString fontTagLine(const QString &name = QString::fromLatin1(kReportFont));
QString pageCountTagLine(int pages);
QString orientationTagLine(); // "V", the only orientation written
// "&H" + 8 upper-case hex digits + "&", e.g. "<!Color!>&H80000005&<!/Color!>".
QString colorTagLine(std::uint32_t color);
// The text as it can stand in a command field (see above).
QString reportFieldText(const QString &text);

// Writes one report file. Calls after a failed create() do nothing, and the first failed
// write stays in failed()/error(), so a writer can run all its steps and report once.
class ReportWriter final {
public:
    // Creates the file, replacing a file of that name; false when it cannot be created.
    bool create(const QString &path) { return file_.create(path); }
    bool isOpen() const { return file_.isOpen(); }

    // One text command: "pPos", x, y, text, "True"/"False", size, page.
    void pLineaPos(int x, int y, const QString &text, bool bold, int size, int page);
    // One vertical text command: "pPosVerti" with the fields of pLineaPos.
    void pLineaPosVerti(int x, int y, const QString &text, bool bold, int size, int page);
    // One box command: "pCuadro", x1, y1, x2, y2, page.
    void pLineaCuadro(int x1, int y1, int x2, int y2, int page);
    // The page break line "pNuevaHoja".
    void pNuevaHoja();

    void fontTag(const QString &name = QString::fromLatin1(kReportFont));
    void pageCountTag(int pages);
    void orientationTag();
    void colorTag(std::uint32_t color);

    // Any line unchanged (for the fixed lines a caller writes as they are, such as a command
    // with "false" in lower case).
    void writeLine(const QString &line) { file_.writeLine(line); }

    // Closes the file; false when it could not be written completely.
    bool close() { return file_.close(); }
    bool failed() const { return file_.failed(); }
    QString error() const { return file_.error(); }

private:
    HostLineFile file_;
};

} // namespace qz
