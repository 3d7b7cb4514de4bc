// Windows-1252 conversion with our own table for 0x80-0x9F; every other byte is the code
// point of the same value. The five undefined bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) read as
// the C1 control of the same number and those controls write back to the same byte, so any
// byte sequence survives a read and a write unchanged.
#include "core/data/cp1252.h"

#include <array>

namespace qz {

namespace {

// Code point of each byte 0x80-0x9F; an undefined byte maps to itself.
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80-0x87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 0x88-0x8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90-0x97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 0x98-0x9F
};

} // namespace

QString fromCp1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(kHighTable[b - 0x80]) : QChar(b);
    }
    return text;
}

int cp1252Code(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        return u;
    }
    // The C1 controls 0x80-0x9F other than the undefined five are not in the code page: their
    // bytes stand for other characters. The reverse search also finds those five.
    for (int i = 0; i < static_cast<int>(kHighTable.size()); ++i) {
        if (kHighTable[static_cast<std::size_t>(i)] == u) {
            return 0x80 + i;
        }
    }
    return -1;
}

QByteArray toCp1252(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // A character beyond the basic plane is one character, so it becomes one "?".
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            bytes.append('?');
            continue;
        }
        const int code = cp1252Code(c);
        bytes.append(code < 0 ? '?' : static_cast<char>(static_cast<unsigned char>(code)));
    }
    return bytes;
}

bool isCp1252(const QString &text)
{
    for (QChar c : text) {
        if (cp1252Code(c) < 0) {
            return false;
        }
    }
    return true;
}

} // namespace qz
