// Windows-1252 conversion: our table against the C library's iconv, round trips, and
// characters the code page cannot hold.
#include "core/data/cp1252.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <algorithm>
#include <array>
#include <optional>
#include <set>

namespace {

constexpr std::array<int, 5> kUndefined = {0x81, 0x8D, 0x8F, 0x90, 0x9D};

// The code point iconv reads for one Windows-1252 byte; nullopt when it refuses the byte.
std::optional<char32_t> iconvDecode(unsigned char byte)
{
    iconv_t cd = iconv_open("UTF-32LE", "WINDOWS-1252");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        cd = iconv_open("UTF-32LE", "CP1252");
    }
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "iconv has no Windows-1252";
        return std::nullopt;
    }
    char in[1] = {static_cast<char>(byte)};
    unsigned char out[8] = {};
    char *inPtr = in;
    char *outPtr = reinterpret_cast<char *>(out);
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || outLeft != sizeof out - 4) {
        return std::nullopt;
    }
    return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24);
}

TEST(Cp1252, EveryByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    const QString text = qz::fromCp1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_TRUE(qz::isCp1252(text));
    EXPECT_EQ(qz::toCp1252(text), all);
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(qz::cp1252Code(text.at(b)), b) << "byte " << b;
    }
}

TEST(Cp1252, AgreesWithIconv)
{
    std::set<int> refused;
    for (int b = 0; b < 256; ++b) {
        const std::optional<char32_t> expected = iconvDecode(static_cast<unsigned char>(b));
        if (!expected) {
            refused.insert(b);
            continue;
        }
        const QString ours = qz::fromCp1252(QByteArray(1, static_cast<char>(b)));
        ASSERT_EQ(ours.size(), 1);
        EXPECT_EQ(static_cast<char32_t>(ours.at(0).unicode()), *expected) << "byte " << b;
    }
    // iconv may refuse only the bytes the code page leaves undefined.
    for (int b : refused) {
        EXPECT_NE(std::find(kUndefined.begin(), kUndefined.end(), b), kUndefined.end())
            << "iconv refused byte " << b;
    }
    EXPECT_LE(refused.size(), kUndefined.size());
}

TEST(Cp1252, UndefinedBytesReadAsTheirControls)
{
    for (int b : kUndefined) {
        const QString text = qz::fromCp1252(QByteArray(1, static_cast<char>(b)));
        EXPECT_EQ(text.at(0).unicode(), b);
        EXPECT_EQ(qz::toCp1252(QString(QChar(b))), QByteArray(1, static_cast<char>(b)));
    }
}

TEST(Cp1252, SpanishTextRoundTrips)
{
    const QString text = QStringLiteral("Declaración Ñandú €");
    const QByteArray bytes = qz::toCp1252(text);
    EXPECT_EQ(bytes, QByteArray("Declaraci\xF3n \xD1"
                                "and\xFA \x80"));
    EXPECT_EQ(qz::fromCp1252(bytes), text);
    EXPECT_TRUE(qz::isCp1252(text));
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    struct Row {
        const char *name;
        QString text;
        QByteArray bytes;
    };
    const Row rows[] = {
        {"latin a with macron", QStringLiteral("cā"), "c?"},
        {"cjk", QStringLiteral("中文"), "??"},
        {"beyond the basic plane is one character", QStringLiteral("a\U0001F600b"), "a?b"},
        {"lone surrogate", QString(QChar(0xD800)), "?"},
        // U+0080 is a control whose byte stands for the euro sign.
        {"defined C1 control", QString(QChar(0x80)), "?"},
        {"mixed", QStringLiteral("€ā€"), "\x80?\x80"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(qz::toCp1252(row.text), row.bytes) << row.name;
        EXPECT_FALSE(qz::isCp1252(row.text)) << row.name;
    }
    EXPECT_EQ(qz::cp1252Code(QChar(0x0101)), -1);
    EXPECT_EQ(qz::cp1252Code(QChar(0x80)), -1);
    EXPECT_EQ(qz::cp1252Code(QChar(0x20AC)), 0x80);
    EXPECT_EQ(qz::cp1252Code(QChar(0x0178)), 0x9F);
}

} // namespace
