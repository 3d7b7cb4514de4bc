// Lookups in CLAVES, ERROR and PARAM.
#include "core/data/lookups.h"

#include "core/data/sqltext.h"

namespace qz {

QString userType(Database &db, const QString &usuario)
{
    QueryResult r = db.query(QStringLiteral("SELECT * FROM CLAVES") +
                             QStringLiteral(" WHERE Usuario='") + sqlText(usuario) + u'\'');
    if (r.isEmpty()) {
        return QStringLiteral("1");
    }
    return r.at(0, QStringLiteral("Tipo")).toText();
}

QString errorText(Database &db, int code)
{
    QString four = QStringLiteral("%1").arg(code, 4, 10, QChar(u'0'));
    QueryResult r = db.query(QStringLiteral("SELECT * FROM ERROR") +
                             QStringLiteral(" WHERE CodError='") + sqlText(four) + u'\'');
    if (r.isEmpty()) {
        return {};
    }
    return r.at(0, QStringLiteral("DescError")).toText();
}

std::optional<QString> paramFuncion(Database &db, const QString &numero, const QString &argumento)
{
    QueryResult r =
        db.query(QStringLiteral("SELECT * FROM PARAM WHERE Numero='") + sqlText(numero) +
                 QStringLiteral("' AND Argumento='") + sqlText(argumento) + u'\'');
    if (r.isEmpty()) {
        return std::nullopt;
    }
    return r.at(0, QStringLiteral("Funcion")).toText();
}

QString fixedField(const QString &record, int position, int length)
{
    if (position < 1 || length <= 0) {
        return {};
    }
    return record.mid(position - 1, length);
}

QString builtinRucRecord()
{
    return QStringLiteral("REG. UNICO DE CONTRIBUYENTES   RUC           11 000110 01 "
                          "000001000001100111011111                                           "
                          "0 5 0");
}

QString documentTypeRecord(Database &db, const QString &type)
{
    std::optional<QString> record = paramFuncion(db, QStringLiteral("044"), type);
    if (record) {
        return *record;
    }
    return type.trimmed() == QLatin1String("6") ? builtinRucRecord() : QString();
}

} // namespace qz
