// Record control code, modulus-11 check digit and order-number verification.
#include "core/data/controlcode.h"
#include "core/data/hosttext.h"

#include "core/data/cp1252.h"
#include "core/data/dberror.h"
#include "core/data/numbertext.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace qz {

namespace {

enum class ColumnKind { Number, Date, Text, Empty, Unknown };

ColumnKind kindOfType(const QString &declaredType)
{
    // The first word of the type, without its size: "text(15)", "Text (4)", "double precision".
    QString t = declaredType.trimmed().toLower();
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t.at(i) == u' ' || t.at(i) == u'(') {
            t.truncate(i);
            break;
        }
    }
    static const QStringList numbers = {
        QStringLiteral("byte"),         QStringLiteral("tinyint"),  QStringLiteral("smallint"),
        QStringLiteral("short"),        QStringLiteral("integer"),  QStringLiteral("int"),
        QStringLiteral("long"),         QStringLiteral("bigint"),   QStringLiteral("counter"),
        QStringLiteral("single"),       QStringLiteral("real"),     QStringLiteral("float"),
        QStringLiteral("double"),       QStringLiteral("currency"), QStringLiteral("money"),
        QStringLiteral("numeric"),      QStringLiteral("decimal"),  QStringLiteral("number"),
        QStringLiteral("autoincrement")};
    static const QStringList dates = {QStringLiteral("date"), QStringLiteral("datetime"),
                                      QStringLiteral("time"), QStringLiteral("timestamp")};
    static const QStringList texts = {
        QStringLiteral("text"),     QStringLiteral("char"),     QStringLiteral("varchar"),
        QStringLiteral("nchar"),    QStringLiteral("nvarchar"), QStringLiteral("character"),
        QStringLiteral("string"),   QStringLiteral("memo"),     QStringLiteral("longtext"),
        QStringLiteral("longchar"), QStringLiteral("note"),     QStringLiteral("clob")};
    static const QStringList empties = {
        QStringLiteral("bit"),       QStringLiteral("yesno"),      QStringLiteral("logical"),
        QStringLiteral("boolean"),   QStringLiteral("bool"),       QStringLiteral("binary"),
        QStringLiteral("varbinary"), QStringLiteral("longbinary"), QStringLiteral("blob"),
        QStringLiteral("image"),     QStringLiteral("oleobject"),  QStringLiteral("general")};
    if (numbers.contains(t)) {
        return ColumnKind::Number;
    }
    if (dates.contains(t)) {
        return ColumnKind::Date;
    }
    if (texts.contains(t)) {
        return ColumnKind::Text;
    }
    if (empties.contains(t)) {
        return ColumnKind::Empty;
    }
    return ColumnKind::Unknown;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The number a number column makes of a text when it is stored: blanks around a plain
// literal (sign, digits, one point, exponent) are allowed, nothing else. nullopt otherwise.
std::optional<Value> engineNumber(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t.at(i) == u'-' || t.at(i) == u'+')) {
        ++i;
    }
    bool digits = false, point = false, exponent = false;
    for (; i < t.size() && isDigit(t.at(i)); ++i) {
        digits = true;
    }
    if (i < t.size() && t.at(i) == u'.') {
        point = true;
        for (++i; i < t.size() && isDigit(t.at(i)); ++i) {
            digits = true;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    if (i < t.size() && (t.at(i) == u'e' || t.at(i) == u'E')) {
        exponent = true;
        ++i;
        if (i < t.size() && (t.at(i) == u'-' || t.at(i) == u'+')) {
            ++i;
        }
        bool expDigits = false;
        for (; i < t.size() && isDigit(t.at(i)); ++i) {
            expDigits = true;
        }
        if (!expDigits) {
            return std::nullopt;
        }
    }
    if (i != t.size()) {
        return std::nullopt;
    }
    bool ok = false;
    if (!point && !exponent) {
        const qlonglong n = t.toLongLong(&ok);
        if (ok) {
            return Value(static_cast<std::int64_t>(n));
        }
    }
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d)) {
        return std::nullopt;
    }
    return Value(d);
}

// The 15 significant digits of a positive finite double, trailing zeros dropped, and the
// decimal exponent of the first one.
struct Digits {
    QString digits;
    int exponent = 0;
};

Digits significantDigits(double positive)
{
    // "d.dddddddddddddde+XX"
    const QString e = QString::number(positive, 'e', 14);
    const qsizetype at = e.indexOf(u'e');
    Digits d;
    d.digits = e.left(at).remove(u'.');
    d.exponent = e.mid(at + 1).toInt();
    while (d.digits.size() > 1 && d.digits.endsWith(u'0')) {
        d.digits.chop(1);
    }
    return d;
}

// A double as the host writes it: up to 15 significant digits, plain decimal, no zero before
// the point. Empty for a value that is not finite.
QString plainNumber(double v)
{
    if (!std::isfinite(v)) {
        return {};
    }
    if (v == 0) {
        return QStringLiteral("0");
    }
    const Digits d = significantDigits(std::fabs(v));
    QString text;
    const auto n = static_cast<int>(d.digits.size());
    if (d.exponent < 0) {
        text = u'.' + QString(-d.exponent - 1, u'0') + d.digits;
    } else if (d.exponent + 1 >= n) {
        text = d.digits + QString(d.exponent + 1 - n, u'0');
    } else {
        text = d.digits.left(d.exponent + 1) + u'.' + d.digits.mid(d.exponent + 1);
    }
    return v < 0 ? u'-' + text : text;
}

