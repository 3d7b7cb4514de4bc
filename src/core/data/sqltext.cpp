#include "core/data/sqltext.h"

#include "core/data/dberror.h"

#include <QRegularExpression>

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

void requirePlainTableName(const QString &table)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!plain.match(table).hasMatch()) {
        throw DbError(dberr::kSyntax,
                      QStringLiteral("Nombre de tabla no válido en envio_t: '%1'").arg(table));
    }
}

} // namespace qz
