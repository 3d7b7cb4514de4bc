// The host's functions on the PostgreSQL server against the SQLite back end: every call runs on
// both over the same row (citext, integer, bigint and double columns, NULLs) and must give the
// same NULL, the same kind of value (whole number, double, text) and the same value, or the
// same error.
#include "core/data/database.h"
#include "core/data/pgfunctions.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <memory>
#include <vector>

using qz::Database;
using qz::DbError;
using qz::Value;

namespace {

// A result as both sides are compared.
struct Outcome {
    enum class Kind { Null, Whole, Double, Text, Error };
    Kind kind = Kind::Null;
    QString text; // digits of a whole number, 17 digits of a double, the text, the message

    bool operator==(const Outcome &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Outcome &o)
{
    static const char *const kinds[] = {"NULL", "whole", "double", "text", "error"};
    return os << kinds[static_cast<int>(o.kind)] << " [" << o.text.toStdString() << "]";
}

QString doubleText(double v)
{
    return QString::number(v, 'g', 17);
}

// The server's name of each host function the SQLite translation handles.
QString onServerNames(const QString &host)
{
    static const QRegularExpression call(
        QStringLiteral(R"(\b(mid|left|right|len|ucase|lcase|trim|ltrim|rtrim|val|format)\s*\()"),
        QRegularExpression::CaseInsensitiveOption);
    QString server = host;
    return server.replace(call, QStringLiteral("qz_\\1("));
}

const char *const kSqliteTable =
    "CREATE TABLE t (name TEXT, padded TEXT, tabbed TEXT, amount TEXT, code TEXT, i INTEGER, "
    "big INTEGER, d DOUBLE, nd DOUBLE, tiny DOUBLE, huge DOUBLE, third DOUBLE, tn TEXT, "
    "inull INTEGER, dnull DOUBLE)";
const char *const kServerTable =
    "CREATE TABLE t (name citext, padded citext, tabbed citext, amount citext, code citext, "
    "i integer, big bigint, d double precision, nd double precision, tiny double precision, "
    "huge double precision, third double precision, tn citext, inull integer, "
    "dnull double precision)";
const char *const kRow = "INSERT INTO t VALUES ('Ñandú Straße', '  a b  ', '\t x \t', "
                         "' -1,234.5 ', ' 7 ', 12345, 9007199254740993, 2.675, -1234.5, "
                         "1.5e-05, 1e20, 0.30000000000000004, NULL, NULL, NULL)";

class ServerFunctions : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const QString file = qEnvironmentVariable("QZ_PG_CLUSTER");
        if (file.isEmpty()) {
            skip_ = QStringLiteral("QZ_PG_CLUSTER is not set");
            return;
        }
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            error_ = QStringLiteral("cannot read ") + file;
            return;
        }
        const QString conninfo = QString::fromUtf8(f.readAll()).trimmed();
        if (conninfo.startsWith(QLatin1String("SKIP "))) {
            skip_ = conninfo.mid(5);
            return;
        }
        admin_ = PQconnectdb(conninfo.toUtf8().constData());
        if (PQstatus(admin_) != CONNECTION_OK) {
            error_ = QStringLiteral("cannot connect: ") + QString::fromUtf8(PQerrorMessage(admin_));
            return;
        }
        PQsetNoticeProcessor(
            admin_, [](void *, const char *) {}, nullptr);
        dbName_ = QStringLiteral("qz_functions_%1").arg(QCoreApplication::applicationPid());
        error_ = command(admin_, "DROP DATABASE IF EXISTS " + dbName_);
        if (error_.isEmpty()) {
            error_ = command(admin_, "CREATE DATABASE " + dbName_);
        }
        if (!error_.isEmpty()) {
            return;
        }
        // The first dbname is the whole connection string, the second the database in it.
        const QByteArray info = conninfo.toUtf8(), name = dbName_.toUtf8();
        const char *const keys[] = {"dbname", "dbname", nullptr};
        const char *const values[] = {info.constData(), name.constData(), nullptr};
        pg_ = PQconnectdbParams(keys, values, 1);
        if (PQstatus(pg_) != CONNECTION_OK) {
            error_ = QStringLiteral("cannot connect: ") + QString::fromUtf8(PQerrorMessage(pg_));
            return;
        }
        PQsetNoticeProcessor(
            pg_, [](void *, const char *) {}, nullptr);
        for (const QString &sql : {QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext"),
                                   qz::serverFunctionsScript(), qz::serverFunctionsScript(),
                                   QString::fromUtf8(kServerTable), QString::fromUtf8(kRow)}) {
            if (error_ = command(pg_, sql); !error_.isEmpty()) {
                return;
            }
        }
        dir_ = std::make_unique<QTemporaryDir>();
        lite_ = std::make_unique<Database>(
            Database::open(dir_->filePath(QStringLiteral("functions.db")), Database::Mode::Create));
        lite_->execute(QString::fromUtf8(kSqliteTable));
        lite_->execute(QString::fromUtf8(kRow));
    }

    static void TearDownTestSuite()
    {
        lite_.reset();
        dir_.reset();
        PQfinish(pg_);
        pg_ = nullptr;
        if (admin_ && !dbName_.isEmpty()) {
            command(admin_, "DROP DATABASE IF EXISTS " + dbName_ + " WITH (FORCE)");
        }
        PQfinish(admin_);
        admin_ = nullptr;
    }

    void SetUp() override
    {
        if (!skip_.isEmpty()) {
            GTEST_SKIP() << skip_.toStdString();
        }
        ASSERT_TRUE(error_.isEmpty()) << error_.toStdString();
    }

    // Runs a statement without rows; its error message, empty when it ran.
    static QString command(PGconn *conn, const QString &sql)
    {
        PGresult *r = PQexec(conn, sql.toUtf8().constData());
        const ExecStatusType status = PQresultStatus(r);
        const QString error = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK
                                  ? QString()
                                  : QString::fromUtf8(PQresultErrorMessage(r));
        PQclear(r);
        return error;
    }

    static Outcome onSqlite(const QString &expression)
    {
        try {
            const Value v = lite_->scalar("SELECT " + expression + " FROM t");
            switch (v.kind()) {
            case Value::Kind::Null:
                return {};
            case Value::Kind::Integer:
                return {Outcome::Kind::Whole, QString::number(v.toInt())};
            case Value::Kind::Double:
                return {Outcome::Kind::Double, doubleText(v.toDouble())};
            default:
                return {Outcome::Kind::Text, v.toText()};
            }
        } catch (const DbError &e) {
            // The engine's message, without the statement it adds.
            return {Outcome::Kind::Error, e.description().section(QStringLiteral(" ["), 0, 0)};
        }
    }

    static Outcome onServer(const QString &expression)
    {
        PGresult *r = PQexec(pg_, ("SELECT " + expression + " FROM t").toUtf8().constData());
        Outcome out;
        if (PQresultStatus(r) != PGRES_TUPLES_OK) {
            out = {Outcome::Kind::Error,
                   QString::fromUtf8(PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY))};
        } else if (PQntuples(r) != 1 || PQnfields(r) != 1) {
            out = {Outcome::Kind::Error, QStringLiteral("not one value")};
        } else if (!PQgetisnull(r, 0, 0)) {
            const QString text = QString::fromUtf8(PQgetvalue(r, 0, 0));
            switch (PQftype(r, 0)) {
            case 20: // bigint
            case 21: // smallint
            case 23: // integer
                out = {Outcome::Kind::Whole, text};
                break;
            case 701: // double precision, shortest exact digits
                out = {Outcome::Kind::Double, doubleText(text.toDouble())};
                break;
            case 25: // text
                out = {Outcome::Kind::Text, text};
                break;
            default:
                out = {Outcome::Kind::Error, QStringLiteral("type %1").arg(PQftype(r, 0))};
            }
        }
        PQclear(r);
        return out;
    }

    // Each host-dialect expression on SQLite and with the server's names on the server; errors
    // are expected apart, so that two failing statements never pass as equal.
    static void expectSame(const std::vector<QString> &expressions, bool errors = false)
    {
        for (const QString &host : expressions) {
            const QString server = onServerNames(host);
            const Outcome expected = onSqlite(host);
            EXPECT_EQ(expected.kind == Outcome::Kind::Error, errors)
                << host.left(60).toStdString() << ": " << expected;
            EXPECT_EQ(onServer(server), expected) << server.left(60).toStdString();
        }
    }

    static inline QString skip_;
    static inline QString error_;
    static inline PGconn *admin_ = nullptr;
    static inline PGconn *pg_ = nullptr;
    static inline QString dbName_;
    static inline std::unique_ptr<QTemporaryDir> dir_;
    static inline std::unique_ptr<Database> lite_;
};

