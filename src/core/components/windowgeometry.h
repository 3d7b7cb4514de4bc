// Arithmetic of window placement, without windows: twips and pixels, centring on the main
// window and the width of a drop-down list.
//
// The module gives window sizes and places in twips, 1440 to the inch; a screen's logical
// DPI turns them into pixels. Twips are kept as double because centring halves a difference
// and the host keeps that half twip until it reaches the screen.
#pragma once

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

// Width in pixels of a drop-down list's open part for characters characters, given the width
// of the 52 letters A-Z a-z in the window's font: (alphabetWidth / 52, integer division) times
// (characters - 2). Never negative.
int dropDownWidth(int alphabetWidth, int characters);

} // namespace qz
