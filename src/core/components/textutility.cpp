// The text-utility component: small, stateless text rules shared by every window.
#include "core/components/textutility.h"

#include <QFileInfo>

#include <array>

namespace qz {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool allAsciiDigits(const QString &text)
{
    for (QChar c : text) {
        if (!isAsciiDigit(c))
            return false;
    }
    return true;
}

// The RUC check digit of ten ASCII digits (the caller has checked them).
int rucCheckDigit(const QString &tenDigits)
{
    static constexpr std::array<int, 10> weights{5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
    int sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += (tenDigits.at(i).unicode() - u'0') * weights[static_cast<size_t>(i)];
    const int d = 11 - sum % 11;
    if (d == 10)
        return 0;
    if (d == 11)
        return 1;
    return d;
}

// The Latin-1 letters that names may hold besides A-Z, as upper-case and lower-case codes.
struct SpanishLetter {
    int upper;
    int lower;
};
constexpr std::array<SpanishLetter, 7> kSpanishLetters{{
    {0xD1, 0xF1}, // Ñ ñ
    {0xC1, 0xE1}, // Á á
    {0xC9, 0xE9}, // É é
    {0xCD, 0xED}, // Í í
    {0xD3, 0xF3}, // Ó ó
    {0xDA, 0xFA}, // Ú ú
    {0xDC, 0xFC}, // Ü ü
}};

} // namespace

bool TextUtility::fileExists(const QString &path) const
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

bool TextUtility::isValidRuc(const QString &ruc) const
{
    if (ruc.size() != 11 || !allAsciiDigits(ruc))
        return false;
    static const std::array<QStringView, 5> prefixes{u"10", u"15", u"16", u"17", u"20"};
    const QStringView prefix = QStringView(ruc).left(2);
    bool knownPrefix = false;
    for (QStringView p : prefixes)
        knownPrefix = knownPrefix || p == prefix;
    if (!knownPrefix)
        return false;
    return rucCheckDigit(ruc) == ruc.at(10).unicode() - u'0';
}

QString TextUtility::completeRuc(const QString &tenDigits)
{
    if (tenDigits.size() != 10 || !allAsciiDigits(tenDigits))
        return {};
    return tenDigits + QChar(u'0' + rucCheckDigit(tenDigits));
}

QString TextUtility::fixedWidth(const QString &text, int width) const
{
    if (width <= 0)
        return {};
    return text.leftJustified(width, u' ', true);
}

QString TextUtility::reportField(const QString &text, int width) const
{
    if (width <= 0)
        return text;
    return text.rightJustified(width, u' ', false);
}

bool TextUtility::isValidDocNumberNumeric(const QString &number) const
{
    const QString trimmed = number.trimmed();
    return !trimmed.isEmpty() && allAsciiDigits(trimmed);
}

bool TextUtility::isValidDocNumberAlnum(const QString &number) const
{
    const QString trimmed = number.trimmed();
    bool hasLetterOrDigit = false;
    for (QChar c : trimmed) {
        if (isAsciiLetter(c) || isAsciiDigit(c))
            hasLetterOrDigit = true;
        else if (c != u'-')
            return false;
    }
    return hasLetterOrDigit;
}

int TextUtility::numericKeyFilter(int keyCode, bool allowDecimalPoint, bool allowMinus,
                                  bool allowBlank) const
{
    if ((keyCode >= '0' && keyCode <= '9') || keyCode == kBackspaceKey || keyCode == kEnterKey)
        return keyCode;
    if ((keyCode == '.' && allowDecimalPoint) || (keyCode == '-' && allowMinus) ||
        (keyCode == ' ' && allowBlank))
        return keyCode;
    return 0;
}

int TextUtility::numericKeyFilter(int keyCode, const QString &currentText, bool allowDecimalPoint,
                                  bool allowMinus, bool allowBlank) const
{
    if (keyCode == '.' && currentText.contains(u'.'))
        return 0;
    if (keyCode == '-' && !currentText.isEmpty())
        return 0;
    return numericKeyFilter(keyCode, allowDecimalPoint, allowMinus, allowBlank);
}

int TextUtility::lettersKeyFilter(int keyCode) const
{
    if (keyCode == kBackspaceKey || keyCode == kEnterKey || keyCode == ' ')
        return keyCode;
    if (keyCode >= 'A' && keyCode <= 'Z')
        return keyCode;
    if (keyCode >= 'a' && keyCode <= 'z')
        return keyCode - ('a' - 'A');
    for (const SpanishLetter &letter : kSpanishLetters) {
        if (keyCode == letter.upper || keyCode == letter.lower)
            return letter.upper;
    }
    return 0;
}

bool TextUtility::approveRecovery() const
{
    return true;
}

} // namespace qz
