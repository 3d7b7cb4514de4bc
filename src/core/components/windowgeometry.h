// Arithmetic of window placement, without windows: twips and pixels, centring on the main
// window, keeping a window on its screen and the width of a drop-down list.
//
// The module gives window sizes and places in twips, 1440 to the inch; a screen's logical
// DPI turns them into pixels. Twips are kept as double because centring halves a difference
// and the host keeps that half twip until it reaches the screen. The host placed windows
// partly off the screen on purpose (the main window at -60, -60 hides its frame's edge);
// here every window's frame stays inside the screen's available area.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace qz {

inline constexpr double kTwipsPerInch = 1440.0;
// How much higher than the true centre the declaration form Frm731 is placed.
inline constexpr double kDeclarationFormRaiseTwips = 240.0;

// twips in pixels at dpi dots per inch, rounded to the nearest pixel (halves away from zero).
int twipsToPixels(double twips, double dpi);
// pixels in twips at dpi, exact.
double pixelsToTwips(int pixels, double dpi);

struct TwipsPoint {
    double left = 0;
    double top = 0;
};

// Where a window of width x height goes when centred on a main window of mainWidth x
// mainHeight (all in twips), as an offset from the main window's top-left corner:
// left = integer part of half the width difference (rounded down, also when the window is the
// wider one), top = half the height difference, minus 240 when raise is set (Frm731).
TwipsPoint centredPosition(double mainWidth, double mainHeight, double width, double height,
                           bool raise);

// The client size of a placed window, in pixels: the defined size grown to least (what its
// contents need), then shrunk so that the window with its frame fits room (the screen's
// available size), but never below least: a window whose contents do not fit the screen keeps
// what they need. An invalid least (negative) counts as no need.
QSize placedSize(QSize defined, QSize least, QSize room, QMargins frame);

// Where the top-left corner of a window's frame of frameSize goes so that the whole frame lies
// inside available: wanted moved as little as possible. A frame wider (taller) than available
// goes to its left (top) edge, so its title bar and menu stay reachable.
QPoint keptInside(QPoint wanted, QSize frameSize, const QRect &available);

// Width in pixels of a drop-down list's open part for characters characters, given the width
// of the 52 letters A-Z a-z in the window's font: (alphabetWidth / 52, integer division) times
// (characters - 2). Never negative.
int dropDownWidth(int alphabetWidth, int characters);

} // namespace qz
