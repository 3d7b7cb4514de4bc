// Formatting grid values by column.
#include "core/shell/columnformat.h"

#include "core/data/format.h"

#include <QDate>

namespace qz {

QString columnText(const Value &value, const ColumnFormat &format)
{
    if (format.compactDateText && value.kind() == Value::Kind::Text) {
        const QString text = value.toText();
        const QDate date = QDate::fromString(text, QStringLiteral("yyyyMMdd"));
        return date.isValid() ? formatDate(QDateTime(date, QTime(0, 0)), format.pattern) : text;
    }
    if (format.pattern.isEmpty()) {
        return value.toText();
    }
    return formatValue(value, format.pattern);
}

bool alignsRight(const Value &value, const ColumnFormat &format)
{
    if (value.isNumber()) {
        return true;
    }
    return !format.pattern.isEmpty() && !format.compactDateText && !isDatePattern(format.pattern);
}

} // namespace qz
