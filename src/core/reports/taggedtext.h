// The tagged text file: a listing printed line below line, where a line holding "<!" is a
// tag line that changes the font or asks for a page break and is not printed itself. Only
// the line's first tag counts (from the first "<!" up to and including the next "!>"):
//   <!font!>name<!/font!>   <!fontsize!>n<!/fontsize!>   <!bold!> <!/bold!>
//   <!underline!> <!/underline!>   <!italic!> <!/italic!>   <!np!> (new page before the
//   next text line); any other tag is ignored.
// A file starts in "Courier New" 8, plain, with no page break pending.
//
// In file mode the text lines are copied unchanged (Windows-1252, CR LF), an empty or
// all-blank line as a single blank, and a pending page break as a line holding the single
// character 15 before the next text line. The checker's listing uses the same line writer.
// The output appears whole or not at all (hostlinefile.h). A writer of values into such lines
// passes them through lineValue (linevalue.h), so that no value is read as a tag.
// In printer mode the lines are printed from the top of the printable area in the current
// font, a page full of lines goes on on the next page, and a page break before anything has
// been printed on a page starts no blank page.
#pragma once

#include "core/reports/hostlinefile.h"
#include "core/reports/printresult.h"

#include <QString>

namespace qz {

constexpr char kTaggedPageBreak = '\x0F';

struct TaggedFont {
    QString family = QStringLiteral("Courier New");
    int size = 8; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const TaggedFont &) const = default;
};

// True when the line is a tag line (it holds "<!").
bool isTagLine(const QString &line);

// Applies the first tag of a tag line to the font; returns true for "<!np!>".
bool applyTag(const QString &line, TaggedFont &font);

// The file-mode line writer: text lines unchanged, empty or all-blank ones as one blank, a
// requested page break as a line of character 15 before the next line.
class TaggedLineWriter final {
public:
    // Creates the file, replacing one of that name; false when it cannot be created (the
    // writes that follow then do nothing).
    bool create(const QString &path);
    bool isOpen() const { return file_.isOpen(); }
    void writeLine(const QString &text);
    void requestPageBreak() { pageBreakPending_ = true; }
    bool close() { return file_.close(); }
    bool failed() const { return file_.failed(); }
    QString error() const { return file_.error(); }
    int pageBreaksWritten() const { return breaks_; }

private:
    HostLineFile file_;
    bool pageBreakPending_ = false;
    int breaks_ = 0;
};

// Reads a tagged file's lines. A missing input sets missingFile (error 53), an unreadable one
// printerr::kPathFileAccess; both return false.
bool readTaggedInput(const QString &input, QStringList &lines, PrintResult &result);

// File mode: converts the tagged file at input into output. A missing input gives
// missingFile (and no output file); an input that cannot be read or an output that cannot be
// written gives printerr::kPathFileAccess. result.pages counts the pages written.
PrintResult printTaggedFile(const QString &input, const QString &output);

} // namespace qz
