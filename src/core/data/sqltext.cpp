#include "core/data/sqltext.h"

namespace qz {

QString sqlText(const QString &value)
{
    QString out = value;
    out.replace(u'\'', QStringLiteral("''"));
    return out;
}

QString sqlQuoted(const QString &value)
{
    return u'\'' + sqlText(value) + u'\'';
}

} // namespace qz