// Calls by what they exercise, each run on both back ends.
const std::vector<std::vector<QString>> kGroups = {
    // substrings: characters, not bytes; numbers cut as SQLite's text of them; fractional and
    // text positions truncated; NULL anywhere
    {"mid(name,2,3)",        "mid(name,-3)",      "mid(name,0,2)",   "left(name,5)",
     "right(name,4)",        "mid(i,2,2)",        "mid(12345,2,2)",  "left(big,5)",
     "right(big,3)",         "mid(d,1,3)",        "mid(1.5,1,2)",    "right(huge,4)",
     "left(tiny,3)",         "mid(nd,2)",         "mid(-7,1,1)",     "mid('abcdef',2.7,1.9)",
     "mid('abcdef',-2.5,2)", "right('abc',2.9)",  "left('abc','2')", "mid(tn,1,2)",
     "mid(name,inull,2)",    "mid(name,2,inull)", "mid(name,inull)", "left(tn,2)",
     "left(name,inull)",     "right(name,inull)", "right(tn,1)",     "mid(NULL,1)",
     "mid('',1,2)"},
    // lengths
    {"len(name)", "len(i)", "len(big)", "len(d)", "len(tiny)", "len(huge)", "len(123)", "len(1.5)",
     "len(5.0)", "len('')", "len(tn)", "len(NULL)", "len(inull)"},
    // numbers as the text every string function sees
    {"trim(d)", "trim(nd)", "trim(tiny)", "trim(huge)", "trim(third)", "trim(big)", "trim(0.1)",
     "trim(5.0)", "trim(1e15)", "trim(1e14)", "trim(123456789012345.0)", "trim(0.0001)"},
    {"trim(0.00001)", "trim(-1.5e-7)", "trim(1e100)", "trim(2e300)", "trim(1.0/3)", "trim(-0.0)",
     "trim(9007199254740993.0)", "trim(d*2)", "trim(i/2)", "trim(i*1.5)", "trim(dnull)"},
    // case, and blanks that are spaces only
    {"ucase(name)", "lcase(name)", "ucase('ǆﬁ ŉ ß')", "lcase('İSTANBUL ΣΟΦΟΣ')", "lcase('ÀÉÎÕÜ Ñ')",
     "ucase(huge)", "ucase(tn)", "lcase(NULL)", "trim(padded)", "ltrim(padded)", "rtrim(padded)",
     "trim(tabbed)", "ltrim(tabbed)", "rtrim(tabbed)", "trim(tn)", "trim('   ')", "rtrim(NULL)"},
    // val of numbers keeps them and their type
    {"val(5)", "val(-7)", "val(i)", "val(big)", "val(inull)", "val(d)", "val(2.5)", "val(dnull)"},
    // val of texts: the number they start with, as a double
    {"val('12abc')", "val(name)", "val(amount)", "val(code)", "val(tn)", "val(NULL)", "val('')",
     "val(' 1 2 3')", "val('  -  5')", "val('1,234')", "val('-.5')", "val('+.5e1')", "val('--5')",
     "val('1.2.3')", "val('.e5')", "val('5.e3')", "val('1e5.5')", "val('-0')", "val('0e999999')",
     "val('12345678901234567890123')", "sum(val(amount))", "val('1d3')", "val('1E-2')",
     "val('1.5e')", "val('1e-')", "val('1e+2x')", "val('&H1F')", "val('&hff')", "val('&O17')",
     "val('&17')", "val('&18')", "val('& H1F')", "val('&')", "val('&H 1 F')", "val('&HZ')",
     "val('&HFFFFFFFFFFFFFFFFFF')",
     // the ends of a double's range: 2^1024 - 2^970 - 1 is the largest double, below
     // 2^-1075 is 0
     "val('4e-320')", "val('1e-400')", "val('1.7976931348623157e308')",
     "val('17976931348623158079372897140530341507993413271003782693617377898044496829276475094"
     "664901797758720709633028641669288791094655554785194040263065748867150582068190890200070"
     "838367627385484581771153176447573027006985557136695962284291481986083493647529271907416"
     "8444365510704342711559699508093042880177904174497791')",
     "val('2.4703282292062328e-324')", "val('2.4703282292062327e-324')"},
    // format without a pattern (a NULL or empty one is none)
    {"format(i)", "format(big)", "format(d)", "format(tiny)", "format(huge)", "format(third)",
     "format(5.0)", "format(1.0/3)", "format(1e15)", "format(-0.0)", "format(code)", "format(tn)",
     "format(NULL)", "format(d,NULL)", "format(i,'')", "format(name,'')"},
    // numeric patterns: what the programs use; rounding half away from zero on the decimal
    // digits; placeholders, grouping, point, literals, percent
    {"format(trim(code),'00')", "format(d,'0.00')", "format(1.005,'0.00')", "format(-0.4,'0')",
     "format(-0.5,'0')", "format(99.995,'0.00')", "format(999999.5,'#,##0')",
     "format(tiny,'0.00000')", "format(third,'0.00000000000000000')", "format(0,'#,###')"},
    {"format(0.36,'#.00')", "format(0.5,'#')", "format(1234567.891,'#,##0.00')",
     "format(big,'#,##0')", "format(1e20,'0.00')", "format(i,'000000.0')", "format(12345,'00-000')",
     "format(1234,'#,#')", "format(1234,'0,')", "format(1234.5678,'0.000,0')"},
    {"format(12,'##0.##')", "format(1.5,'0.0.0')", "format(5,'\\$0')", "format(7,'\"N.º \"00')",
     "format(3,'0 días')", "format(5,'d0')", "format(0.125,'0.0%')", "format(inull,'0')",
     "format(dnull,'0')"},
    // sections: positive; negative without its minus; zero
    {"format(nd,'#,##0.00;(#,##0.00)')", "format(nd,'#,##0.00;;\"cero\"')",
     "format(0,'0.00;(0.00);\"cero\"')", "format(-0.001,'0.00;(0.00);\"cero\"')",
     "format(-0.001,'0.00;(0.00)')", "format(nd,'0;')", "format(-5,';')", "format(5,'\"a;b\"0')",
     "format(-5,'0;\\;0')"},
    // texts read as numbers before a pattern, or left as they are
    {"format('(1,500)','0.00')", "format('-(1,500)','0')", "format('abc','00')",
     "format('12abc','00')",     "format(' 1 234 ','0')",  "format('5-','0')",
     "format('+5','0.0')",       "format('&H1F','0.0')",   "format('&HZZ','0')",
     "format('1e3','#,##0')",    "format('1e','0')",       "format('1e-400','0')",
     "format('1,2.5','0.00')",   "format('.5','0.00')",    "format(',5','0')",
     "format('(5','0')",         "format('(-5)','0')",     "format(amount,'#,##0.00')",
     "format(name,'0')",         "format('','0')",         "format('  ','0')"},
};

