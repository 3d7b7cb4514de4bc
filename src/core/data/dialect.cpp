// The host's SQL dialect on SQLite: a token-level translator and the host's functions.
//
// The translator never looks inside quoted strings. It rewrites, in this order: [name] into
// "name"; host function calls into SQLite built-ins or our registered functions; "DELETE *
// FROM" into "DELETE FROM"; text column types of CREATE TABLE into ones that compare without
// regard to case; "ALTER TABLE t ADD CONSTRAINT n PRIMARY KEY (...)" into a unique index n.
#include "core/data/dialect.h"

#include "core/data/dberror.h"
#include "core/data/format.h"
#include "core/data/numbertext.h"
#include "core/data/sqltokens.h"

#include <QRegularExpression>
#include <QStringList>

#include <sqlite3.h>

#include <cmath>
#include <vector>

namespace qz {

namespace {

using sql::isPunct;
using sql::isWord;
using sql::nextSignificant;
using sql::Tok;
using sql::Token;

// The host's calls on SQLite: built-ins where they are exact, our registered functions where
// they are not.
bool rewriteCall(const QString &name, const QStringList &a, QString *out)
{
    const QString fn = name.toLower();
    auto call = [&](const QString &target, const QStringList &args) {
        *out = target + u'(' + args.join(u',') + u')';
        return true;
    };
    if (fn == QLatin1String("left")) {
        if (a.size() == 2) {
            return call(QStringLiteral("substr"), {a[0], QStringLiteral("1"), a[1]});
        }
        return call(QStringLiteral("qz_left"), a);
    }
    if (fn == QLatin1String("right")) {
        return call(QStringLiteral("qz_right"), a);
    }
    if (fn == QLatin1String("mid")) {
        return call(QStringLiteral("substr"), a);
    }
    if (fn == QLatin1String("len")) {
        return call(QStringLiteral("length"), a);
    }
    if (fn == QLatin1String("isnull")) {
        return sql::rewriteIsNull(a, out);
    }
    // Calls of other names keep their name; their arguments are still translated.
    // ucase and lcase stay ours: SQLite's upper() and lower() leave Ñ, Á and the other
    // letters beyond ASCII as they are.
    static const QStringList plain = {
        QStringLiteral("ucase"),  QStringLiteral("lcase"), QStringLiteral("val"),
        QStringLiteral("format"), QStringLiteral("trim"),  QStringLiteral("ltrim"),
        QStringLiteral("rtrim"),  QStringLiteral("sum"),   QStringLiteral("max"),
        QStringLiteral("min"),    QStringLiteral("count"), QStringLiteral("avg")};
    if (plain.contains(fn)) {
        return call(name, a);
    }
    return false;
}

bool isTextType(const Token &t)
{
    return isWord(t, "text") || isWord(t, "memo") || isWord(t, "varchar") || isWord(t, "char") ||
           isWord(t, "string");
}

// In CREATE TABLE, each text column gets COLLATE NOCASE: the host compares text without regard
// to case, and statements written for it rely on that.
std::vector<Token> caseInsensitiveText(std::vector<Token> t)
{
    size_t i = nextSignificant(t, 0);
    if (i >= t.size() || !isWord(t[i], "CREATE")) {
        return t;
    }
    size_t j = nextSignificant(t, i + 1);
    if (j >= t.size() || !isWord(t[j], "TABLE")) {
        return t;
    }
    std::vector<Token> out;
    int depth = 0;
    bool expectName = false, expectType = false;
    for (size_t k = 0; k < t.size(); ++k) {
        const Token &tok = t[k];
        out.push_back(tok);
        if (tok.kind == Tok::Space) {
            continue;
        }
        if (isPunct(tok, u'(')) {
            ++depth;
            if (depth == 1) {
                expectName = true;
            }
            continue;
        }
        if (isPunct(tok, u')')) {
            --depth;
            continue;
        }
        if (depth == 1 && isPunct(tok, u',')) {
            expectName = true;
            expectType = false;
            continue;
        }
        if (depth != 1) {
            continue;
        }
        if (expectName) {
            expectName = false;
            expectType =
                !isWord(tok, "PRIMARY") && !isWord(tok, "CONSTRAINT") && !isWord(tok, "UNIQUE");
            continue;
        }
        if (expectType) {
            expectType = false;
            if (!isTextType(tok)) {
                continue;
            }
            // Copy an optional "(n)" and add the collation unless one is given.
            size_t m = nextSignificant(t, k + 1);
            if (m < t.size() && isPunct(t[m], u'(')) {
                while (k + 1 < t.size() && !isPunct(t[k], u')')) {
                    out.push_back(t[++k]);
                }
            }
            size_t after = nextSignificant(t, k + 1);
            if (after >= t.size() || !isWord(t[after], "COLLATE")) {
                out.push_back({Tok::Space, QStringLiteral(" ")});
                out.push_back({Tok::Word, QStringLiteral("COLLATE NOCASE")});
            }
        }
    }
    return out;
}

QString primaryKeyAsIndex(const QString &sql)
{
    static const QRegularExpression pk(
        QStringLiteral(R"(^\s*ALTER\s+TABLE\s+("[^"]+"|\w+)\s+ADD\s+CONSTRAINT\s+("[^"]+"|\w+))"
                       R"(\s+PRIMARY\s+KEY\s*\((.*)\)\s*;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    QRegularExpressionMatch m = pk.match(sql);
    if (!m.hasMatch()) {
        return sql;
    }
    return QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)")
        .arg(m.captured(2), m.captured(1), m.captured(3).trimmed());
}

// ---- the host's functions ----

QString argText(sqlite3_value *v)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(v)),
                             sqlite3_value_bytes(v));
}

