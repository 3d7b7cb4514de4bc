// Which image or printer page each command lands on, with and without a page range.
#include "core/reports/reportpages.h"

#include <gtest/gtest.h>

namespace {

// The texts of each page's commands, joined: {"a b", "c"}.
std::vector<std::string> texts(const std::vector<qz::ReportPage> &pages)
{
    std::vector<std::string> out;
    for (const qz::ReportPage &p : pages) {
        QStringList t;
        for (const qz::ReportCommand &c : p.commands) {
            t << c.text;
        }
        out.push_back(t.join(u' ').toStdString());
    }
    return out;
}

using Pages = std::vector<std::string>;

const QStringList kThreePages = {
    "<!font!>Courier New<!/font!>",   "pPos|1|1|a1|True|8|0|",
    "pPos|1|2|a2|True|8|0|",          "pNuevaHoja",
    "pPos|1|1|b1|True|8|1|",          "pNuevaHoja",
    "pPos|1|1|c1|True|8|2|",          "pCuadro|1|1|2|2|2|",
    "<!nHojas!>3<!/nHojas!>",         "<!Orientacion!>V<!/Orientacion!>",
    "<!Color!>&H80000005&<!/Color!>",
};

// A page range and the pages it gives, by name.
struct RangeCase {
    const char *name;
    std::optional<qz::PageRange> range;
    Pages expected;
};

TEST(PreviewPages, ByPageFieldAndRange)
{
    const qz::ReportFile file = qz::parseReportLines(kThreePages);
    ASSERT_TRUE(file.ok());
    const RangeCase cases[] = {
        {"AllPages", std::nullopt, {"a1 a2", "b1", "c1 "}},
        {"WholeRange", qz::PageRange{1, 3}, {"a1 a2", "b1", "c1 "}},
        {"SecondOnlyLandsOnImageZero", qz::PageRange{2, 2}, {"b1"}},
        {"LastTwo", qz::PageRange{2, 3}, {"b1", "c1 "}},
        {"FirstOnly", qz::PageRange{1, 1}, {"a1 a2"}},
        {"BeyondTheEnd", qz::PageRange{3, 9}, {"c1 "}},
        {"NothingInRange", qz::PageRange{5, 9}, {""}},
    };
    for (const RangeCase &c : cases) {
        EXPECT_EQ(texts(qz::previewPages(file, c.range)), c.expected) << c.name;
    }
}

TEST(PreviewPages, ColourTagColoursImageZeroAndTheImagesAfterIt)
{
    // At the end of the file the tag only reaches image 0; the others were made before it.
    const std::vector<qz::ReportPage> atEnd = qz::previewPages(qz::parseReportLines(kThreePages));
    ASSERT_EQ(atEnd.size(), 3u);
    EXPECT_EQ(atEnd[0].background, qz::kColorWindowBackground);
    EXPECT_EQ(atEnd[1].background, qz::kColorLightCyan);

    const std::vector<qz::ReportPage> atStart = qz::previewPages(qz::parseReportLines(
        {"<!Color!>&H000000FF&<!/Color!>", "pPos|1|1|a|True|8|0|", "pPos|1|1|b|True|8|1|"}));
    ASSERT_EQ(atStart.size(), 2u);
    EXPECT_EQ(atStart[0].background, 0x000000FFu);
    EXPECT_EQ(atStart[1].background, 0x000000FFu);

    const std::vector<qz::ReportPage> none =
        qz::previewPages(qz::parseReportLines({"pPos|1|1|a|True|8|0|"}));
    EXPECT_EQ(none[0].background, qz::kColorLightCyan);
}

TEST(PreviewPages, RepeatedHeaderAndLatePagesReuseTheirImage)
{
    // Two summaries one after the other, each with its own header tags, on page 0 and 1.
    const qz::ReportFile file = qz::parseReportLines({
        "<!nHojas!>2<!/nHojas!>",
        "pPos|1|1|a|True|8|0|",
        "pPos|1|1|b|True|8|1|",
        "<!nHojas!>2<!/nHojas!>",
        "pPos|1|1|c|True|8|0|",
        "pPos|1|1|d|True|8|1|",
        "pPos|1|1|e|True|8|-1|",
    });
    EXPECT_EQ(texts(qz::previewPages(file)), (Pages{"a c", "b d"}));
    // A page that shows up after a later one takes its place in order.
    const qz::ReportFile gap = qz::parseReportLines(
        {"pPos|1|1|a|True|8|0|", "pPos|1|1|c|True|8|2|", "pPos|1|1|b|True|8|1|"});
    const std::vector<qz::ReportPage> images = qz::previewPages(gap);
    EXPECT_EQ(texts(images), (Pages{"a", "b", "c"}));
    EXPECT_EQ(images[2].number, 2);
}

TEST(PrinterPages, BreaksRangeAndNoBlankPageAtTheEnd)
{
    const qz::ReportFile file = qz::parseReportLines(kThreePages);
    const RangeCase cases[] = {
        {"AllPages", std::nullopt, {"a1 a2", "b1", "c1 "}},
        {"FirstOnlyNoBlankAfter", qz::PageRange{1, 1}, {"a1 a2"}},
        {"SecondOnly", qz::PageRange{2, 2}, {"b1"}},
        {"FirstAndSecond", qz::PageRange{1, 2}, {"a1 a2", "b1"}},
        {"NothingInRange", qz::PageRange{7, 8}, {}},
    };
    for (const RangeCase &c : cases) {
        EXPECT_EQ(texts(qz::printerPages(file, c.range)), c.expected) << c.name;
    }
    // Page fields do not place commands on paper; only the breaks do.
    const qz::ReportFile mixed =
        qz::parseReportLines({"pPos|1|1|a|True|8|1|", "pPos|1|1|b|True|8|0|", "pNuevaHoja",
                              "pNuevaHoja", "pPos|1|1|c|True|8|0|", "pNuevaHoja"});
    EXPECT_EQ(texts(qz::printerPages(mixed)), (Pages{"a b", "", "c"}));
}

} // namespace
