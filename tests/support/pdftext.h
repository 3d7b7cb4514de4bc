// Reading PDF output back with poppler's tools, for the printing tests.
#pragma once

#include <QString>

namespace qz::test {

// The text of pages first..last (1-based; 0 for all) of a PDF file, by pdftotext -layout;
// empty when the tool fails.
QString pdfText(const QString &pdf, int first = 0, int last = 0);

// The page count pdfinfo reports; -1 when the tool fails.
int pdfPageCount(const QString &pdf);

} // namespace qz::test
