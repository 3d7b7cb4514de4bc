// The page-range dialog's rules (frmImpxPag): its caption, the key rule of its two page
// fields and the checks of "&Preliminar", in the order the user meets them.
#pragma once

#include "core/reports/reportpages.h"

#include <QString>

#include <optional>

namespace qz {

// "Impresión de " + N + " páginas".
QString pageRangeCaption(int pages);

// The key rule of "&Desde :" and "&Hasta :": digits, ".", the blank and backspace (8) are
// typed; any other character is dropped. Enter (13) is not typed: it moves to the next field.
bool pageFieldAccepts(int keyCode);

// A page field's text as a page: its leading number (val) rounded to a whole page, halves to
// the even neighbour as the host rounds ("1.6" is 2, "2.5" is 2); numbers beyond the range
// of int are held at its ends.
int pageNumber(const QString &text);

struct PageRangeCheck {
    std::optional<PageRange> range; // set when every check passed
    QString message;                // else the message of the first check that failed

    bool ok() const { return range.has_value(); }
};

// The checks of "&Preliminar" for a report of totalPages pages, in this order: first page
// blank, first page below 1, first page beyond the total, last page blank, last page before
// the first. A blank field is empty or holds only blanks. The last page is not compared with
// the total: pages past the end simply do not exist.
PageRangeCheck checkPageRange(const QString &first, const QString &last, int totalPages);

} // namespace qz
