// Tests of the placement arithmetic: twips to pixels, centring, keeping a window on the screen
// and drop-down widths.
#include "core/components/windowgeometry.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(WindowGeometry, TwipsToPixels)
{
    EXPECT_EQ(twipsToPixels(9615, 96), 641);
    EXPECT_EQ(twipsToPixels(240, 120), 20);
    EXPECT_EQ(twipsToPixels(7.5, 96), 1); // half a pixel rounds away from zero
    EXPECT_EQ(twipsToPixels(-7.5, 96), -1);
    EXPECT_EQ(twipsToPixels(7.4, 96), 0);
    EXPECT_DOUBLE_EQ(pixelsToTwips(641, 96), 9615.0);
    EXPECT_DOUBLE_EQ(pixelsToTwips(100, 0), 0.0);
}

TEST(WindowGeometry, CentredPosition)
{
    struct Row {
        const char *name;
        double mainWidth, mainHeight, width, height;
        bool raise;
        double left, top;
    };
    const Row rows[] = {
        {"oddWidthDropsTheHalf", 12001, 9000, 8000, 5000, false, 2000, 2000},
        {"oddHeightKeepsTheHalf", 12000, 9001, 8000, 5000, false, 2000, 2000.5},
        {"declarationForm240Higher", 15360, 11520, 9615, 6825, true, 2872, 2107.5},
        {"declarationFormExact", 15360, 11520, 9615, 6825, false, 2872, 2347.5},
        {"raisedAboveTheMainWindow", 10000, 7000, 9000, 6800, true, 500, -140},
        {"widerWindowRoundsDown", 8000, 6000, 8001, 6001, false, -1, -0.5},
    };
    for (const Row &r : rows) {
        const TwipsPoint p = centredPosition(r.mainWidth, r.mainHeight, r.width, r.height, r.raise);
        EXPECT_DOUBLE_EQ(p.left, r.left) << r.name;
        EXPECT_DOUBLE_EQ(p.top, r.top) << r.name;
    }
}

TEST(WindowGeometry, PlacedSize)
{
    struct Row {
        const char *name;
        QSize defined, least, room;
        QMargins frame;
        QSize size;
    };
    const QMargins frame(1, 20, 1, 5);
    const Row rows[] = {
        {"definedWhenItFits", {648, 488}, {300, 200}, {1024, 768}, frame, {648, 488}},
        {"grownToWhatTheContentsNeed", {648, 488}, {700, 300}, {1024, 768}, frame, {700, 488}},
        {"invalidLeastIsNoNeed", {648, 488}, {-1, -1}, {1024, 768}, frame, {648, 488}},
        {"shrunkToTheScreenWithItsFrame", {1200, 900}, {300, 200}, {1024, 768}, frame, {1022, 743}},
        {"exactlyTheScreenWithoutFrame", {1200, 900}, {0, 0}, {1024, 768}, {}, {1024, 768}},
        {"contentsWinOverAScreenTooSmall", {648, 488}, {900, 700}, {800, 600}, frame, {900, 700}},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(placedSize(r.defined, r.least, r.room, r.frame), r.size) << r.name;
    }
}

TEST(WindowGeometry, KeptInside)
{
    struct Row {
        const char *name;
        QPoint wanted;
        QSize frame;
        QRect available;
        QPoint at;
    };
    const QRect screen(0, 0, 1024, 768);
    const QRect belowAPanel(0, 30, 1024, 738);
    const Row rows[] = {
        {"insideStays", {100, 50}, {650, 513}, screen, {100, 50}},
        {"leftAndAboveComeIn", {-4, -4}, {650, 513}, screen, {0, 0}},
        {"rightAndBelowComeBack", {500, 400}, {650, 513}, screen, {374, 255}},
        {"touchingTheCornerStays", {374, 255}, {650, 513}, screen, {374, 255}},
        {"widerThanTheScreenGoesLeft", {-50, 10}, {1100, 513}, screen, {0, 10}},
        {"tallerThanTheScreenGoesUp", {10, 100}, {650, 900}, screen, {10, 0}},
        {"belowThePanel", {20, 0}, {650, 513}, belowAPanel, {20, 30}},
        {"secondScreen", {1000, 100}, {650, 513}, QRect(1024, 0, 1280, 1024), {1024, 100}},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(keptInside(r.wanted, r.frame, r.available), r.at) << r.name;
    }
}

TEST(WindowGeometry, DropDownWidth)
{
    EXPECT_EQ(dropDownWidth(520, 45), 430);
    EXPECT_EQ(dropDownWidth(571, 15), 130); // 571 / 52 is 10
    EXPECT_EQ(dropDownWidth(519, 15), 117); // 519 / 52 is 9
    EXPECT_EQ(dropDownWidth(520, 1), 0);    // never negative
}

} // namespace
} // namespace qz
