// Report files: the writer's exact lines and bytes, and the reader's tolerance and limits.
#include "core/reports/reportfile.h"
#include "core/reports/reportwriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

using qz::ReportCommand;
using Kind = ReportCommand::Kind;

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(ReportWriter, LinesHaveTheExactFormats)
{
    EXPECT_EQ(qz::posLine(300, 350, "KORVA", true, 16, 0), "pPos|300|350|KORVA|True|16|0|");
    EXPECT_EQ(qz::posLine(-5, 0, "  a b  ", false, 8, 12), "pPos|-5|0|  a b  |False|8|12|");
    EXPECT_EQ(qz::posLine(1, 2, "", false, 8, 0), "pPos|1|2||False|8|0|");
    EXPECT_EQ(qz::posVertiLine(10, 20, "ABC", false, 7, 1), "pPosVerti|10|20|ABC|False|7|1|");
    EXPECT_EQ(qz::boxLine(150, 300, 1700, 1640, 0), "pCuadro|150|300|1700|1640|0|");
    EXPECT_EQ(qz::fontTagLine(), "<!font!>Courier New<!/font!>");
    EXPECT_EQ(qz::pageCountTagLine(3), "<!nHojas!>3<!/nHojas!>");
    EXPECT_EQ(qz::orientationTagLine(), "<!Orientacion!>V<!/Orientacion!>");
    EXPECT_EQ(qz::colorTagLine(qz::kColorWindowBackground), "<!Color!>&H80000005&<!/Color!>");
    EXPECT_EQ(qz::colorTagLine(qz::kColorLightCyan), "<!Color!>&H00FFFFC0&<!/Color!>");
    // A "|" or a line end in a text would shift the fields or split the command.
    EXPECT_EQ(qz::posLine(1, 2, "a|b\r\nc", true, 8, 0), "pPos|1|2|a\u00A6b  c|True|8|0|");
}

