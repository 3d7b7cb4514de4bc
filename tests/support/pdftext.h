// Reading PDF output back with poppler's tools, for the printing tests.
#pragma once

#include <QString>

#include <vector>

namespace qz::test {

// The text of pages first..last (1-based; 0 for all) of a PDF file, by pdftotext -layout;
// empty when the tool fails.
QString pdfText(const QString &pdf, int first = 0, int last = 0);

// The page count pdfinfo reports; -1 when the tool fails.
int pdfPageCount(const QString &pdf);

// One word of a PDF page as pdftotext -bbox places it: points from the page's top-left
// corner, y downwards; the box spans the font's ascent and descent, not the ink.
struct PdfWord {
    int page = 0; // 1-based
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

// Every word of the PDF in reading order; empty when the tool fails.
std::vector<PdfWord> pdfWords(const QString &pdf);

} // namespace qz::test
