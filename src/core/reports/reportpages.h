// Which page each drawing command of a report file lands on, in the preview and on the
// printer, with or without a range of pages.
//
// Preview: the page field decides. Without a range, a command of a page p above the last
// page drawn opens image p (taking image 0's background) and becomes the last page drawn;
// commands of page 0 go to image 0; a "<!nHojas!>" tag sets the last page drawn back to 0;
// a "<!Color!>" tag sets the background of image 0. With a range, commands of pages outside
// it are skipped; a page in range above the last page drawn opens a new image after the last
// one when the range starts at page 1 or something was already drawn past page 0, and the
// command goes on the last image: the first page of the range is always image 0.
//
// Printer: the page field is not used for placement. Commands outside the range are skipped;
// "pNuevaHoja" starts a new printer page when no range is in force or when the page of the
// last command read is in range. Empty pages at the end are not printed.
#pragma once

#include "core/reports/reportfile.h"
#include "core/reports/reportwriter.h"

#include <optional>
#include <vector>

namespace qz {

// Pages first..last, 1-based and inclusive; page p of the file has the page field p - 1.
struct PageRange {
    int first = 1;
    int last = 1;
    bool containsField(int pageField) const
    {
        return first <= pageField + 1 && pageField + 1 <= last;
    }
};

struct ReportPage {
    int number = 0; // the image number (preview without a range: the page field)
    std::uint32_t background = kColorLightCyan; // colour-tag value (reportColor() maps it)
    std::vector<ReportCommand> commands;        // drawing commands only, in file order
};

// The preview's images, image 0 first; there is always at least image 0.
std::vector<ReportPage> previewPages(const ReportFile &file,
                                     const std::optional<PageRange> &range = std::nullopt);

// The printer's pages in order; empty when nothing is to be printed.
std::vector<ReportPage> printerPages(const ReportFile &file,
                                     const std::optional<PageRange> &range = std::nullopt);

} // namespace qz
