// Display formats of the host runtime (Format): numeric patterns rendered on the decimal digits
// of the value, date patterns rendered from a local date and time, and the reading of texts
// before they are formatted. Patterns are parsed on every call; they are short.
#include "core/data/format.h"

#include <QList>

#include <cmath>

namespace qz {

namespace {

// ---- Numeric patterns -------------------------------------------------------------------

enum class Kind { Zero, Hash, Point, Comma, Percent, Literal };

struct Token {
    Kind kind;
    QString text; // for literals
};

bool isPlaceholder(const Token &t)
{
    return t.kind == Kind::Zero || t.kind == Kind::Hash;
}

// Splits a pattern at ";" outside quotes and escapes.
QStringList splitSections(const QString &pattern)
{
    QStringList sections(1);
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'"') {
            quoted = !quoted;
        } else if (c == u'\\' && !quoted && i + 1 < pattern.size()) {
            sections.back() += c;
            sections.back() += pattern.at(++i);
            continue;
        } else if (c == u';' && !quoted) {
            sections.append(QString());
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

QList<Token> tokenize(const QString &section)
{
    QList<Token> tokens;
    auto literal = [&tokens](const QString &text) { tokens.append({Kind::Literal, text}); };
    bool point = false;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section.at(i);
        if (c == u'0') {
            tokens.append({Kind::Zero, {}});
        } else if (c == u'#') {
            tokens.append({Kind::Hash, {}});
        } else if (c == u'.' && !point) {
            tokens.append({Kind::Point, {}});
            point = true;
        } else if (c == u',') {
            tokens.append({Kind::Comma, {}});
        } else if (c == u'%') {
            tokens.append({Kind::Percent, QStringLiteral("%")});
        } else if (c == u'\\' && i + 1 < section.size()) {
            literal(section.at(++i));
        } else if (c == u'"') {
            const qsizetype end = section.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? section.size() : end;
            literal(section.mid(i + 1, stop - i - 1));
            i = stop;
        } else {
            literal(c);
        }
    }
    return tokens;
}

// One section of a numeric pattern, split at its decimal point.
struct Layout {
    QList<Token> whole;    // before the point, commas removed
    QList<Token> fraction; // after the point, commas removed
    bool hasPoint = false;
    bool grouping = false;
    bool percent = false;
    int wholePlaceholders = 0;
    int minWholeDigits = 0; // placeholders from the first "0" to the point
    int decimals = 0;
    int minDecimals = 0; // placeholders up to the last "0" after the point
};

Layout parseLayout(const QString &section)
{
    Layout layout;
    bool afterPoint = false;
    bool zeroSeen = false;
    for (const Token &t : tokenize(section)) {
        if (t.kind == Kind::Point) {
            layout.hasPoint = afterPoint = true;
            continue;
        }
        if (t.kind == Kind::Comma) {
            // Grouping is by three whatever the commas' places; in the decimals they mean
            // nothing.
            layout.grouping = layout.grouping || !afterPoint;
            continue;
        }
        layout.percent = layout.percent || t.kind == Kind::Percent;
        if (afterPoint) {
            layout.fraction.append(t);
            if (isPlaceholder(t)) {
                ++layout.decimals;
                if (t.kind == Kind::Zero) {
                    layout.minDecimals = layout.decimals;
                }
            }
        } else {
            layout.whole.append(t);
            if (isPlaceholder(t)) {
                ++layout.wholePlaceholders;
                zeroSeen = zeroSeen || t.kind == Kind::Zero;
                if (zeroSeen) {
                    ++layout.minWholeDigits;
                }
            }
        }
    }
    return layout;
}

// Renders a rounded magnitude with one section.
QString render(const Layout &layout, const DecimalDigits &number)
{
    QString digits = number.wholeDigits();
    if (digits.size() < layout.minWholeDigits) {
        digits.prepend(QString(layout.minWholeDigits - digits.size(), u'0'));
    }
    const int n = static_cast<int>(digits.size());
    QString out;
    int next = 0;
    auto emitDigit = [&] {
        out += digits.at(next);
        const int fromRight = n - 1 - next;
        if (layout.grouping && fromRight > 0 && fromRight % 3 == 0) {
            out += u',';
        }
        ++next;
    };
    // Digits fill the placeholders from the right; the first placeholder takes every digit
    // the pattern has no room for. Literals stay where the pattern puts them.
    int placeholder = 0;
    for (const Token &t : layout.whole) {
        if (!isPlaceholder(t)) {
            out += t.text;
            continue;
        }
        const int covers = layout.wholePlaceholders - 1 - placeholder;
        if (placeholder == 0) {
            while (n - next > covers) {
                emitDigit();
            }
        } else if (next < n && n - 1 - next == covers) {
            emitDigit();
        }
        ++placeholder;
    }
    while (next < n) {
        // A pattern without whole placeholders still shows the whole part.
        emitDigit();
    }
    if (layout.hasPoint) {
        out += u'.';
    }
    QString fraction = number.fractionDigits(layout.decimals);
    while (fraction.size() > layout.minDecimals && fraction.endsWith(u'0')) {
        fraction.chop(1);
    }
    int at = 0;
    for (const Token &t : layout.fraction) {
        if (!isPlaceholder(t)) {
            out += t.text;
        } else if (at < fraction.size()) {
            out += fraction.at(at++);
        }
    }
    return out;
}

// The value with 15 significant digits, as the host shows a number without a pattern.
QString plainNumber(double value)
{
    return QString::number(value, 'g', 15).toUpper();
}

QString formatDigits(DecimalDigits number, const QString &pattern)
{
    const QStringList sections = splitSections(pattern);
    const bool negative = number.negative && !number.isZero();
    number.negative = false;
    bool minus = negative;
    QString section = sections.at(0);
    if (negative && sections.size() >= 2 && !sections.at(1).isEmpty()) {
        section = sections.at(1);
        minus = false;
    }
    Layout layout = parseLayout(section);
    if (layout.percent) {
        number.point += 2;
    }
    roundDecimals(number, layout.decimals);
    if (number.isZero()) {
        minus = false;
        if (sections.size() >= 3 && !sections.at(2).isEmpty()) {
            layout = parseLayout(sections.at(2));
        } else if (section != sections.at(0)) {
            layout = parseLayout(sections.at(0));
        }
    }
    const QString text = render(layout, number);
    return minus ? QStringLiteral("-") + text : text;
}

// ---- Date patterns ----------------------------------------------------------------------

const QDate kSerialBase(1899, 12, 30);
constexpr double kMinSerial = -657434; // 0100-01-01
constexpr double kMaxSerial = 2958466; // 10000-01-01, excluded

bool isDateLetter(QChar c)
{
    const QChar l = c.toLower();
    return l == u'd' || l == u'm' || l == u'y' || l == u'h' || l == u'n' || l == u's';
}

struct DateToken {
    QChar letter; // lower case; null for a literal
    int count = 0;
    QString text;
};

QList<DateToken> tokenizeDate(const QString &pattern)
{
    QList<DateToken> tokens;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (isDateLetter(c)) {
            const QChar l = c.toLower();
            qsizetype j = i;
            while (j < pattern.size() && pattern.at(j).toLower() == l) {
                ++j;
            }
            tokens.append({l, static_cast<int>(j - i), {}});
            i = j - 1;
        } else if (c == u'\\' && i + 1 < pattern.size()) {
            tokens.append({QChar(), 0, QString(pattern.at(++i))});
        } else if (c == u'"') {
            const qsizetype end = pattern.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end;
            tokens.append({QChar(), 0, pattern.mid(i + 1, stop - i - 1)});
            i = stop;
        } else {
            tokens.append({QChar(), 0, QString(c)});
        }
    }
    return tokens;
}

// The nearest date-letter token before or after index i, skipping literals.
QChar neighbourLetter(const QList<DateToken> &tokens, qsizetype i, int step)
{
    for (qsizetype j = i + step; j >= 0 && j < tokens.size(); j += step) {
        if (!tokens.at(j).letter.isNull()) {
            return tokens.at(j).letter;
        }
    }
    return {};
}

QString twoDigits(int v)
{
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

const char *const kDayNames[] = {"lunes",   "martes", "miércoles", "jueves",
                                 "viernes", "sábado", "domingo"};
const char *const kMonthNames[] = {"enero",      "febrero", "marzo",     "abril",
                                   "mayo",       "junio",   "julio",     "agosto",
                                   "septiembre", "octubre", "noviembre", "diciembre"};

QString dayName(const QDate &d, bool full)
{
    const QString name = QString::fromUtf8(kDayNames[d.dayOfWeek() - 1]);
    return full ? name : name.left(3);
}

QString monthName(const QDate &d, bool full)
{
    const QString name = QString::fromUtf8(kMonthNames[d.month() - 1]);
    return full ? name : name.left(3);
}

std::optional<QDateTime> readDateText(const QString &text)
{
    const QString t = text.trimmed();
    static const char *const dateTimes[] = {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss",
                                            "dd/MM/yyyy HH:mm:ss", "d/M/yyyy H:mm:ss"};
    for (const char *f : dateTimes) {
        const QDateTime dt = QDateTime::fromString(t, QString::fromLatin1(f));
        if (dt.isValid()) {
            return dt;
        }
    }
    static const char *const dates[] = {"yyyy-MM-dd", "dd/MM/yyyy", "d/M/yyyy"};
    for (const char *f : dates) {
        const QDate d = QDate::fromString(t, QString::fromLatin1(f));
        if (d.isValid()) {
            return QDateTime(d, QTime(0, 0));
        }
    }
    const QTime time = QTime::fromString(t, QStringLiteral("H:mm:ss"));
    if (time.isValid()) {
        return QDateTime(kSerialBase, time);
    }
    return std::nullopt;
}

} // namespace

// ---- Public -----------------------------------------------------------------------------

bool isDatePattern(const QString &pattern)
{
    bool letter = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'\\') {
            ++i;
        } else if (c == u'"') {
            const qsizetype end = pattern.indexOf(u'"', i + 1);
            i = end < 0 ? pattern.size() : end;
        } else if (c == u'0' || c == u'#') {
            return false;
        } else if (isDateLetter(c)) {
            letter = true;
        }
    }
    return letter;
}

