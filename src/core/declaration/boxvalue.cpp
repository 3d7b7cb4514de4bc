// Box values.
#include "core/declaration/boxvalue.h"

#include "core/data/format.h"
#include "core/data/numbertext.h"

namespace qz {

double boxNumber(const QString &text)
{
    return val(formatText(text, QString::fromLatin1(kPlainPattern)));
}

double ratioNumber(const QString &text)
{
    return val(text);
}

bool isEmptyBox(const QString &text)
{
    return text.trimmed().isEmpty();
}

QString resultText(double value)
{
    return formatNumber(value, QString::fromLatin1(kResultPattern));
}

QString resultText(Currency value)
{
    return formatCurrency(value, QString::fromLatin1(kResultPattern));
}

QString patternText(double value, const char *pattern)
{
    return formatNumber(value, QString::fromLatin1(pattern));
}

QString reformat(const QString &text, const char *pattern)
{
    return formatText(text, QString::fromLatin1(pattern));
}

} // namespace qz
