// The page-range dialog's checks and key rule, the preview's paging, its request (help topic,
// file, PDF name) and the messages of a reading that fails.
#include "core/reports/pagerangecheck.h"
#include "core/reports/previewload.h"
#include "core/reports/previewnavigation.h"
#include "core/reports/previewrequest.h"
#include "core/reports/reportwriter.h"

#include "support/scriptedmessenger.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct RangeCase {
    const char *name;
    const char *first;
    const char *last;
    int total;
    const char *message; // nullptr when the range passes
    int from = 0, to = 0;
};

const char *const kBlankFirst = "Ingrese página de inicio.";
const char *const kBelowOne = "Página inicial debe ser a partir de 1.";
const char *const kBeyondTotal = "Página inicial no debe ser mayor a total de páginas del reporte.";
const char *const kBlankLast = "Ingrese página de Fin.";
const char *const kLastBeforeFirst = "Página de Inicio debe ser mayor a página de Fin.";

void PrintTo(const RangeCase &c, std::ostream *os)
{
    *os << c.name;
}

class PageRangeChecks : public testing::TestWithParam<RangeCase> {};

TEST_P(PageRangeChecks, FirstFailingCheckOrRange)
{
    const RangeCase &c = GetParam();
    const qz::PageRangeCheck check = qz::checkPageRange(c.first, c.last, c.total);
    if (c.message) {
        EXPECT_FALSE(check.ok());
        EXPECT_EQ(check.message, QString::fromUtf8(c.message));
        return;
    }
    ASSERT_TRUE(check.ok()) << check.message.toStdString();
    EXPECT_EQ(check.range->first, c.from);
    EXPECT_EQ(check.range->last, c.to);
    EXPECT_TRUE(check.message.isEmpty());
}

const RangeCase kRangeCases[] = {
    {"Whole", "1", "2", 2, nullptr, 1, 2},
    {"SecondOnly", "2", "2", 2, nullptr, 2, 2},
    {"LastBeyondTotalIsAllowed", "1", "9", 2, nullptr, 1, 9},
    {"BlanksAroundDigits", " 2 ", "3 ", 3, nullptr, 2, 3},
    {"RoundsUp", "1.6", "2.4", 3, nullptr, 2, 2},
    {"HalfGoesToEven", "1", "2.5", 3, nullptr, 1, 2},
    {"PointOnlyPointSix", "0.6", "1", 3, nullptr, 1, 1},
    {"FirstBlank", "", "", 2, kBlankFirst},
    {"FirstOnlyBlanks", "   ", "2", 2, kBlankFirst},
    {"FirstZero", "0", "1", 2, kBelowOne},
    {"FirstRoundsToZero", "0.4", "1", 2, kBelowOne},
    {"FirstJustAPoint", ".", "1", 2, kBelowOne},
    {"FirstBeyondTotal", "3", "3", 2, kBeyondTotal},
    {"FirstRoundsBeyondTotal", "2.6", "3", 2, kBeyondTotal},
    {"HugeFirst", "99999999999999", "1", 2, kBeyondTotal},
    {"LastBlank", "1", "", 2, kBlankLast},
    {"LastOnlyBlanks", "1", "  ", 2, kBlankLast},
    {"LastBeforeFirst", "2", "1", 2, kLastBeforeFirst},
    {"LastZero", "1", "0", 2, kLastBeforeFirst},
    // Order: the first page is checked completely before the last page is looked at.
    {"BadFirstWinsOverBlankLast", "0", "", 2, kBelowOne},
    {"BeyondTotalWinsOverBackwards", "5", "1", 2, kBeyondTotal},
    {"BlankFirstWinsOverEverything", "", "0", 0, kBlankFirst},
};

INSTANTIATE_TEST_SUITE_P(Cases, PageRangeChecks, testing::ValuesIn(kRangeCases),
                         [](const auto &row) { return std::string(row.param.name); });

TEST(PageRangeDialog, CaptionAndKeyRule)
{
    EXPECT_EQ(qz::pageRangeCaption(3), QString::fromUtf8("Impresión de 3 páginas"));
    for (char c : QByteArray("0123456789. ")) {
        if (c != '\0') {
            EXPECT_TRUE(qz::pageFieldAccepts(c)) << c;
        }
    }
    EXPECT_TRUE(qz::pageFieldAccepts(8)); // backspace
    for (int c : std::initializer_list<int>{'a', 'e', 'E', '-', '+', ',', '/', ':', 13, 9, 0xF1}) {
        EXPECT_FALSE(qz::pageFieldAccepts(c)) << c;
    }
}

