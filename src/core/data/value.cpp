// Conversions of database values.
#include "core/data/value.h"

#include "core/data/numbertext.h"

#include <cmath>
#include <limits>

namespace qz {

namespace {

std::int64_t clampToInt(double v)
{
    if (!std::isfinite(v)) {
        return 0;
    }
    if (v >= static_cast<double>(std::numeric_limits<std::int64_t>::max())) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (v <= static_cast<double>(std::numeric_limits<std::int64_t>::min())) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(v);
}

} // namespace

std::int64_t Value::toInt() const
{
    switch (kind()) {
    case Kind::Integer:
        return std::get<std::int64_t>(data_);
    case Kind::Double:
        return clampToInt(std::get<double>(data_));
    case Kind::Text:
        return clampToInt(val(std::get<QString>(data_)));
    default:
        return 0;
    }
}

double Value::toDouble() const
{
    switch (kind()) {
    case Kind::Integer:
        return static_cast<double>(std::get<std::int64_t>(data_));
    case Kind::Double:
        return std::get<double>(data_);
    case Kind::Text:
        return val(std::get<QString>(data_));
    default:
        return 0;
    }
}

QString Value::toText() const
{
    switch (kind()) {
    case Kind::Integer:
        return QString::number(std::get<std::int64_t>(data_));
    case Kind::Double:
        return QString::number(std::get<double>(data_), 'g', 15);
    case Kind::Text:
        return std::get<QString>(data_);
    case Kind::Date:
        return isoDateText(std::get<QDateTime>(data_));
    default:
        return {};
    }
}

QDateTime Value::toDate() const
{
    if (kind() == Kind::Date) {
        return std::get<QDateTime>(data_);
    }
    if (kind() == Kind::Text) {
        const QString &t = std::get<QString>(data_);
        QDateTime dt = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!dt.isValid()) {
            dt = QDateTime(QDate::fromString(t, QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
        }
        return dt;
    }
    return {};
}

QString isoDateText(const QDateTime &dt)
{
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace qz