TEST_F(ServerFunctions, GiveWhatSqliteGives)
{
    // mid, left and right over starts before, at and past both ends and counts negative, zero
    // and past the end.
    std::vector<QString> positions;
    for (int start : {-9, -6, -4, -1, 0, 1, 2, 6, 7}) {
        positions.push_back(QStringLiteral("mid('abcdef',%1)").arg(start));
        for (int count : {-9, -4, -1, 0, 1, 3, 9}) {
            positions.push_back(QStringLiteral("mid('abcdef',%1,%2)").arg(start).arg(count));
        }
    }
    for (int n : {-2, 0, 3, 6, 9}) {
        positions.push_back(QStringLiteral("left('abcdef',%1)").arg(n));
        positions.push_back(QStringLiteral("right('abcdef',%1)").arg(n));
    }
    expectSame(positions);
    for (const std::vector<QString> &group : kGroups) {
        expectSame(group);
    }
}

TEST_F(ServerFunctions, ValBeyondADoubleIsAnOverflow)
{
    const std::vector<QString> cases = {
        "val('1e400')", "val('-1e309')", "val('" + QString(400, u'9') + "')",
        // 2^1024 - 2^970: the first value that rounds to infinity
        "val('179769313486231580793728971405303415079934132710037826936173778980444968292764750"
        "946649017977587207096330286416692887910946555547851940402630657488671505820681908902000"
        "708383676273854845817711531764475730270069855571366959622842914819860834936475292719074"
        "168444365510704342711559699508093042880177904174497792')",
        "val('&H" + QString(300, u'F') + "')", "val('1e99999999999999999999')",
        "sum(val('1e400'))"};
    for (const QString &host : cases) {
        EXPECT_EQ(onSqlite(host), (Outcome{Outcome::Kind::Error, "Desbordamiento"}))
            << host.left(40).toStdString();
    }
    expectSame(cases, true);
}