TEST(PreviewNavigation, NextPreviousAndFirst)
{
    struct Step {
        int code;
        int expected;
        bool changed;
    };
    qz::PreviewNavigation nav;
    nav.setPageCount(3);
    const Step steps[] = {
        {qz::kMostrarAnterior, 0, false}, // nothing before the first
        {qz::kMostrarSiguiente, 1, true},  {qz::kMostrarSiguiente, 2, true},
        {qz::kMostrarSiguiente, 2, false}, // nothing after the last
        {qz::kMostrarAnterior, 1, true},   {qz::kMostrarPrimera, 0, true},
        {qz::kMostrarPrimera, 0, false},   {7, 0, false}, // an unknown code changes nothing
    };
    for (const Step &s : steps) {
        EXPECT_EQ(nav.pMostrar(s.code), s.changed) << s.code;
        EXPECT_EQ(nav.iNroHoja(), s.expected) << s.code;
    }
    nav.pMostrar(qz::kMostrarSiguiente);
    nav.setPageCount(1); // a new reading starts again at image 0
    EXPECT_EQ(nav.iNroHoja(), 0);
    EXPECT_FALSE(nav.pMostrar(qz::kMostrarSiguiente));
    nav.setPageCount(0); // image 0 always exists
    EXPECT_EQ(nav.pageCount(), 1);
}

TEST(PreviewRequest, HelpTopicTypeWordAndPdfName)
{
    EXPECT_EQ(qz::previewHelpTopic(true), 1012);
    EXPECT_EQ(qz::previewHelpTopic(false), 1011);
    EXPECT_TRUE(qz::opensPreview("Vprevia"));
    EXPECT_FALSE(qz::opensPreview("xx"));
    EXPECT_FALSE(qz::opensPreview("vprevia"));

    qz::PreviewRequest r{"/rpt", "00000012.PRN", "20100000001", "2006", false};
    EXPECT_EQ(qz::defaultPdfName(r), "20100000001_2006_00000012.pdf");
    r.ruc = " 20100000001 ";
    r.period.clear();
    EXPECT_EQ(qz::defaultPdfName(r), "20100000001_00000012.pdf");
    r.ruc = "../20\\1:0";
    EXPECT_EQ(qz::defaultPdfName(r), ".._20_1_0_00000012.pdf"); // never leaves the folder
    EXPECT_EQ(qz::defaultPdfName(qz::PreviewRequest{}), "reporte.pdf");
}

TEST(PreviewRequest, ReportPathFindsTheFileIgnoringCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    qz::ReportWriter w;
    ASSERT_TRUE(w.create(dir.filePath("00000003.prn")));
    w.pNuevaHoja();
    ASSERT_TRUE(w.close());
    const qz::PreviewRequest r{dir.path(), "00000003.PRN", {}, {}, false};
    EXPECT_EQ(qz::reportPath(r), dir.filePath("00000003.prn"));
}

TEST(PreviewReading, MessagesOfAFailedReading)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    qz::test::ScriptedMessenger messages;

    const qz::ReportFile missing = qz::readReportFile(dir.filePath("00000001.PRN"));
    EXPECT_TRUE(qz::showReadingError(missing, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].icon, qz::MessageIcon::Critical);
    EXPECT_EQ(messages.shown[0].title, "Error al Imprimir");
    EXPECT_EQ(messages.shown[0].text, QString::fromUtf8("Archivo Físico del Reporte no Existe"));
    EXPECT_TRUE(qz::readingResult(missing).missingFile);
    EXPECT_EQ(qz::previewPages(missing).size(), 1u); // an empty first page

    const qz::ReportFile overflow = qz::parseReportLines(
        {"pPos|1|1|antes|True|8|0|", "pPos|1|1|b|True|8|1|", "pCuadro|1|1|1|40000|1|"});
    messages.shown.clear();
    EXPECT_TRUE(qz::showReadingError(overflow, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].icon, qz::MessageIcon::Critical);
    EXPECT_EQ(messages.shown[0].title, "Error");
    EXPECT_EQ(messages.shown[0].text,
              "Error tecnico: 6\n" + overflow.errorText + "\nIntente nuevamente por favor.");
    const qz::PrintResult result = qz::readingResult(overflow);
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(result.missingFile);
    EXPECT_EQ(result.errorNumber, 6);
    EXPECT_EQ(qz::previewPages(overflow).size(), 2u); // what was read before the error

    messages.shown.clear();
    const qz::ReportFile good = qz::parseReportLines({"pPos|1|1|a|True|8|0|"});
    EXPECT_FALSE(qz::showReadingError(good, messages));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(qz::readingResult(good).ok());
}

} // namespace