std::optional<QDateTime> dateFromSerial(double serial)
{
    if (!std::isfinite(serial) || serial < kMinSerial || serial >= kMaxSerial) {
        return std::nullopt;
    }
    double whole = std::trunc(serial);
    auto seconds = static_cast<int>(std::lround(std::fabs(serial - whole) * 86400.0));
    if (seconds >= 86400) {
        seconds = 0;
        whole += 1;
    }
    const QDate date = kSerialBase.addDays(static_cast<qint64>(whole));
    if (date.year() > 9999) {
        return std::nullopt;
    }
    return QDateTime(date, QTime(0, 0).addSecs(seconds));
}

double serialFromDate(const QDateTime &value)
{
    const auto days = static_cast<double>(kSerialBase.daysTo(value.date()));
    const double fraction = QTime(0, 0).secsTo(value.time()) / 86400.0;
    return days >= 0 ? days + fraction : days - fraction;
}

QString formatNumber(double value, const QString &pattern)
{
    if (!std::isfinite(value)) {
        return {};
    }
    if (pattern.isEmpty()) {
        return plainNumber(value);
    }
    if (isDatePattern(pattern)) {
        const auto date = dateFromSerial(value);
        return date ? formatDate(*date, pattern) : plainNumber(value);
    }
    return formatDigits(decimalDigits(value), pattern);
}