void resultText(sqlite3_context *ctx, const QString &text)
{
    QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

bool anyNull(int argc, sqlite3_value **argv)
{
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            return true;
        }
    }
    return false;
}

void fnMid(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    QString s = argText(argv[0]);
    qsizetype start = sqlite3_value_int64(argv[1]);
    if (start < 1) {
        sqlite3_result_error(ctx, "Invalid procedure call or argument (mid)", -1);
        return;
    }
    qsizetype length = argc > 2 ? sqlite3_value_int64(argv[2]) : s.size();
    resultText(ctx, s.mid(start - 1, std::max<qsizetype>(length, 0)));
}

void fnLeft(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    resultText(ctx, argText(argv[0]).left(std::max<qsizetype>(sqlite3_value_int64(argv[1]), 0)));
}

void fnRight(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    resultText(ctx, argText(argv[0]).right(std::max<qsizetype>(sqlite3_value_int64(argv[1]), 0)));
}

void fnVal(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        return;
    case SQLITE_FLOAT:
        sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
        return;
    default: {
        const double v = val(argText(argv[0]));
        if (std::isinf(v)) {
            // A number too big for any column type: the statement fails as an overflow, so
            // that a sum over it is never taken for a real total.
            sqlite3_result_error(ctx, dberr::kOverflowText, -1);
            return;
        }
        sqlite3_result_double(ctx, v);
        return;
    }
    }
}

void fnCase(sqlite3_context *ctx, int argc, sqlite3_value **argv, bool upper)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    QString s = argText(argv[0]);
    resultText(ctx, upper ? s.toUpper() : s.toLower());
}

void fnUcase(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    fnCase(ctx, argc, argv, true);
}

void fnLcase(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    fnCase(ctx, argc, argv, false);
}

void fnLen(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int64(ctx, argText(argv[0]).size());
}

void fnFormat(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    sqlite3_value *v = argv[0];
    QString pattern =
        argc > 1 && sqlite3_value_type(argv[1]) != SQLITE_NULL ? argText(argv[1]) : QString();
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
        resultText(ctx, pattern.isEmpty()
                            ? QString::number(sqlite3_value_int64(v))
                            : formatNumber(static_cast<double>(sqlite3_value_int64(v)), pattern));
        return;
    case SQLITE_FLOAT:
        resultText(ctx, pattern.isEmpty() ? QString::number(sqlite3_value_double(v), 'g', 15)
                                          : formatNumber(sqlite3_value_double(v), pattern));
        return;
    default:
        resultText(ctx, pattern.isEmpty() ? argText(v) : formatText(argText(v), pattern));
        return;
    }
}

} // namespace

QString translateStatement(const QString &sql)
{
    return primaryKeyAsIndex(
        sql::rewriteCalls(caseInsensitiveText(sql::tokenize(sql)), rewriteCall));
}

int registerHostFunctions(sqlite3 *db)
{
    struct Fn {
        const char *name;
        int args;
        void (*fn)(sqlite3_context *, int, sqlite3_value **);
    };
    static const Fn fns[] = {
        {"mid", 2, fnMid},        {"mid", 3, fnMid}, {"qz_left", 2, fnLeft},
        {"qz_right", 2, fnRight}, {"val", 1, fnVal}, {"ucase", 1, fnUcase},
        {"lcase", 1, fnLcase},    {"len", 1, fnLen}, {"format", 1, fnFormat},
        {"format", 2, fnFormat},
    };
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    for (const Fn &f : fns) {
        int rc = sqlite3_create_function_v2(db, f.name, f.args, flags, nullptr, f.fn, nullptr,
                                            nullptr, nullptr);
        if (rc != SQLITE_OK) {
            return rc;
        }
    }
    return SQLITE_OK;
}

} // namespace qz
