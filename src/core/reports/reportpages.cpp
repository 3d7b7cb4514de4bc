// Assigning report commands to preview images and printer pages.
#include "core/reports/reportpages.h"

#include <algorithm>

namespace qz {

namespace {

using Kind = ReportCommand::Kind;

// Image p of the preview without a range, created (with image 0's background) when missing.
// Images stay ordered by number, so a page that was skipped and drawn later finds its place.
ReportPage &imageNumbered(std::vector<ReportPage> &images, int number)
{
    auto it = std::lower_bound(images.begin(), images.end(), number,
                               [](const ReportPage &p, int n) { return p.number < n; });
    if (it != images.end() && it->number == number) {
        return *it;
    }
    ReportPage page;
    page.number = number;
    page.background = images.front().background;
    return *images.insert(it, std::move(page));
}

} // namespace

std::vector<ReportPage> previewPages(const ReportFile &file, const std::optional<PageRange> &range)
{
    std::vector<ReportPage> images(1);
    int lastDrawn = 0;
    for (const ReportCommand &c : file.commands) {
        if (c.kind == Kind::PageCountTag) {
            lastDrawn = 0;
            continue;
        }
        if (c.kind == Kind::ColorTag) {
            images.front().background = c.color;
            continue;
        }
        if (!c.isDrawing()) {
            continue;
        }
        if (!range) {
            // A negative page field names no image; such a command is not drawn.
            if (c.page < 0) {
                continue;
            }
            if (c.page > lastDrawn) {
                lastDrawn = c.page;
            }
            imageNumbered(images, c.page).commands.push_back(c);
            continue;
        }
        if (!range->containsField(c.page)) {
            continue;
        }
        if (c.page > lastDrawn) {
            if (range->first == 1 || lastDrawn >= 1) {
                ReportPage page;
                page.number = static_cast<int>(images.size());
                page.background = images.front().background;
                images.push_back(std::move(page));
            }
            lastDrawn = c.page;
        }
        images.back().commands.push_back(c);
    }
    return images;
}

std::vector<ReportPage> printerPages(const ReportFile &file, const std::optional<PageRange> &range)
{
    std::vector<ReportPage> pages(1);
    for (const ReportCommand &c : file.commands) {
        if (c.kind == Kind::PageBreak) {
            if (!range || range->containsField(c.page)) {
                ReportPage page;
                page.number = static_cast<int>(pages.size());
                pages.push_back(std::move(page));
            }
        } else if (c.isDrawing() && (!range || range->containsField(c.page))) {
            pages.back().commands.push_back(c);
        }
    }
    while (!pages.empty() && pages.back().commands.empty()) {
        pages.pop_back();
    }
    return pages;
}

} // namespace qz
