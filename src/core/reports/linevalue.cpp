// Values made safe to stand inside a line of a host file.
#include "core/reports/linevalue.h"

namespace qz {

QString blankControls(const QString &value)
{
    QString out = value;
    for (QChar &c : out) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            c = u' ';
        }
    }
    return out;
}

QString lineValue(const QString &value)
{
    QString out = blankControls(value);
    out.replace(QStringLiteral("<!"), QStringLiteral("< !"));
    return out;
}

} // namespace qz