TEST_F(ServerFunctions, DatePatternsFailOnTheServer)
{
    // Not carried over: a wrong date would go unnoticed, an error does not.
    for (const char *call : {"qz_format(d,'dd/mm/yyyy')", "qz_format('2005-03-31','yyyy')",
                             "qz_format(i,'hh:nn')", "qz_format(name,'\"x\"d')"}) {
        const Outcome o = onServer(call);
        EXPECT_TRUE(o.kind == Outcome::Kind::Error &&
                    o.text.contains(QLatin1String("date pattern")))
            << call << ": " << o;
    }
}

TEST_F(ServerFunctions, FormatIgnoresTheSessionsFloatDigits)
{
    ASSERT_EQ(command(pg_, "SET extra_float_digits = 0"), QString());
    expectSame({"format(third,'0.00000000000000000')", "format(d,'0.00')", "trim(third)"});
    ASSERT_EQ(command(pg_, "RESET extra_float_digits"), QString());
}

TEST_F(ServerFunctions, ScriptRunsAgainOnTheSameDatabase)
{
    EXPECT_EQ(command(pg_, qz::serverFunctionsScript()), QString());
    expectSame({"mid(name,2,3)", "val('12abc')", "format(d,'0.00')"});
}

TEST_F(ServerFunctions, StringFunctionsAreInlined)
{
    // Inlined, an index on the expression serves a condition written with the function.
    PGresult *r = PQexec(pg_, "EXPLAIN VERBOSE SELECT qz_mid(name,2,3), qz_mid(name,2), "
                              "qz_left(name,2), qz_right(name,2), qz_len(name), qz_ucase(name), "
                              "qz_lcase(name), qz_trim(name), qz_ltrim(name), qz_rtrim(name), "
                              "qz_val(i), qz_format(name) FROM t");
    ASSERT_EQ(PQresultStatus(r), PGRES_TUPLES_OK) << PQresultErrorMessage(r);
    QString plan;
    for (int row = 0; row < PQntuples(r); ++row) {
        plan += QString::fromUtf8(PQgetvalue(r, row, 0)) + u'\n';
    }
    PQclear(r);
    EXPECT_FALSE(plan.contains(QLatin1String("qz_"))) << plan.toStdString();
}

} // namespace