TEST(ReportWriter, RoundTripKeepsEveryCommandAndWindows1252Bytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("00000001.PRN");
    const QString accented = QStringLiteral("Declaración Año Ñandú");
    qz::ReportWriter w;
    ASSERT_TRUE(w.create(path));
    w.fontTag();
    w.pLineaPos(300, 350, accented, true, 16, 0);
    w.pLineaCuadro(150, 300, 1700, 1640, 0);
    w.pNuevaHoja();
    w.pLineaPosVerti(100, 200, "VERT", false, 9, 1);
    w.pLineaPos(-20, 32767, " padded ", false, 0, 1);
    w.pageCountTag(2);
    w.orientationTag();
    w.colorTag(qz::kColorLightCyan);
    ASSERT_TRUE(w.close());

    const QByteArray bytes = fileBytes(path);
    EXPECT_TRUE(bytes.contains("pPos|300|350|Declaraci\xF3n A\xF1o \xD1"
                               "and\xFA|True|16|0|\r\n"));
    EXPECT_TRUE(bytes.startsWith("<!font!>Courier New<!/font!>\r\npPos|"));
    EXPECT_TRUE(bytes.endsWith("<!Color!>&H00FFFFC0&<!/Color!>\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 9);
    EXPECT_EQ(bytes.count('\n'), 9);

    const qz::ReportFile file = qz::readReportFile(path);
    ASSERT_TRUE(file.ok()) << file.errorText.toStdString();
    ASSERT_EQ(file.commands.size(), 9u);
    EXPECT_EQ(file.font, "Courier New");
    EXPECT_EQ(file.pageCount, 2);
    EXPECT_EQ(file.orientation, "V");
    EXPECT_EQ(file.color, qz::kColorLightCyan);

    const ReportCommand &text = file.commands[1];
    EXPECT_EQ(text.kind, Kind::Text);
    EXPECT_EQ(text.text, accented);
    EXPECT_TRUE(text.bold);
    EXPECT_EQ(text.size, 16);
    EXPECT_EQ(text.line, 2);
    const ReportCommand &box = file.commands[2];
    EXPECT_EQ(box.kind, Kind::Box);
    EXPECT_EQ(std::vector<int>({box.x, box.y, box.x2, box.y2, box.page}),
              std::vector<int>({150, 300, 1700, 1640, 0}));
    EXPECT_EQ(file.commands[3].kind, Kind::PageBreak);
    EXPECT_EQ(file.commands[3].page, 0); // the page of the last command before it
    EXPECT_EQ(file.commands[4].kind, Kind::VerticalText);
    EXPECT_EQ(file.commands[4].text, "VERT");
    EXPECT_EQ(file.commands[4].page, 1);
    const ReportCommand &padded = file.commands[5];
    EXPECT_EQ(padded.text, " padded ");
    EXPECT_EQ(padded.x, -20);
    EXPECT_EQ(padded.y, 32767);
    EXPECT_EQ(padded.size, 8); // written 0, drawn at 8
}

TEST(ReportWriter, FailedCreateIsReportedAndLaterCallsDoNothing)
{
    QTemporaryDir dir;
    qz::ReportWriter w;
    EXPECT_FALSE(w.create(dir.filePath("missing/folder/x.PRN")));
    EXPECT_TRUE(w.failed());
    EXPECT_FALSE(w.error().isEmpty());
    w.pLineaPos(1, 2, "x", false, 8, 0);
    w.pNuevaHoja();
    EXPECT_FALSE(w.close());
}

// One line read alone: the command it gives, or nothing.
struct LineCase {
    const char *name;
    const char *line;
    std::optional<Kind> kind; // nullopt: the line is ignored
    int x = 0, y = 0, x2 = 0, y2 = 0;
    const char *text = "";
    bool bold = false;
    int size = 0;
    int page = 0;
};

class ReportLine : public testing::TestWithParam<LineCase> {};

TEST_P(ReportLine, ReadsAsExpected)
{
    const LineCase &c = GetParam();
    const qz::ReportFile file = qz::parseReportLines({QString::fromUtf8(c.line)});
    ASSERT_TRUE(file.ok());
    if (!c.kind) {
        EXPECT_TRUE(file.commands.empty());
        return;
    }
    ASSERT_EQ(file.commands.size(), 1u);
    const ReportCommand &r = file.commands.front();
    EXPECT_EQ(r.kind, *c.kind);
    if (r.kind == Kind::PageBreak) {
        return;
    }
    if (r.kind == Kind::FontTag || r.kind == Kind::OrientationTag) {
        EXPECT_EQ(r.text, QString::fromUtf8(c.text));
        return;
    }
    if (r.kind == Kind::PageCountTag) {
        EXPECT_EQ(r.number, c.size);
        return;
    }
    if (r.kind == Kind::ColorTag) {
        EXPECT_EQ(r.color, static_cast<std::uint32_t>(c.x));
        return;
    }
    EXPECT_EQ(r.x, c.x);
    EXPECT_EQ(r.y, c.y);
    EXPECT_EQ(r.x2, c.x2);
    EXPECT_EQ(r.y2, c.y2);
    EXPECT_EQ(r.text, QString::fromUtf8(c.text));
    EXPECT_EQ(r.bold, c.bold);
    EXPECT_EQ(r.size, c.size);
    EXPECT_EQ(r.page, c.page);
}

const LineCase kLines[] = {
    {"Text", "pPos|300|350|KORVA|True|16|0|", Kind::Text, 300, 350, 0, 0, "KORVA", true, 16},
    {"EmptyTextIsValid", "pPos|1|2||False|10|0|", Kind::Text, 1, 2, 0, 0, "", false, 10},
    {"SizeZeroIsEight", "pPos|1|2|a|False|0|0|", Kind::Text, 1, 2, 0, 0, "a", false, 8},
    {"SizeNotANumberIsEight", "pPos|1|2|a|False|abc|0|", Kind::Text, 1, 2, 0, 0, "a", false, 8},
    {"VerticalSizeStaysZero", "pPosVerti|1|2|ab|False|0|3|", Kind::VerticalText, 1, 2, 0, 0, "ab",
     false, 0, 3},
    {"BoldLowerCaseFalse", "pPos|1|2|a|false|8|0|", Kind::Text, 1, 2, 0, 0, "a", false, 8},
    {"BoldUpperCaseTrue", "pPos|1|2|a|TRUE|8|0|", Kind::Text, 1, 2, 0, 0, "a", true, 8},
    {"BoldTrimmed", "pPos|1|2|a|  True |8|0|", Kind::Text, 1, 2, 0, 0, "a", true, 8},
    {"BoldOtherWord", "pPos|1|2|a|Yes|8|0|", Kind::Text, 1, 2, 0, 0, "a", false, 8},
    {"LeadingNumbers", "pPos|12abc|  7 |a|True|9x|1z|", Kind::Text, 12, 7, 0, 0, "a", true, 9, 1},
    {"MissingFields", "pPos|300|", Kind::Text, 300, 0, 0, 0, "", false, 8},
    {"BlanksKeptInText", "pPos|1|2|  a  |False|8|0|", Kind::Text, 1, 2, 0, 0, "  a  ", false, 8},
    {"LeadingBlanksBeforeWord", "   pPos|5|6|a|True|8|0|", Kind::Text, 5, 6, 0, 0, "a", true, 8},
    {"NegativeCoordinates", "pPos|-150|-1|a|True|8|0|", Kind::Text, -150, -1, 0, 0, "a", true, 8},
    {"Box", "pCuadro|150|300|1700|1640|1|", Kind::Box, 150, 300, 1700, 1640, "", false, 0, 1},
    {"BoxRoundsHalvesToEven", "pCuadro|1.5|2.5|-3.5|x|0.6|", Kind::Box, 2, 2, -4, 0, "", false, 0,
     1},
    {"BoxMissingFields", "pCuadro|7|", Kind::Box, 7, 0, 0, 0, "", false, 0, 0},
    {"PageBreak", "pNuevaHoja", Kind::PageBreak},
    {"PageBreakLeadingBlanks", "    pNuevaHoja", Kind::PageBreak},
    {"PageBreakTrailingText", "pNuevaHoja de nuevo|x|", Kind::PageBreak},
    {"FontTag", "<!font!>Arial<!/font!>", Kind::FontTag, 0, 0, 0, 0, "Arial"},
    {"FontTagWithoutClosing", "<!font!>Arial", Kind::FontTag, 0, 0, 0, 0, "Arial"},
    {"PageCountTag", "<!nHojas!>3<!/nHojas!>", Kind::PageCountTag, 0, 0, 0, 0, "", false, 3},
    {"ColorTag", "<!Color!>&H00FFFFC0&<!/Color!>", Kind::ColorTag, 0x00FFFFC0},
    {"SystemColorTag", "<!Color!>&H80000005&<!/Color!>", Kind::ColorTag,
     static_cast<int>(0x80000005u)},
    {"OrientationTag", "<!Orientacion!>V<!/Orientacion!>", Kind::OrientationTag, 0, 0, 0, 0, "V"},
    {"UnknownWord", "pLinea|1|2|3|", std::nullopt},
    {"UnknownTag", "<!Papel!>A4<!/Papel!>", std::nullopt},
    {"WordWithoutEnding", "pPos", std::nullopt},
    {"PlainText", "hola mundo", std::nullopt},
    {"EmptyLine", "", std::nullopt},
    {"CaseOfWordMatters", "ppos|1|2|a|True|8|0|", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Lines, ReportLine, testing::ValuesIn(kLines),
                         [](const testing::TestParamInfo<LineCase> &i) { return i.param.name; });

TEST(ReportReader, BadLinesBetweenGoodOnesAreSkipped)
{
    const qz::ReportFile file = qz::parseReportLines({
        "pPos|1|1|uno|True|8|0|",
        "basura sin separador",
        "pFoo|1|2|",
        "pCuadro|1|2|3|4|0|",
        "",
        "pPos|x|y|dos|False||0|",
    });
    ASSERT_TRUE(file.ok());
    ASSERT_EQ(file.commands.size(), 3u);
    EXPECT_EQ(file.commands[0].text, "uno");
    EXPECT_EQ(file.commands[1].kind, Kind::Box);
    EXPECT_EQ(file.commands[1].line, 4);
    EXPECT_EQ(file.commands[2].text, "dos");
    EXPECT_EQ(file.commands[2].x, 0);
    EXPECT_EQ(file.commands[2].size, 8);
    EXPECT_EQ(file.commands[2].line, 6);
}

TEST(ReportReader, NumbersOutsideSixteenBitsStopTheReading)
{
    struct Case {
        const char *line;
        bool overflows;
    };
    const Case cases[] = {
        {"pPos|32767|-32768|a|True|8|0|", false}, {"pPos|32767.4|1|a|True|8|0|", false},
        {"pPos|-32768.5|1|a|True|8|0|", false}, // the even neighbour is -32768
        {"pPos|32767.5|1|a|True|8|0|", true},   // the even neighbour is 32768
        {"pPos|32768|1|a|True|8|0|", true},       {"pPos|1|-32769|a|True|8|0|", true},
        {"pCuadro|1|2|3|40000|0|", true},         {"pPosVerti|1|2|a|True|70000|0|", true}, // size
        {"pPos|1|2|a|True|8|99999|", true},                                                // page
    };
    for (const Case &c : cases) {
        const qz::ReportFile file = qz::parseReportLines(
            {"pPos|1|1|antes|True|8|0|", c.line, "pPos|1|1|despues|True|8|0|"});
        if (!c.overflows) {
            EXPECT_TRUE(file.ok()) << c.line;
            EXPECT_EQ(file.commands.size(), 3u) << c.line;
            continue;
        }
        EXPECT_EQ(file.status, qz::ReportFile::Status::Overflow) << c.line;
        EXPECT_EQ(file.errorNumber, 6) << c.line;
        EXPECT_EQ(file.errorLine, 2) << c.line;
        EXPECT_FALSE(file.errorText.isEmpty());
        ASSERT_EQ(file.commands.size(), 1u) << c.line; // what came before is kept
        EXPECT_EQ(file.commands[0].text, "antes");
    }
}

TEST(ReportReader, HeaderTagsAtTheEndStillCount)
{
    const qz::ReportFile file = qz::parseReportLines({
        "pPos|1|1|a|True|8|0|",
        "pNuevaHoja",
        "pPos|1|1|b|True|8|1|",
        "<!nHojas!>2<!/nHojas!>",
        "<!Orientacion!>V<!/Orientacion!>",
        "<!Color!>&H0000FF00&<!/Color!>",
    });
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.pageCount, 2);
    EXPECT_EQ(file.color, 0x0000FF00u);
    EXPECT_EQ(file.commands.back().page, 1);
}

TEST(ReportReader, MissingAndUnreadableFiles)
{
    QTemporaryDir dir;
    const qz::ReportFile missing = qz::readReportFile(dir.filePath("00000009.PRN"));
    EXPECT_EQ(missing.status, qz::ReportFile::Status::MissingFile);
    EXPECT_EQ(missing.errorNumber, 53);
    const qz::ReportFile folder = qz::readReportFile(dir.path());
    EXPECT_EQ(folder.status, qz::ReportFile::Status::MissingFile);
}

TEST(ReportReader, LfOnlyAndWindows1252Input)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lf.PRN");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("pPos|1|2|Ca\xF1\x80|True|8|0|\npNuevaHoja\n");
    f.close();
    const qz::ReportFile file = qz::readReportFile(path);
    ASSERT_TRUE(file.ok());
    ASSERT_EQ(file.commands.size(), 2u);
    EXPECT_EQ(file.commands[0].text, QStringLiteral("Cañ€"));
}

} // namespace
