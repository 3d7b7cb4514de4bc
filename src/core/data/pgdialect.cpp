// The host's SQL dialect on PostgreSQL: names, calls, and the host's column types.
#include "core/data/pgdialect.h"

#include "core/data/sqltext.h"
#include "core/data/sqltokens.h"

#include <QStringList>

#include <vector>

namespace qz {

namespace {

using sql::isPunct;
using sql::isWord;
using sql::nextSignificant;
using sql::Tok;
using sql::Token;

QString lowerIdent(const QString &quoted)
{
    return quoted.toLower();
}

QString plainName(const Token &t)
{
    if (t.kind == Tok::Ident) {
        QString n = t.text.mid(1, t.text.size() - 2);
        n.replace(QStringLiteral("\"\""), QStringLiteral("\""));
        return n.toLower();
    }
    return t.text.toLower();
}

QString quotedLower(const QString &name)
{
    QString n = name.toLower();
    n.replace(u'"', QStringLiteral("\"\""));
    return u'"' + n + u'"';
}

bool rewriteCall(const QString &name, const QStringList &a, QString *out)
{
    const QString fn = name.toLower();
    if (fn == QLatin1String("isnull")) {
        return sql::rewriteIsNull(a, out);
    }
    static const QStringList ours = {
        QStringLiteral("mid"),   QStringLiteral("left"),  QStringLiteral("right"),
        QStringLiteral("len"),   QStringLiteral("ucase"), QStringLiteral("lcase"),
        QStringLiteral("val"),   QStringLiteral("trim"),  QStringLiteral("ltrim"),
        QStringLiteral("rtrim"), QStringLiteral("format")};
    if (ours.contains(fn)) {
        *out = QStringLiteral("qz_") + fn + u'(' + a.join(u',') + u')';
        return true;
    }
    return false;
}

// The server's type for a host type (first word, lower case, without its size).
QString serverType(const QString &hostType)
{
    static const QStringList small = {QStringLiteral("byte"), QStringLiteral("tinyint"),
                                      QStringLiteral("smallint"), QStringLiteral("short")};
    static const QStringList whole = {QStringLiteral("integer"), QStringLiteral("int"),
                                      QStringLiteral("long"),    QStringLiteral("bigint"),
                                      QStringLiteral("counter"), QStringLiteral("autoincrement")};
    static const QStringList real = {QStringLiteral("double"), QStringLiteral("float"),
                                     QStringLiteral("real"), QStringLiteral("single")};
    static const QStringList exact = {QStringLiteral("currency"), QStringLiteral("money"),
                                      QStringLiteral("numeric"), QStringLiteral("decimal")};
    static const QStringList dates = {QStringLiteral("datetime"), QStringLiteral("date"),
                                      QStringLiteral("time"), QStringLiteral("timestamp")};
    static const QStringList texts = {
        QStringLiteral("text"),     QStringLiteral("char"),     QStringLiteral("varchar"),
        QStringLiteral("nchar"),    QStringLiteral("nvarchar"), QStringLiteral("character"),
        QStringLiteral("string"),   QStringLiteral("memo"),     QStringLiteral("longtext"),
        QStringLiteral("longchar"), QStringLiteral("note")};
    static const QStringList flags = {QStringLiteral("bit"), QStringLiteral("yesno"),
                                      QStringLiteral("logical"), QStringLiteral("boolean")};
    if (small.contains(hostType)) {
        return QStringLiteral("smallint");
    }
    if (whole.contains(hostType)) {
        return QStringLiteral("bigint");
    }
    if (real.contains(hostType)) {
        return QStringLiteral("double precision");
    }
    if (exact.contains(hostType)) {
        return QStringLiteral("numeric");
    }
    if (dates.contains(hostType)) {
        return QStringLiteral("timestamp(0)");
    }
    if (texts.contains(hostType)) {
        return QStringLiteral("citext");
    }
    if (flags.contains(hostType)) {
        return QStringLiteral("smallint");
    }
    return {};
}

struct NullDefault {
    QString column;
    QString value;
};

// One column definition of CREATE TABLE rewritten for the server; the declared type and a
// Null default are reported to the caller.
QString columnDefinition(const std::vector<Token> &t, QString *name, QString *declared,
                         std::optional<NullDefault> *nullDefault)
{
    size_t i = nextSignificant(t, 0);
    QString out;
    for (size_t k = 0; k < i; ++k) {
        out += t[k].text;
    }
    *name = plainName(t[i]);
    out += quotedLower(*name);
    size_t j = nextSignificant(t, i + 1);
    if (j >= t.size()) {
        return out;
    }
    // The type: a word with an optional "(n)" or "(p,s)".
    QString typeText = t[j].text;
    size_t k = j + 1;
    size_t open = nextSignificant(t, k);
    if (open < t.size() && isPunct(t[open], u'(')) {
        k = open;
        while (k < t.size() && !isPunct(t[k], u')')) {
            typeText += t[k].text.trimmed();
            ++k;
        }
        if (k < t.size()) {
            typeText += t[k].text;
            ++k;
        }
    } else if (isWord(t[j], "double")) {
        size_t p = nextSignificant(t, k);
        if (p < t.size() && isWord(t[p], "precision")) {
            typeText += QStringLiteral(" ") + t[p].text;
            k = p + 1;
        }
    }
    *declared = typeText;
    const QString mapped = serverType(t[j].text.toLower());
    out += u' ' + (mapped.isEmpty() ? typeText : mapped);
    // The rest, without COLLATE NOCASE and ON CONFLICT REPLACE.
    std::vector<Token> rest(t.begin() + static_cast<std::ptrdiff_t>(k), t.end());
    bool replaceNull = false;
    QString defaultValue;
    for (size_t r = 0; r < rest.size(); ++r) {
        if (isWord(rest[r], "COLLATE")) {
            size_t c = nextSignificant(rest, r + 1);
            if (c < rest.size() && isWord(rest[c], "NOCASE")) {
                r = c;
                continue;
            }
        }
        if (isWord(rest[r], "ON")) {
            size_t c = nextSignificant(rest, r + 1);
            size_t d = nextSignificant(rest, c + 1);
            if (c < rest.size() && isWord(rest[c], "CONFLICT") && d < rest.size() &&
                isWord(rest[d], "REPLACE")) {
                replaceNull = true;
                r = d;
                continue;
            }
        }
        if (isWord(rest[r], "DEFAULT")) {
            size_t v = nextSignificant(rest, r + 1);
            if (v < rest.size()) {
                defaultValue = rest[v].text;
            }
        }
        out += rest[r].text;
    }
    if (replaceNull && !defaultValue.isEmpty()) {
        *nullDefault = NullDefault{*name, defaultValue};
    }
    return out;
}

// CREATE TABLE with the server's types, the declared types as comments and the triggers of
// Null defaults; other statements come back unchanged.
std::optional<QString> createTable(const std::vector<Token> &t)
{
    size_t i = nextSignificant(t, 0);
    if (i >= t.size() || !isWord(t[i], "CREATE")) {
        return std::nullopt;
    }
    size_t j = nextSignificant(t, i + 1);
    if (j >= t.size() || !isWord(t[j], "TABLE")) {
        return std::nullopt;
    }
    size_t n = nextSignificant(t, j + 1);
    while (n < t.size() && (isWord(t[n], "IF") || isWord(t[n], "NOT") || isWord(t[n], "EXISTS"))) {
        n = nextSignificant(t, n + 1);
    }
    size_t open = nextSignificant(t, n + 1);
    if (n >= t.size() || open >= t.size() || !isPunct(t[open], u'(')) {
        return std::nullopt;
    }
    const QString table = plainName(t[n]);
    QString out;
    for (size_t k = 0; k < n; ++k) {
        out += t[k].text;
    }
    out += quotedLower(table) + QStringLiteral(" (");
    // The entries between the outer parentheses.
    std::vector<std::vector<Token>> entries(1);
    int depth = 0;
    size_t close = t.size();
    for (size_t k = open + 1; k < t.size(); ++k) {
        if (isPunct(t[k], u'(')) {
            ++depth;
        } else if (isPunct(t[k], u')')) {
            if (depth == 0) {
                close = k;
                break;
            }
            --depth;
        } else if (depth == 0 && isPunct(t[k], u',')) {
            entries.emplace_back();
            continue;
        }
        entries.back().push_back(t[k]);
    }
    QStringList definitions;
    QStringList comments;
    std::vector<NullDefault> nullDefaults;
    for (const std::vector<Token> &entry : entries) {
        size_t first = nextSignificant(entry, 0);
        if (first >= entry.size()) {
            continue;
        }
        const Token &head = entry[first];
        if (isWord(head, "PRIMARY") || isWord(head, "CONSTRAINT") || isWord(head, "UNIQUE") ||
            isWord(head, "FOREIGN") || isWord(head, "CHECK")) {
            definitions << sql::rewriteCalls(entry, rewriteCall, lowerIdent);
            continue;
        }
        QString name, declared;
        std::optional<NullDefault> nullDefault;
        definitions << columnDefinition(entry, &name, &declared, &nullDefault);
        if (!declared.isEmpty()) {
            comments << QStringLiteral("COMMENT ON COLUMN %1.%2 IS %3")
                            .arg(quotedLower(table), quotedLower(name), sqlQuoted(declared));
        }
        if (nullDefault) {
            nullDefaults.push_back(*nullDefault);
        }
    }
    out += definitions.join(u',') + u')';
    for (size_t k = close + 1; k < t.size(); ++k) {
        out += t[k].text;
    }
    for (const QString &c : comments) {
        out += QStringLiteral(";\n") + c;
    }
    if (!nullDefaults.empty()) {
        const QString function = quotedLower(QStringLiteral("qz_nulldefault_") + table);
        QString body;
        for (const NullDefault &d : nullDefaults) {
            body += QStringLiteral(" NEW.%1 := coalesce(NEW.%1, %2);")
                        .arg(quotedLower(d.column), d.value);
        }
        out += QStringLiteral(";\nCREATE OR REPLACE FUNCTION %1() RETURNS trigger LANGUAGE "
                              "plpgsql AS $qz$ BEGIN%2 RETURN NEW; END $qz$")
                   .arg(function, body);
        out += QStringLiteral(";\nCREATE TRIGGER %1 BEFORE INSERT OR UPDATE ON %2 FOR EACH ROW "
                              "EXECUTE FUNCTION %3()")
                   .arg(quotedLower(table + QStringLiteral("_nulldefault")), quotedLower(table),
                        function);
    }
    return out;
}

} // namespace

QString translateForServer(const QString &sqlText)
{
    // Statement by statement: a CREATE TABLE becomes several.
    const std::vector<Token> tokens = sql::tokenize(sqlText);
    QStringList statements;
    std::vector<Token> statement;
    int depth = 0;
    const auto flush = [&] {
        if (nextSignificant(statement, 0) < statement.size()) {
            std::optional<QString> create = createTable(statement);
            statements << (create ? *create
                                  : sql::rewriteCalls(statement, rewriteCall, lowerIdent));
        }
        statement.clear();
    };
    for (const Token &t : tokens) {
        if (isPunct(t, u'(')) {
            ++depth;
        } else if (isPunct(t, u')')) {
            --depth;
        } else if (depth == 0 && isPunct(t, u';')) {
            flush();
            continue;
        }
        statement.push_back(t);
    }
    flush();
    return statements.join(QStringLiteral(";\n"));
}

} // namespace qz
