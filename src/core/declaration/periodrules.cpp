// Exercise and date checks.
#include "core/declaration/periodrules.h"

#include "core/data/numbertext.h"

namespace qz {

bool maskIncomplete(const QString &text, int length)
{
    return text.contains(u'_') || text.size() < length;
}

bool ValidaPeriodo(const QString &exercise, const QDate &today)
{
    if (maskIncomplete(exercise, 4)) {
        return false;
    }
    return val(exercise) > 0 && exercise >= QLatin1String("2005") && val(exercise) <= today.year();
}

bool ValidaFecha(const QString &fecha, const QString &exercise, const QDate &today)
{
    if (maskIncomplete(fecha, 10)) {
        return false;
    }
    const QString d = fecha.mid(6, 4) + fecha.mid(3, 2) + fecha.mid(0, 2);
    if (!(val(d) > 0)) {
        return false;
    }
    if (!(exercise + QStringLiteral("0101") <= d &&
          d <= today.toString(QStringLiteral("yyyyMMdd")) &&
          d <= exercise + QStringLiteral("0430"))) {
        return false;
    }
    const double month = val(fecha.mid(3, 2));
    return month >= 1 && month <= 12;
}

} // namespace qz