QString numberText(const Value &v)
{
    if (v.kind() == Value::Kind::Integer) {
        return QString::number(v.toInt());
    }
    return plainNumber(v.toDouble());
}

// A double as a text column holds it once stored: the engine's own conversion.
QString engineText(double v)
{
    std::array<char, 64> buf{};
    sqlite3_snprintf(static_cast<int>(buf.size()), buf.data(), "%!.15g", v);
    return QString::fromLatin1(buf.data());
}

QString dateText(const QDateTime &dt)
{
    return dt.date().toString(QStringLiteral("yyyyMMdd"));
}

// Text form of a value taken by its own kind.
QString ownTextForm(const Value &v)
{
    switch (v.kind()) {
    case Value::Kind::Integer:
    case Value::Kind::Double:
        return numberText(v);
    case Value::Kind::Date:
        return dateText(v.toDate());
    case Value::Kind::Text:
        return trimBlanks(v.toText());
    case Value::Kind::Null:
        break;
    }
    return {};
}

// The last three digits of a sum written as a whole number, rounded half away from zero.
QString lastThreeDigits(double sum)
{
    if (!std::isfinite(sum)) {
        throw DbError(dberr::kOverflow, QStringLiteral("Desbordamiento"));
    }
    const double whole = std::fabs(std::round(sum));
    QString digits;
    if (whole < 1e15) {
        digits = QString::number(static_cast<std::int64_t>(whole));
    } else {
        // The host writes at most 15 significant digits and fills the rest with zeros.
        const Digits d = significantDigits(whole);
        digits = d.digits + QString(d.exponent + 1 - d.digits.size(), u'0');
    }
    return digits.rightJustified(3, u'0').right(3);
}

} // namespace

QString columnTextForm(const Value &v, const QString &declaredType)
{
    if (v.isNull()) {
        return {};
    }
    switch (kindOfType(declaredType)) {
    case ColumnKind::Number:
        if (v.kind() == Value::Kind::Text) {
            if (std::optional<Value> n = engineNumber(v.toText())) {
                return numberText(*n);
            }
        }
        break;
    case ColumnKind::Date:
        if (v.kind() == Value::Kind::Text) {
            const QDateTime dt = v.toDate();
            if (dt.isValid()) {
                return dateText(dt);
            }
        }
        break;
    case ColumnKind::Text:
        // The column holds text whatever was put in it; the engine converts a number with
        // its own rules, so 5.0 is "5.0" once stored and must count as that.
        if (v.kind() == Value::Kind::Double) {
            return std::isfinite(v.toDouble()) ? engineText(v.toDouble()) : QString();
        }
        if (v.kind() == Value::Kind::Integer) {
            return QString::number(v.toInt());
        }
        break;
    case ColumnKind::Empty:
        return {};
    case ColumnKind::Unknown:
        break;
    }
    return ownTextForm(v);
}

QString recordControlCode(const Record &row, int keyColumns)
{
    const int n = row.columnCount();
    const int k = std::clamp(keyColumns, 0, n);
    const auto &columns = row.columns();

    double keySum = 0;
    for (int i = 0; i < k; ++i) {
        const QString text =
            columnTextForm(row.value(i), columns[static_cast<std::size_t>(i)].declaredType);
        if (std::optional<double> number = readNumberText(text)) {
            keySum += *number;
        }
    }

    constexpr int kMax16 = std::numeric_limits<std::int16_t>::max();
    std::int64_t weighted = 0;
    for (int i = k; i < n - 1; ++i) {
        const QString text =
            columnTextForm(row.value(i), columns[static_cast<std::size_t>(i)].declaredType);
        for (qsizetype p = 1; p <= text.size(); ++p) {
            const int code = cp1252Code(text.at(p - 1));
            const std::int64_t product = p * std::int64_t{code < 0 ? '?' : code};
            if (p > kMax16 || product > kMax16) {
                throw DbError(dberr::kOverflow, QStringLiteral("Desbordamiento"));
            }
            weighted += product;
        }
    }

    return lastThreeDigits(keySum) + lastThreeDigits(static_cast<double>(weighted));
}

QString checkDigit(QString &s)
{
    s = trimBlanks(s).left(17);
    if (s.isEmpty()) {
        return {};
    }
    static constexpr std::array<int, 6> kWeights = {2, 3, 4, 5, 6, 7};
    int sum = 0;
    for (qsizetype i = s.size() - 1, w = 0; i >= 0; --i, ++w) {
        const QChar c = s.at(i);
        const int digit = isDigit(c) ? c.unicode() - u'0' : 0;
        sum += digit * kWeights[static_cast<std::size_t>(w % 6)];
    }
    int d = 11 - sum % 11;
    if (d == 11) {
        d = 1;
    } else if (d == 10) {
        d = 0;
    }
    return s + QChar(u'0' + d);
}

bool verifyOrderNumber(const QString &control, const QString &order, const QString &code)
{
    QString c = control;
    const QString first = checkDigit(c);
    const QString d1 = first.mid(8, 1);
    QString t = c + trimBlanks(order) + d1;
    const QString second = checkDigit(t);
    if (t.isEmpty()) {
        return false;
    }
    return d1 + second.right(1) == trimBlanks(code);
}

} // namespace qz
