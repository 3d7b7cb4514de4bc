// Drawing report commands with a QPainter: on an image for the preview and in tests, on a
// printer for paper and PDF.
//
// Positions are twips (1440 to the inch) from the painter's origin, converted with the
// device's logical resolution, so the same page comes out the same size on every device.
// All text is drawn in "Courier New" (on Linux the metric-compatible "Liberation Mono" stands
// in for it through the font configuration), black, with its top-left corner at (x, y); a
// vertical text puts character i (from 0) at y + 190 * i. Boxes are four black lines one
// device pixel wide.
#pragma once

#include "core/reports/reportpages.h"

#include <QColor>
#include <QFont>
#include <QImage>

#include <cstdint>

class QPainter;

namespace qz {

constexpr int kTwipsPerInch = 1440;
constexpr int kVerticalTextStep = 190; // twips from one character of a vertical text to the next
// Size of a preview image.
constexpr int kPreviewPageWidth = 18000;
constexpr int kPreviewPageHeight = 15000;

// The report font at a size in points (sizes below 1 are drawn at 1 point).
QFont reportFont(bool bold, int pointSize);

// The colour a colour-tag value stands for: 00BBGGRR, or with the high bit set a system
// colour by index (5, the window background, is white).
QColor reportColor(std::uint32_t value);

// Draws one drawing command (other kinds draw nothing).
void drawReportCommand(QPainter &painter, const ReportCommand &command);

// Draws the commands of a page (the background is the caller's).
void drawReportPage(QPainter &painter, const ReportPage &page);

// The page as a preview image of 18000 x 15000 twips at the given resolution, filled with
// the page's background.
QImage renderReportPage(const ReportPage &page, int dotsPerInch = 96);

} // namespace qz