QString formatNumber(std::int64_t value, const QString &pattern)
{
    if (pattern.isEmpty()) {
        return QString::number(value);
    }
    if (isDatePattern(pattern)) {
        return formatNumber(static_cast<double>(value), pattern);
    }
    return formatDigits(decimalDigits(value, 0), pattern);
}

QString formatCurrency(Currency value, const QString &pattern)
{
    if (pattern.isEmpty()) {
        return value.toText();
    }
    if (isDatePattern(pattern)) {
        return formatNumber(value.toDouble(), pattern);
    }
    return formatDigits(decimalDigits(value.raw(), 4), pattern);
}

QString formatDate(const QDateTime &value, const QString &pattern)
{
    if (!value.isValid()) {
        return {};
    }
    if (pattern.isEmpty()) {
        return formatDate(value, value.time() == QTime(0, 0)
                                     ? QStringLiteral("dd/mm/yyyy")
                                     : QStringLiteral("dd/mm/yyyy hh:mm:ss"));
    }
    if (!isDatePattern(pattern)) {
        return formatNumber(serialFromDate(value), pattern);
    }
    const QDate d = value.date();
    const QTime t = value.time();
    const QList<DateToken> tokens = tokenizeDate(pattern);
    QString out;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const DateToken &tok = tokens.at(i);
        const int count = tok.count;
        if (tok.letter.isNull()) {
            out += tok.text;
        } else if (tok.letter == u'd') {
            out += count == 1   ? QString::number(d.day())
                   : count == 2 ? twoDigits(d.day())
                                : dayName(d, count > 3);
        } else if (tok.letter == u'm' && count <= 2 &&
                   (neighbourLetter(tokens, i, -1) == u'h' ||
                    neighbourLetter(tokens, i, 1) == u's')) {
            out += count == 1 ? QString::number(t.minute()) : twoDigits(t.minute());
        } else if (tok.letter == u'm') {
            out += count == 1   ? QString::number(d.month())
                   : count == 2 ? twoDigits(d.month())
                                : monthName(d, count > 3);
        } else if (tok.letter == u'y') {
            out += count == 1  ? QString::number(d.dayOfYear())
                   : count < 4 ? twoDigits(d.year() % 100)
                               : QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0'));
        } else {
            const int v = tok.letter == u'h'   ? t.hour()
                          : tok.letter == u'n' ? t.minute()
                                               : t.second();
            out += count == 1 ? QString::number(v) : twoDigits(v);
        }
    }
    return out;
}

QString formatText(const QString &text, const QString &pattern)
{
    if (text.isEmpty() || pattern.isEmpty()) {
        return text;
    }
    if (isDatePattern(pattern)) {
        if (const auto date = readDateText(text)) {
            return formatDate(*date, pattern);
        }
        if (const auto number = readNumberText(text)) {
            if (const auto date = dateFromSerial(*number)) {
                return formatDate(*date, pattern);
            }
        }
        return text;
    }
    const auto number = readNumberText(text);
    return number ? formatNumber(*number, pattern) : text;
}

QString formatValue(const Value &value, const QString &pattern)
{
    switch (value.kind()) {
    case Value::Kind::Null:
        return {};
    case Value::Kind::Integer:
        return formatNumber(value.toInt(), pattern);
    case Value::Kind::Double:
        return formatNumber(value.toDouble(), pattern);
    case Value::Kind::Text:
        return formatText(value.toText(), pattern);
    case Value::Kind::Date:
        return formatDate(value.toDate(), pattern);
    }
    return {};
}

} // namespace qz
