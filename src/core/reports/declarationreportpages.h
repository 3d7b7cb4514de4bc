// The three pages of the printed declaration, written command by command.
//
// Geometry (twips): every row is a band from its top T to T + h (270 per text line) with the
// outer cell (150, T)-(11000, T + h) and its label at (300, T + 50), size 8, not bold. A box
// row adds the box-number cell (8500, T)-(8900, T + h) with the number at x 8550 and the value
// cell (8900, T)-(11000, T + h) with the value at x 9000; a question row the answer cell
// (8500, T)-(11000, T + h) with the answer at x 9000. Texts of a row stand at y T + 50 unless
// the layout gives another line. Every value goes through the text utility's report field: 16
// characters, 17 for a negative amount or percentage (its closing parenthesis one column
// further right). An empty value is still written (as blanks), like every cell and label.
//
// Order of the commands inside a row (the layout fixes the elements, not their order): the
// outer cell, the label, then from left to right each further cell followed by its text.
// The page-1 header follows its table's order.
//
// Choices where the layout is silent:
// - the RUC, the name and the telephone of the page-1 header are header texts, not row
//   values: printed as they are, not in a report field;
// - a label that is empty (box 113 before 2005, box 828 without a description) is still
//   written, as a text command with an empty text; the answer cell of box 828 gets no text;
// - the 17-character field serves every value shown in parentheses, the percentage of box
//   110 as well as the amounts; box 160 always takes 16;
// - box 520 is rearranged to dd/mm/yyyy only when it holds 8 characters, otherwise printed
//   as stored (an empty box stays empty).
#pragma once

#include <QString>

namespace qz {

class ReportWriter;
struct DeclarationData;
struct DeclarationSelection;

// A write of the report file failed; the description is the file's error.
struct DeclarationWriteError {
    QString description;
};

// Each writes one page with the page field given; throws DeclarationWriteError as soon as a
// line cannot be written.
void writeIdentificationPage(ReportWriter &writer, const DeclarationSelection &s,
                             const DeclarationData &d, int page);
void writeDeterminationPage(ReportWriter &writer, const DeclarationSelection &s,
                            const DeclarationData &d, int page);
void writeAnnexPage(ReportWriter &writer, const DeclarationData &d, int page);

} // namespace qz
