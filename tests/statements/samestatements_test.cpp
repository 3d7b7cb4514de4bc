// Every statement the core builds, run on a SQLite file and on the PostgreSQL server holding the
// same rows: both must give the same columns, the same rows and the same values.
//
// One process holds both installations, each with the module's tables, the same demo
// declarations typed and saved through the module's own save, and the same further rows (a user
// and a taxpayer with quotes and another letter case, numbers with blanks and letters, more
// registered and sent declarations). The steps that change data (sending, recovery, the order
// number, the spool) run on both during the preparation, and their outcomes are compared too.
//
// A statement builder that is a public function is called and its statement run on both; a
// statement that only lives inside a routine is covered by calling the routine on both and
// comparing what it returns. Values compare as text, numbers by value (an integer 5 and a
// double 5.0 are the same value; the kind is still reported). Rows compare in the statement's
// order when it has one (rows that tie on the columns it orders by may come in either order)
// and sorted otherwise.
#include "core/components/doctypes.h"
#include "core/components/paymentdata.h"
#include "core/components/textutility.h"
#include "core/data/clock.h"
#include "core/data/config.h"
#include "core/data/declarationargs.h"
#include "core/data/lookups.h"
#include "core/data/paths.h"
#include "core/data/sqltext.h"
#include "core/declaration/anexo105.h"
#include "core/declaration/boxes.h"
#include "core/declaration/declarationkey.h"
#include "core/declaration/declarationmodel.h"
#include "core/declaration/taxscale.h"
#include "core/declchk/sendchecker.h"
#include "core/declrep/summaryreport.h"
#include "core/host/demodeclarations.h"
#include "core/host/historytables.h"
#include "core/host/hostsession.h"
#include "core/host/sending.h"
#include "core/management/declarationdelete.h"
#include "core/management/declarationlists.h"
#include "core/management/recovery.h"
#include "core/reports/declarationreportdata.h"
#include "core/reports/spool.h"
#include "core/shell/consultations.h"
#include "core/validation/companyform.h"
#include "core/validation/companylist.h"
#include "core/validation/declarationreview.h"
#include "core/validation/declarationsave.h"
#include "support/moduleinstall.h"
#include "support/pgcluster.h"
#include "support/scriptedmessenger.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace qz {
namespace {

const QString kForm = QStringLiteral("0731");
const QString kExercise = QStringLiteral("2009");
const QString kUserAll = QStringLiteral("USUARIO0");  // type "0": sees every taxpayer
const QString kUserSome = QStringLiteral("USUARIO1"); // type "1": only the taxpayers it owns

// The demo taxpayers the statements ask for.
QString andina()
{
    return TextUtility::completeRuc(QStringLiteral("2051234567"));
}
QString alessandro()
{
    return TextUtility::completeRuc(QStringLiteral("2060011122"));
}
QString elSol()
{
    return TextUtility::completeRuc(QStringLiteral("2013579246"));
}
// The taxpayer this test adds for the user with a quote in the name.
QString higgins()
{
    return TextUtility::completeRuc(QStringLiteral("2077788899"));
}
// The taxpayers' names: the loader runs when the window's name field is set.
QString nameOf(const QString &ruc)
{
    if (ruc == andina()) {
        return QStringLiteral("COMERCIAL ANDINA S.A.");
    }
    if (ruc == elSol()) {
        return QStringLiteral("EMPRESA DE TRANSPORTES EL SOL S.A.");
    }
    if (ruc == alessandro()) {
        return QStringLiteral("INVERSIONES D'ALESSANDRO S.A.C.");
    }
    return QStringLiteral("CLAVE CON COMILLA"); // 2077'000001, added by this test
}
// A company of El Sol's reorganization.
QString alamos()
{
    return TextUtility::completeRuc(QStringLiteral("2010007970"));
}

// The control numbers the sendings get once they are made equal on both engines (a sending
// draws its control number at random).
struct Sending {
    QString ruc;
    QString correl;
    QString control;
};
std::vector<Sending> sendings()
{
    return {{elSol(), QStringLiteral("001"), QStringLiteral("71000011")},
            {alessandro(), QStringLiteral("001"), QStringLiteral("71000021")},
            {alessandro(), QStringLiteral("002"), QStringLiteral("71000022")}};
}
const QString kOrderNumber = QStringLiteral("4455667");

// One installation: SQLite file or server database, with the module and the same rows.
struct Side {
    const char *name;
    std::unique_ptr<test::ModuleInstall> inst;
    QStringList prepared; // the outcome of each preparation step

    Database &db() { return inst->db(); }
    QString dir() const { return inst->dir(); }
};

// What a statement or a routine gave on one engine.
struct Ran {
    Ran() = default;
    Ran(QString ran, QueryResult result) : statement(std::move(ran)), rows(std::move(result)) {}

    QString statement; // the host-dialect statement(s), or the routine's call
    QueryResult rows;
    bool failed = false;
    QString error;
};

struct Case {
    std::string name;
    std::function<Ran(Side &)> run;
    bool ordered = false;
    // Result columns the statement orders by: rows equal in them may come in either order.
    // Empty with ordered: the whole row sequence must be the same.
    std::vector<int> ties;
};

// The case's name in gtest's messages.
void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

// --- Results built from what a routine returns.

QueryResult single(const QString &column, const Value &value)
{
    return QueryResult({column}, {{value}});
}

QueryResult items(const std::vector<std::pair<QString, Value>> &pairs)
{
    std::vector<std::vector<Value>> rows;
    for (const auto &[item, value] : pairs) {
        rows.push_back({Value(item), value});
    }
    return QueryResult({QStringLiteral("item"), QStringLiteral("value")}, std::move(rows));
}

QueryResult listed(const QString &column, const QStringList &values)
{
    std::vector<std::vector<Value>> rows;
    for (const QString &v : values) {
        rows.push_back({Value(v)});
    }
    return QueryResult({column}, std::move(rows));
}

Value optionalText(const std::optional<QString> &text)
{
    return text ? Value(*text) : Value();
}

// --- Making cases.

bool hasOrderBy(const QString &sql)
{
    static const QRegularExpression quoted(QStringLiteral("'([^']|'')*'"));
    static const QRegularExpression orderBy(QStringLiteral(R"(\border\s+by\b)"),
                                            QRegularExpression::CaseInsensitiveOption);
    QString bare = sql;
    return bare.replace(quoted, QString()).contains(orderBy);
}

Case statement(std::string name, const QString &sql, std::vector<int> ties = {})
{
    return {std::move(name),
            [sql](Side &s) {
                return Ran{sql, s.db().query(sql)};
            },
            hasOrderBy(sql), std::move(ties)};
}

Case routine(std::string name, bool ordered, std::function<Ran(Side &)> run,
             std::vector<int> ties = {})
{
    return {std::move(name), std::move(run), ordered, std::move(ties)};
}

// A statement that changes rows, run inside a transaction that is rolled back: the number of
// rows it changed.
Case change(std::string name, const QString &sql)
{
    return {std::move(name),
            [sql](Side &s) {
                s.db().begin();
                Ran r;
                r.statement = sql;
                try {
                    r.rows = single(QStringLiteral("changed"), s.db().execute(sql));
                } catch (...) {
                    s.db().rollback();
                    throw;
                }
                s.db().rollback();
                return r;
            },
            false,
            {}};
}

// --- Comparing.

QString kindName(Value::Kind kind)
{
    switch (kind) {
    case Value::Kind::Null:
        return QStringLiteral("NULL");
    case Value::Kind::Integer:
        return QStringLiteral("integer");
    case Value::Kind::Double:
        return QStringLiteral("double");
    case Value::Kind::Text:
        return QStringLiteral("text");
    case Value::Kind::Date:
        return QStringLiteral("date");
    }
    return {};
}

QString textOf(const Value &v)
{
    return v.kind() == Value::Kind::Date ? isoDateText(v.toDate()) : v.toText();
}

QString shown(const Value &v)
{
    switch (v.kind()) {
    case Value::Kind::Null:
        return QStringLiteral("NULL");
    case Value::Kind::Integer:
        return QString::number(v.toInt()) + QStringLiteral(" (integer)");
    case Value::Kind::Double:
        return QString::number(v.toDouble(), 'g', 17) + QStringLiteral(" (double)");
    case Value::Kind::Text:
        return u'"' + v.toText() + u'"';
    case Value::Kind::Date:
        return isoDateText(v.toDate()) + QStringLiteral(" (date)");
    }
    return {};
}

enum class Same { Yes, OtherKind, No };

Same compareValues(const Value &a, const Value &b)
{
    if (a.isNull() || b.isNull()) {
        return a.isNull() && b.isNull() ? Same::Yes : Same::No;
    }
    bool equal = false;
    if (a.isNumber() && b.isNumber()) {
        if (a.kind() == Value::Kind::Integer && b.kind() == Value::Kind::Integer) {
            equal = a.toInt() == b.toInt();
        } else {
            const double x = a.toDouble(), y = b.toDouble();
            // Sums of amounts may be added in another order: a few units of the last digit.
            equal = x == y || std::fabs(x - y) <= 1e-12 * std::max(std::fabs(x), std::fabs(y));
        }
    } else {
        equal = textOf(a) == textOf(b);
    }
    if (!equal) {
        return Same::No;
    }
    return a.kind() == b.kind() ? Same::Yes : Same::OtherKind;
}

// A value as a sort key: numbers of either kind by value, so both engines sort them alike.
QString sortKey(const Value &v)
{
    if (v.isNull()) {
        return QStringLiteral("\x01");
    }
    if (v.isNumber()) {
        return QStringLiteral("\x02") + QString::number(v.toDouble(), 'e', 17);
    }
    return QStringLiteral("\x03") + textOf(v);
}

QStringList rowKey(const std::vector<Value> &row, const std::vector<int> &columns = {})
{
    QStringList key;
    if (columns.empty()) {
        for (const Value &v : row) {
            key << sortKey(v);
        }
    } else {
        for (int c : columns) {
            key << (c < static_cast<int>(row.size()) ? sortKey(row.at(c)) : QString());
        }
    }
    return key;
}

// The rows in the order they are compared in.
std::vector<std::vector<Value>> comparable(const Case &c, const QueryResult &r)
{
    std::vector<std::vector<Value>> rows;
    for (int i = 0; i < r.rowCount(); ++i) {
        rows.push_back(r.row(i));
    }
    const auto byWholeRow = [](const auto &x, const auto &y) { return rowKey(x) < rowKey(y); };
    if (!c.ordered) {
        std::sort(rows.begin(), rows.end(), byWholeRow);
    } else if (!c.ties.empty()) {
        // Runs of rows equal in the ordered columns are sets, not sequences.
        auto from = rows.begin();
        while (from != rows.end()) {
            const QStringList key = rowKey(*from, c.ties);
            auto to = std::find_if(from, rows.end(),
                                   [&](const auto &row) { return rowKey(row, c.ties) != key; });
            std::sort(from, to, byWholeRow);
            from = to;
        }
    }
    return rows;
}

QString table(const QStringList &columns, const std::vector<std::vector<Value>> &rows)
{
    constexpr int kShownRows = 40;
    QString out = QStringLiteral("    ") + columns.join(QStringLiteral(" | ")) + u'\n';
    for (int i = 0; i < static_cast<int>(rows.size()) && i < kShownRows; ++i) {
        QStringList cells;
        for (const Value &v : rows.at(i)) {
            cells << shown(v);
        }
        out += QStringLiteral("  %1: ").arg(i) + cells.join(QStringLiteral(" | ")) + u'\n';
    }
    if (rows.size() > kShownRows) {
        out += QStringLiteral("  ... %1 rows in all\n").arg(rows.size());
    }
    return out;
}

struct Comparison {
    QStringList differences; // empty when both engines agree
    QStringList notes;       // the same values in another kind, other column names
};

Comparison compare(const Case &c, const Ran &lite, const Ran &server)
{
    Comparison out;
    if (lite.failed || server.failed) {
        if (lite.failed != server.failed ||
            lite.error.section(u':', 0, 0) != server.error.section(u':', 0, 0)) {
            out.differences << QStringLiteral("SQLite %1, the server %2")
                                   .arg(lite.failed ? QStringLiteral("fails: ") + lite.error
                                                    : QStringLiteral("runs it"),
                                        server.failed ? QStringLiteral("fails: ") + server.error
                                                      : QStringLiteral("runs it"));
        } else {
            out.notes << QStringLiteral("both fail: ") + lite.error + QStringLiteral(" / ") +
                             server.error;
        }
        return out;
    }
    const QStringList &lc = lite.rows.columns(), &sc = server.rows.columns();
    if (lc.size() != sc.size()) {
        out.differences << QStringLiteral("%1 columns on SQLite, %2 on the server")
                               .arg(lc.size())
                               .arg(sc.size());
        return out;
    }
    for (int i = 0; i < lc.size(); ++i) {
        if (lc.at(i).compare(sc.at(i), Qt::CaseInsensitive) != 0) {
            out.notes << QStringLiteral("column %1 is named %2 on SQLite, %3 on the server")
                             .arg(i)
                             .arg(lc.at(i), sc.at(i));
        }
    }
    if (lite.rows.rowCount() != server.rows.rowCount()) {
        out.differences << QStringLiteral("%1 rows on SQLite, %2 on the server")
                               .arg(lite.rows.rowCount())
                               .arg(server.rows.rowCount());
        return out;
    }
    const auto lr = comparable(c, lite.rows), sr = comparable(c, server.rows);
    for (size_t r = 0; r < lr.size(); ++r) {
        for (size_t col = 0; col < lr[r].size() && col < sr[r].size(); ++col) {
            const Same same = compareValues(lr[r][col], sr[r][col]);
            const QString where = QStringLiteral("row %1 column %2 (%3)")
                                      .arg(r)
                                      .arg(col)
                                      .arg(lc.at(static_cast<int>(col)));
            if (same == Same::No) {
                out.differences << where + QStringLiteral(": %1 on SQLite, %2 on the server")
                                               .arg(shown(lr[r][col]), shown(sr[r][col]));
            } else if (same == Same::OtherKind) {
                out.notes << where +
                                 QStringLiteral(": the same value as %1 on SQLite, %2 on "
                                                "the server")
                                     .arg(kindName(lr[r][col].kind()), kindName(sr[r][col].kind()));
            }
        }
    }
    return out;
}

QString report(const Case &c, const Ran &lite, const Ran &server, const Comparison &cmp)
{
    constexpr int kShownLines = 12;
    QString out = QString::fromStdString(c.name) + QStringLiteral(" gives different rows (") +
                  (c.ordered ? QStringLiteral("in the statement's order") +
                                   (c.ties.empty() ? QString() : QStringLiteral(", ties as sets"))
                             : QStringLiteral("sorted")) +
                  QStringLiteral(")\n");
    out += QStringLiteral("statement: ") + lite.statement + u'\n';
    if (server.statement != lite.statement) {
        out += QStringLiteral("statement on the server: ") + server.statement + u'\n';
    }
    out += cmp.differences.mid(0, kShownLines).join(u'\n') + u'\n';
    if (cmp.differences.size() > kShownLines) {
        out += QStringLiteral("... %1 differences in all\n").arg(cmp.differences.size());
    }
    if (!cmp.notes.isEmpty()) {
        out += QStringLiteral("also: ") + cmp.notes.mid(0, kShownLines).join(QStringLiteral("; ")) +
               u'\n';
    }
    out +=
        QStringLiteral("SQLite:\n") +
        (lite.failed ? lite.error + u'\n' : table(lite.rows.columns(), comparable(c, lite.rows)));
    out += QStringLiteral("server:\n") +
           (server.failed ? server.error + u'\n'
                          : table(server.rows.columns(), comparable(c, server.rows)));
    return out;
}

Ran runOn(const Case &c, Side &s)
{
    try {
        return c.run(s);
    } catch (const DbError &e) {
        Ran r;
        r.statement = QStringLiteral("(failed before its result)");
        r.failed = true;
        r.error = QString::number(e.number()) + QStringLiteral(": ") + e.description();
        return r;
    }
}

// --- The two installations and the rows they share.

// Puts the next ModuleInstall on the server, as a test program run on the server does.
class ServerEngine final {
public:
    ServerEngine() : had_(qEnvironmentVariableIsSet(kName)), old_(qgetenv(kName))
    {
        qputenv(kName, "pg");
    }
    ~ServerEngine()
    {
        if (had_) {
            qputenv(kName, old_);
        } else {
            qunsetenv(kName);
        }
    }
    ServerEngine(const ServerEngine &) = delete;
    ServerEngine &operator=(const ServerEngine &) = delete;

private:
    static constexpr const char *kName = "QZ_TEST_ENGINE";
    bool had_;
    QByteArray old_;
};

// Rows added to the demo rows, the same statements on both engines.
QStringList furtherRows()
{
    const QString cont = QStringLiteral("INSERT INTO CONT (Tip_doc_d, Doc_id_d, Tipo_ingreso, "
                                        "Nombre, Usuario) VALUES ");
    const QString cab = QStringLiteral("INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, "
                                       "formulario, semana, estado, cNumero) SELECT ");
    const QString hcab = QStringLiteral("INSERT INTO HCAB (tip_doc_d, doc_id_d, periodo, "
                                        "formulario, semana, CORREL, estado, CONTROL) SELECT ");
    return {
        // A user with a quote in the name, its taxpayer owned in another letter case.
        QStringLiteral("INSERT INTO CLAVES (Usuario, Tipo) VALUES ('o''Brien', '1')"),
        cont + QStringLiteral("(6, '%1', 2, 'FERRETERÍA O''HIGGINS e Hijos S.A.', 'O''BRIEN')")
                   .arg(higgins()),
        // Numbers that the taxpayer list leaves out (not 11 characters once trimmed) or keeps
        // (blanks around 11), a quote in a key, letters in both cases, a lower-case owner.
        cont + QStringLiteral("(6, '2099999999', 2, 'RUC INCOMPLETO S.A.', 'USUARIO1')"),
        cont + QStringLiteral("(6, ' 20456456456 ', 1, 'CON BLANCOS S.A.', 'usuario1')"),
        cont + QStringLiteral("(6, '2077''000001', 2, 'CLAVE CON COMILLA', 'Usuario1')"),
        cont + QStringLiteral("(6, 'B0000000001', 2, 'Mayúsculas S.A.', 'USUARIO0')"),
        cont + QStringLiteral("(6, 'a0000000002', 2, 'minúsculas s.a.', 'usuario0')"),
        cont + QStringLiteral("(1, '40506070', 2, 'PEREZ DNI', 'USUARIO1')"),
        QStringLiteral("INSERT INTO ERROR (CodError, DescError) VALUES ('0901', 'No se leyó "
                       "el ''archivo'' de la declaración')"),
        // A table the sending and the recovery skip whatever its letter case.
        QStringLiteral("INSERT INTO envio_t VALUES ('0731', 'Control', 'CONTROL', 'TXT', 9, 0, "
                       "0, 0, 0, 0, 0, 0, 0)"),
        // More registered declarations: every taxpayer in 2007, weeks 1 in 2008, another form.
        cab + QStringLiteral("Tip_doc_d, Doc_id_d, '2007', '0731', 0, 0, '1' FROM CONT"),
        cab + QStringLiteral("Tip_doc_d, Doc_id_d, '2008', '0731', 1, 9, '1' FROM CONT WHERE "
                             "Tipo_ingreso=2"),
        cab + QStringLiteral("Tip_doc_d, Doc_id_d, '2008', '0732', 0, 0, '1' FROM CONT"),
        // More sent declarations, with control numbers cut from the taxpayer's number.
        hcab + QStringLiteral("Tip_doc_d, Doc_id_d, '2007', '0731', 0, '001', 0, "
                              "mid(Doc_id_d,3,8) FROM CONT"),
        hcab + QStringLiteral("Tip_doc_d, Doc_id_d, '2008', '0731', 0, '001', 0, "
                              "mid(Doc_id_d,2,8) FROM CONT WHERE Usuario='usuario1'"),
        hcab + QStringLiteral("Tip_doc_d, Doc_id_d, '2008', '0731', 0, '002', 0, "
                              "mid(Doc_id_d,4,8) FROM CONT WHERE Tipo_ingreso=1"),
        QStringLiteral("UPDATE HCAB SET FEC_ENV='2026-05-04 09:30:00' WHERE periodo<>'2009'"),
        QStringLiteral("UPDATE HCAB SET NORDEN=1234567 WHERE periodo='2008' AND CORREL='002'"),
        // Parameter arguments with blanks around them, which only a trim matches.
        QStringLiteral("INSERT INTO PARAM VALUES ('004', '00 ', 'NINGUNO CON BLANCOS', '099')"),
        QStringLiteral("INSERT INTO PARAM VALUES ('955', '6 ', 'EMPRESA CON BLANCOS', '099')"),
        // Parameter rows rewritten in place, as an update of the tables does: their values stay,
        // where the engine keeps them may not.
        QStringLiteral("UPDATE PARAM SET Correl_param=Correl_param WHERE Numero='955' AND "
                       "Argumento='1'"),
        QStringLiteral("UPDATE PARAM SET Correl_param=Correl_param WHERE Numero='030' AND "
                       "Argumento='01'"),
        QStringLiteral("UPDATE PARAM SET Correl_param=Correl_param WHERE Numero='004' AND "
                       "Argumento='01'"),
    };
}

QString sendOutcome(const SendResult &r)
{
    QString message = r.message;
    if (!r.control.isEmpty()) {
        message.replace(r.control, QStringLiteral("<control>"));
    }
    return QStringLiteral("status %1, correl %2, summary %3: %4")
        .arg(static_cast<int>(r.status))
        .arg(r.correl, r.summary, message);
}

// Sends a declaration with declchk accepting it and declrep handing over a fixed summary.
QString send(Side &s, const QString &ruc)
{
    DeclarationSender sender(s.db(), s.dir() + u'/', s.dir());
    const QString dir = s.dir();
    sender.setRunner([dir](const QString &program, const QString &argument, QString *errors) {
        errors->clear();
        if (program == QLatin1String("declrep")) {
            const QString name = kForm + kExercise + QStringLiteral("00E") + argument.right(8) +
                                 QStringLiteral(".TXT");
            QFile copy(joinPath(ensureFolder(normalizedDir(dir), QStringLiteral("TMP")), name));
            if (!copy.open(QIODevice::WriteOnly) || copy.write("RESUMEN\r\n") < 0) {
                return 2;
            }
        }
        return 0;
    });
    return sendOutcome(sender.send(ruc, kExercise));
}

QString recover(Side &s, const QString &ruc, const QString &correl)
{
    test::ScriptedMessenger messages;
    const bool done = Recover(s.db(), messages, {kForm, ruc, kExercise, correl});
    return QStringLiteral("recovered %1, %2 questions").arg(done).arg(messages.shown.size());
}

QString countOf(Side &s, const QString &table, const QString &ruc)
{
    return s.db()
        .scalar(QStringLiteral("SELECT count(*) FROM ") + table +
                declarationKey(ruc, kExercise, kForm))
        .toText();
}

// A recovered declaration comes back with state 9; opening and saving it makes it sendable.
QString resave(Side &s, const QString &ruc)
{
    test::ScriptedMessenger messages;
    DeclarationModel m(s.db(), messages);
    m.setRun({1, kUserSome, false, QString(), QString()});
    m.open({ruc, nameOf(ruc), kExercise, QString()});
    const SaveOutcome out = DeclarationSave(m).CmdGrabar();
    return QStringLiteral("saved %1, consistent %2, error %3")
        .arg(out.saved)
        .arg(out.consistent)
        .arg(out.error);
}

QString registerOrder(Side &s, const Sending &sending)
{
    test::ScriptedMessenger messages;
    DeclarationModel m(s.db(), messages);
    m.setRun({1, kUserAll, true, sending.correl, sending.control});
    m.open({sending.ruc, nameOf(sending.ruc), kExercise, QStringLiteral("0")});
    m.setField(Field::NumOrden, kOrderNumber);
    m.setField(Field::NumOrdenCheck, orderVerificationCode(sending.control, kOrderNumber));
    const SaveOutcome out = DeclarationSave(m).registerOrder();
    return QStringLiteral("saved %1, error %2, %3").arg(out.saved).arg(out.error, out.finalMessage);
}

DeclarationArgs argsFor(const QString &ruc, const QString &number)
{
    QString error;
    return DeclarationArgs::parse({sendingArgument(ruc, kExercise, number)}, &error).value();
}

Config configFor(const Side &s)
{
    Config c;
    c.sysPath = s.dir() + u'/';
    c.usuario = kUserAll;
    c.dirReportes = s.dir() + QStringLiteral("/RPT");
    return c;
}

QString fileText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll())
                                       : QStringLiteral("(missing)");
}

// The box-105 assistant on a new declaration makes a provisional header; leaving the
// declaration unsaved removes it again.
QString provisionalHeader(Side &s)
{
    const QString textil = TextUtility::completeRuc(QStringLiteral("2070707070"));
    test::ScriptedMessenger messages;
    DeclarationModel m(s.db(), messages);
    m.setRun({0, kUserSome, false, QString(), QString()});
    m.open();
    m.setField(Field::Periodo, kExercise);
    const QStringList entries = m.taxpayerEntries();
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).startsWith(textil)) {
            m.chooseTaxpayer(i);
        }
    }
    Anexo105 annex;
    annex.change(0, QStringLiteral("300"));
    annex.change(4, QStringLiteral("1,200"));
    const double total = annex.accept(s.db(), m.taxpayerRuc(), kExercise, kForm, 0);
    const QString made = countOf(s, QStringLiteral("CAB"), textil) + u'/' +
                         countOf(s, QStringLiteral("DET"), textil);
    m.limpiaProvisional();
    return QStringLiteral("total %1, header and rows %2, after leaving %3/%4")
        .arg(total)
        .arg(made, countOf(s, QStringLiteral("CAB"), textil),
             countOf(s, QStringLiteral("DET"), textil));
}

// A company typed into the scratch list of El Sol's reorganization.
QString addCompany(Side &s)
{
    test::ScriptedMessenger messages;
    DeclarationModel m(s.db(), messages);
    m.setRun({1, kUserAll, false, QString(), QString()});
    m.open({elSol(), nameOf(elSol()), kExercise, QString()});
    CompanyForm form(
        s.db(), {QStringLiteral("0"), elSol(), kExercise, QStringLiteral("1"), QString(), false});
    form.load();
    form.setText(CompanyField::Ruc, TextUtility::completeRuc(QStringLiteral("2010000002")));
    form.setText(CompanyField::Razon, QStringLiteral("MINERA D'ONOFRIO S.A."));
    form.setText(CompanyField::Activos, QStringLiteral("1500000"));
    const std::optional<CompanyRefusal> refusal = form.accept();
    return QStringLiteral("refused: %1, companies %2")
        .arg(refusal ? refusal->message : QStringLiteral("no"))
        .arg(companyTotals(s.db()).count);
}

// The steps that change data, in order; each outcome goes into s.prepared.
void prepare(Side &s)
{
    const DemoDeclarationsResult demo = insertDemoDeclarations(s.db());
    s.prepared << QStringLiteral("demo declarations: ") + demo.message;
    for (const QString &sql : furtherRows()) {
        s.prepared << QStringLiteral("%1 rows: %2").arg(s.db().execute(sql)).arg(sql);
    }
    s.prepared << QStringLiteral("provisional header: ") + provisionalHeader(s);
    Anexo105 annex;
    annex.change(1, QStringLiteral("2,000"));
    annex.change(10, QStringLiteral("55"));
    s.prepared << QStringLiteral("Andina's annex: %1")
                      .arg(annex.accept(s.db(), andina(), kExercise, kForm, 1));
    // El Sol sent and recovered: in CAB and in the history. D'Alessandro sent, recovered and
    // sent again: two sendings, none in CAB.
    s.prepared << QStringLiteral("send El Sol: ") + send(s, elSol());
    s.prepared << QStringLiteral("recover El Sol: ") + recover(s, elSol(), QStringLiteral("001"));
    s.prepared << QStringLiteral("send D'Alessandro: ") + send(s, alessandro());
    s.prepared << QStringLiteral("recover D'Alessandro: ") +
                      recover(s, alessandro(), QStringLiteral("001"));
    s.prepared << QStringLiteral("save D'Alessandro: ") + resave(s, alessandro());
    s.prepared << QStringLiteral("send D'Alessandro again: ") + send(s, alessandro());
    for (const Sending &sending : sendings()) {
        s.prepared << QStringLiteral("control %1 %2: %3 rows")
                          .arg(sending.ruc, sending.correl)
                          .arg(s.db().execute(
                              QStringLiteral("UPDATE HCAB SET CONTROL=") +
                              sqlQuoted(sending.control) +
                              sentDeclarationKey(sending.ruc, kExercise, kForm, sending.correl)));
    }
    s.prepared << QStringLiteral("order number: ") + registerOrder(s, sendings().at(2));
    s.prepared << QStringLiteral("company: ") + addCompany(s);
    for (const char *code : {kReportDeclaracion, kReportDeclaracion, kReportDeclaracionAnexos}) {
        s.prepared << QStringLiteral("spool %1: ").arg(QString::fromLatin1(code)) +
                          pRegistraSpool(s.db(), QString::fromLatin1(code), 6,
                                         QStringLiteral(" ") + andina() + u' ', kUserAll);
    }
    const QString rpt = ensureFolder(normalizedDir(s.dir()), QStringLiteral("RPT"));
    SummaryReport summary(s.db(), configFor(s), argsFor(andina(), QStringLiteral("00000001")), rpt);
    summary.setTime(now());
    const QString name = summary.write();
    s.prepared << QStringLiteral("declrep: %1, report %2, failures [%3]")
                      .arg(name, summary.reportFileName(), summary.failures().join(u'|'));
    s.prepared << QStringLiteral("declrep text: ") +
                      fileText(joinPath(rpt, name + QStringLiteral(".PRN")));
}

class TwoEngines final : public ::testing::Environment {
public:
    void SetUp() override
    {
        const test::PgCluster cluster = test::pgCluster();
        if (cluster.adminConninfo.isEmpty()) {
            // Each test says it is skipped: a skip here would end the run without saying so.
            skipReason = QStringLiteral("no PostgreSQL server: ") + cluster.skipReason;
            return;
        }
        // Saves, sendings and reports write today's date: the same on both.
        clock_ = std::make_unique<PinnedClock>(QDateTime(QDate(2026, 6, 1), QTime(10, 0)));
        lite.inst = std::make_unique<test::ModuleInstall>();
        {
            const ServerEngine onServer;
            server.inst = std::make_unique<test::ModuleInstall>();
        }
        for (Side *s : {&lite, &server}) {
            if (!s->inst->ok()) {
                error += QStringLiteral("%1: %2\n")
                             .arg(QString::fromLatin1(s->name), s->inst->message());
                continue;
            }
            try {
                prepare(*s);
            } catch (const DbError &e) {
                s->prepared << QStringLiteral("stopped by error %1: %2")
                                   .arg(e.number())
                                   .arg(e.description());
            }
        }
    }

    void TearDown() override
    {
        // The server's installation was made last and restores $QZ_INI_DIR first.
        server.inst.reset();
        lite.inst.reset();
        clock_.reset();
    }

    Side lite{"SQLite", nullptr, {}};
    Side server{"server", nullptr, {}};
    QString error;      // an installation that could not be made
    QString skipReason; // no server to compare with

private:
    std::unique_ptr<PinnedClock> clock_;
};

TwoEngines *const engines =
    static_cast<TwoEngines *>(::testing::AddGlobalTestEnvironment(new TwoEngines));

// --- The cases.

// A model's whole state as the window shows it, item by item.
QueryResult modelState(DeclarationModel &m, const test::ScriptedMessenger &messages)
{
    std::vector<std::pair<QString, Value>> out;
    const auto add = [&out](const QString &item, const Value &v) { out.emplace_back(item, v); };
    static const std::pair<Field, const char *> kFields[] = {
        {Field::Telefono, "Telefono"},
        {Field::Periodo, "Periodo"},
        {Field::FechaReorg, "FechaReorg"},
        {Field::CantEmpresas, "CantEmpresas"},
        {Field::NombreContador, "NombreContador"},
        {Field::ApellidoContador, "ApellidoContador"},
        {Field::ApellidoRepresentante, "ApellidoRepresentante"},
        {Field::NombreRepresentante, "NombreRepresentante"},
        {Field::NumOrden, "NumOrden"},
        {Field::NumOrdenCheck, "NumOrdenCheck"},
        {Field::Razon, "Razon"}};
    for (const auto &[field, name] : kFields) {
        add(QStringLiteral("field ") + QString::fromLatin1(name), m.field(field));
    }
    static const std::pair<Answer, const char *> kAnswers[] = {{Answer::Rectifica, "Rectifica"},
                                                               {Answer::Ajuste, "Ajuste"},
                                                               {Answer::Liquid, "Liquid"},
                                                               {Answer::Reorg, "Reorg"},
                                                               {Answer::Coop, "Coop"}};
    for (const auto &[answer, name] : kAnswers) {
        add(QStringLiteral("answer ") + QString::fromLatin1(name), m.answer(answer));
    }
    for (int number : kBoxList) {
        const BoxState &b = m.box(number);
        add(QStringLiteral("box %1").arg(number),
            QStringLiteral("%1 locked %2 enabled %3 visible %4")
                .arg(b.text)
                .arg(b.locked)
                .arg(b.enabled)
                .arg(b.visible));
    }
    add(QStringLiteral("tipoReorg"), m.tipoReorg());
    add(QStringLiteral("reorgTypes"), m.reorgTypes().join(u'|'));
    add(QStringLiteral("reorgSelection"), m.reorgSelection());
    add(QStringLiteral("taxpayers"), m.taxpayerEntries().join(u'|'));
    add(QStringLiteral("zones"), m.zones().join(u'|'));
    add(QStringLiteral("zoneIndex"), m.zoneIndex());
    add(QStringLiteral("representativeTypes"), m.representativeTypes().join(u'|'));
    add(QStringLiteral("representativeTypeIndex"), m.representativeTypeIndex());
    add(QStringLiteral("payment"), m.payment().paymentType() + u'|' + m.payment().bankCode() +
                                       u'|' + m.payment().chequeNumber() + u'|' +
                                       m.payment().amount());
    add(QStringLiteral("totals"), m.totalBase() + u'|' + m.totalImpuesto());
    add(QStringLiteral("ratio"), m.raw160() + u'|' + m.mtoDet() + u'|' + m.mtoNet());
    add(QStringLiteral("ruc"), m.sRuc() + u'|' + m.rucField() + u'|' + m.taxpayerRuc());
    add(QStringLiteral("existeDeclaracion"), m.existeDeclaracion());
    QStringList companies;
    for (const CompanyRow &row : m.scratchCompanies()) {
        QStringList cells;
        for (const auto &[column, value] : row) {
            cells << column + u'=' + value.value_or(QStringLiteral("NULL"));
        }
        companies << cells.join(u',');
    }
    companies.sort(); // the scratch table is read without an order
    add(QStringLiteral("companies"), companies.join(u'|'));
    QStringList texts;
    for (const auto &shownMessage : messages.shown) {
        texts << shownMessage.text;
    }
    add(QStringLiteral("messages"), texts.join(u'|'));
    return items(out);
}

Case modelCase(std::string name, DeclarationRun run, OpenRequest request, bool isNew)
{
    return routine(std::move(name), true, [run, request, isNew](Side &s) {
        test::ScriptedMessenger messages;
        DeclarationModel m(s.db(), messages);
        m.setRun(run);
        if (isNew) {
            m.open();
        } else {
            m.open(request);
        }
        return Ran{QStringLiteral("DeclarationModel::open"), modelState(m, messages)};
    });
}

// A batch of a list, all of it walked four rows at a time (each batch after the last row of
// the one before).
Case walkCase(std::string name, DeclarationList list, const QString &user, const QString &tipo)
{
    return routine(std::move(name), true, [list, user, tipo](Side &s) {
        constexpr int kLimit = 4;
        const DeclarationListQuery q(list, kForm, user, tipo);
        std::vector<std::vector<Value>> rows;
        QStringList columns;
        QStringList statements;
        std::optional<ListKey> after;
        for (int batch = 0; batch < 100; ++batch) {
            const QString sql = q.batchSql(after, kLimit);
            if (batch < 2) {
                statements << sql;
            }
            const QueryResult r = s.db().query(sql);
            columns = r.columns();
            for (int i = 0; i < r.rowCount(); ++i) {
                rows.push_back(r.row(i));
            }
            if (r.rowCount() < kLimit) {
                break;
            }
            after = q.keyOf(r.row(r.rowCount() - 1));
        }
        return Ran{statements.join(QStringLiteral(" / then ")), QueryResult(columns, rows)};
    });
}

ListKey registeredKey(const QString &ruc, const char *periodo, int semana)
{
    return {Value(ruc), Value(QString::fromLatin1(periodo)), Value(kForm), Value(semana)};
}

ListKey sentKey(const QString &ruc, const char *periodo, const char *correl)
{
    return {Value(ruc), Value(QString::fromLatin1(periodo)), Value(kForm), Value(0),
            Value(QString::fromLatin1(correl))};
}

void listCases(std::vector<Case> &cases)
{
    struct User {
        const char *tag;
        QString usuario;
        QString tipo;
    };
    const User users[] = {
        {"All", kUserAll, QStringLiteral("0")},
        {"Some", kUserSome, QStringLiteral("1")},
        {"SomeOtherCase", QStringLiteral("usuario1"), QStringLiteral("1")},
        {"QuotedUser", QStringLiteral("o'brien"), QStringLiteral("1")},
    };
    // The host's order is the taxpayer's number only.
    const std::vector<int> byRuc{0};
    for (const User &u : users) {
        const std::string tag = u.tag;
        cases.push_back(
            statement("Lists_Registered_" + tag, FrmContAbrirSql(kForm, u.usuario, u.tipo), byRuc));
        cases.push_back(
            statement("Lists_Sent_" + tag, FrmContAbrirEnvSql(kForm, u.usuario, u.tipo), byRuc));
        cases.push_back(statement("Lists_PrintRegistered_" + tag,
                                  FrmTipPrnRSql(false, kForm, u.usuario, u.tipo), byRuc));
        cases.push_back(statement("Lists_PrintSent_" + tag,
                                  FrmTipPrnRSql(true, kForm, u.usuario, u.tipo), byRuc));
    }
    // The user's type read from CLAVES, in any letter case.
    cases.push_back(routine(
        "Lists_RegisteredForUser", true,
        [](Side &s) {
            return Ran{QStringLiteral("registeredDeclarations(usuario0)"),
                       registeredDeclarations(s.db(), kForm, QStringLiteral("usuario0"))};
        },
        byRuc));
    cases.push_back(routine(
        "Lists_SentForUser", true,
        [](Side &s) {
            return Ran{QStringLiteral("sentDeclarations(Usuario1)"),
                       sentDeclarations(s.db(), kForm, QStringLiteral("Usuario1"))};
        },
        byRuc));
    cases.push_back(routine(
        "Lists_SavedForUser", true,
        [](Side &s) {
            return Ran{QStringLiteral("savedDeclarations(USUARIO1)"),
                       savedDeclarations(s.db(), kUserSome)};
        },
        byRuc));
    cases.push_back(routine("Lists_UserTypes", true, [](Side &s) {
        QStringList types;
        for (const char *user : {"USUARIO0", "usuario0", "Usuario1", "O'BRIEN", "nadie"}) {
            types << QString::fromLatin1(user) + u'=' +
                         listUserType(s.db(), QString::fromLatin1(user));
        }
        return Ran{QStringLiteral("listUserType"), listed(QStringLiteral("type"), types)};
    }));

    // The keyset batches: walked whole, and single batches after and through given rows.
    struct ListTag {
        const char *tag;
        DeclarationList list;
    };
    const ListTag lists[] = {{"Registered", DeclarationList::Registered},
                             {"PrintRegistered", DeclarationList::PrintRegistered},
                             {"Sent", DeclarationList::Sent}};
    for (const ListTag &l : lists) {
        for (const User &u : users) {
            cases.push_back(walkCase(std::string("Batches_") + l.tag + "_" + u.tag + "_Walk",
                                     l.list, u.usuario, u.tipo));
        }
        for (const User &u : {users[0], users[1]}) {
            const DeclarationListQuery q(l.list, kForm, u.usuario, u.tipo);
            const bool sent = l.list == DeclarationList::Sent;
            const ListKey after = sent ? sentKey(alessandro(), "2008", "001")
                                       : registeredKey(alessandro(), "2008", 1);
            const ListKey quoted = sent ? sentKey(QStringLiteral("2077'000001"), "2007", "001")
                                        : registeredKey(QStringLiteral("2077'000001"), "2007", 0);
            const ListKey lower = sent ? sentKey(QStringLiteral("A0000000002"), "2009", "001")
                                       : registeredKey(QStringLiteral("A0000000002"), "2009", 0);
            const ListKey through =
                sent ? sentKey(elSol(), "2009", "001") : registeredKey(elSol(), "2009", 0);
            const std::string head = std::string("Batches_") + l.tag + "_" + u.tag;
            cases.push_back(statement(head + "_First", q.batchSql(std::nullopt, 4)));
            cases.push_back(statement(head + "_After", q.batchSql(after, 5)));
            cases.push_back(statement(head + "_AfterQuotedKey", q.batchSql(quoted, 3)));
            cases.push_back(statement(head + "_AfterOtherCaseKey", q.batchSql(lower, 3)));
            cases.push_back(statement(head + "_Through", q.batchSql(std::nullopt, 0, through)));
            cases.push_back(statement(head + "_AfterThrough", q.batchSql(after, 0, through)));
        }
    }
}

void lookupCases(std::vector<Case> &cases)
{
    for (int column : {59, 64, 70, 82}) {
        cases.push_back(
            statement("DocTypes_Column" + std::to_string(column), documentTypeStatement(column)));
    }
    cases.push_back(routine("DocTypes_Entries", true, [](Side &s) {
        return Ran{
            QStringLiteral("documentTypeEntries(82)"),
            listed(QStringLiteral("entry"), documentTypeEntries(s.db(), TextUtility(), 82, true))};
    }));
    cases.push_back(statement("Banks_Statement", bankStatement()));
    cases.push_back(routine("Banks_Loaded", true, [](Side &s) {
        QStringList banks;
        for (const Bank &b : loadBanks(s.db())) {
            banks << bankListText(b);
        }
        return Ran{QStringLiteral("loadBanks"), listed(QStringLiteral("bank"), banks)};
    }));
    for (int mode : {kConsultaBancos, kConsultaUit}) {
        cases.push_back(
            statement("Consultation_Mode" + std::to_string(mode), consultationFor(mode).statement));
    }
    cases.push_back(routine("Lookups_UserType", true, [](Side &s) {
        QStringList types;
        for (const char *user : {"USUARIO0", "usuario0", "USUARIO1", "O'BRIEN", "o'brien", "x"}) {
            types << userType(s.db(), QString::fromLatin1(user));
        }
        return Ran{QStringLiteral("userType"), listed(QStringLiteral("tipo"), types)};
    }));
    cases.push_back(routine("Lookups_ErrorText", true, [](Side &s) {
        QStringList texts;
        for (int code : {151, 152, 200, 901, 9999}) {
            texts << errorText(s.db(), code);
        }
        return Ran{QStringLiteral("errorText"), listed(QStringLiteral("text"), texts)};
    }));
    cases.push_back(routine("Lookups_ParamFuncion", true, [](Side &s) {
        std::vector<std::pair<QString, Value>> out;
        const std::pair<const char *, const char *> keys[] = {
            {"044", "A"},      {"044", "a"}, {"044", "6"},  {"004", "02"},
            {"975", "200212"}, {"955", "3"}, {"030", "01"}, {"999", "x"}};
        for (const auto &[numero, argumento] : keys) {
            out.emplace_back(QString::fromLatin1(numero) + u'/' + QString::fromLatin1(argumento),
                             optionalText(paramFuncion(s.db(), QString::fromLatin1(numero),
                                                       QString::fromLatin1(argumento))));
        }
        return Ran{QStringLiteral("paramFuncion"), items(out)};
    }));
    cases.push_back(routine("Lookups_DocumentTypeRecord", true, [](Side &s) {
        QStringList records;
        for (const char *type : {"6", "1", "a", "9"}) {
            records << documentTypeRecord(s.db(), QString::fromLatin1(type));
        }
        return Ran{QStringLiteral("documentTypeRecord"), listed(QStringLiteral("record"), records)};
    }));
    cases.push_back(routine("Lookups_TaxScale", true, [](Side &s) {
        QStringList values;
        for (const char *exercise : {"2004", "2006", "2009", "2030"}) {
            for (const char *selector : {"1", "2"}) {
                values << taxScale(s.db(), QString::fromLatin1(exercise),
                                   QString::fromLatin1(selector))
                              .toText();
            }
        }
        return Ran{QStringLiteral("taxScale"), listed(QStringLiteral("value"), values)};
    }));
    cases.push_back(routine("Lookups_HostUsers", true, [](Side &s) {
        return Ran{QStringLiteral("hostUsers"), listed(QStringLiteral("user"), hostUsers(s.db()))};
    }));
    cases.push_back(routine("Lookups_NextCorrel", true, [](Side &s) {
        QStringList next;
        for (const QString &ruc : {alessandro(), elSol(), andina()}) {
            next << nextCorrel(s.db(), declarationKey(ruc, kExercise, kForm));
        }
        next << nextCorrel(
            s.db(), declarationKey(QStringLiteral("2077'000001"), QStringLiteral("2007"), kForm));
        return Ran{QStringLiteral("nextCorrel"), listed(QStringLiteral("correl"), next)};
    }));
}

void declarationCases(std::vector<Case> &cases)
{
    // The taxpayer list for each kind of user (len and trim on the number).
    for (const auto &[tag, usuario] :
         std::vector<std::pair<std::string, QString>>{{"All", kUserAll},
                                                      {"Some", kUserSome},
                                                      {"SomeOtherCase", QStringLiteral("uSUARIO1")},
                                                      {"QuotedUser", QStringLiteral("O'Brien")}}) {
        const QString user = usuario;
        cases.push_back(routine("Taxpayers_" + tag, true, [user](Side &s) {
            test::ScriptedMessenger messages;
            DeclarationModel m(s.db(), messages);
            m.setRun({0, user, false, QString(), QString()});
            const QString sql = m.SqlContribuyentes();
            return Ran{sql, s.db().query(sql)};
        }));
    }
    // With the RUC's record asking for exactly 11 characters, the list tests the trimmed length
    // (the record changed inside a transaction that is rolled back).
    for (const auto &[tag, usuario] :
         std::vector<std::pair<std::string, QString>>{{"All", kUserAll}, {"Some", kUserSome}}) {
        const QString user = usuario;
        cases.push_back(routine("Taxpayers_ExactLength_" + tag, true, [user](Side &s) {
            QString record = builtinRucRecord();
            record[129] = u'1';
            s.db().begin();
            Ran r;
            try {
                s.db().execute(QStringLiteral("UPDATE PARAM SET Funcion=") + sqlQuoted(record) +
                               QStringLiteral(" WHERE Numero='044' AND Argumento='6'"));
                test::ScriptedMessenger messages;
                DeclarationModel m(s.db(), messages);
                m.setRun({0, user, false, QString(), QString()});
                r.statement = m.SqlContribuyentes();
                r.rows = s.db().query(r.statement);
            } catch (...) {
                s.db().rollback();
                throw;
            }
            s.db().rollback();
            return r;
        }));
    }
    cases.push_back(modelCase("Model_New_UserAll", {0, kUserAll, false, {}, {}}, {}, true));
    cases.push_back(modelCase("Model_New_UserSome", {0, kUserSome, false, {}, {}}, {}, true));
    cases.push_back(modelCase("Model_Stored_Andina", {1, kUserSome, false, {}, {}},
                              {andina(), nameOf(andina()), kExercise, QString()}, false));
    cases.push_back(modelCase("Model_Stored_ElSolWithCompanies", {1, kUserAll, false, {}, {}},
                              {elSol(), nameOf(elSol()), kExercise, QString()}, false));
    cases.push_back(modelCase("Model_Sent_ElSol", {1, kUserAll, true, "001", "71000011"},
                              {elSol(), nameOf(elSol()), kExercise, QStringLiteral("0")}, false));
    cases.push_back(
        modelCase("Model_Sent_AlessandroWithOrder", {1, kUserAll, true, "002", "71000022"},
                  {alessandro(), nameOf(alessandro()), kExercise, kOrderNumber}, false));
    cases.push_back(modelCase("Model_Stored_2007WithoutBoxes", {1, kUserAll, false, {}, {}},
                              {QStringLiteral("2077'000001"), QStringLiteral("CLAVE CON COMILLA"),
                               QStringLiteral("2007"), QString()},
                              false));
    cases.push_back(routine("Model_Checks", true, [](Side &s) {
        test::ScriptedMessenger messages;
        DeclarationModel m(s.db(), messages);
        m.setRun({0, kUserAll, false, QString(), QString()});
        std::vector<std::pair<QString, Value>> out;
        out.emplace_back(QStringLiteral("hasAdjustmentFactor"), m.hasAdjustmentFactor());
        out.emplace_back(QStringLiteral("zones"), m.zoneEntries().join(u'|'));
        for (const char *periodo : {"2009", "2007", "2008", "1999"}) {
            m.setSPeriodo(QString::fromLatin1(periodo));
            for (const QString &ruc : {andina(), alessandro(), QStringLiteral("2077'000001"),
                                       QStringLiteral("b0000000001")}) {
                out.emplace_back(
                    QStringLiteral("headerExists %1 %2").arg(ruc, QString::fromLatin1(periodo)),
                    m.headerExists(ruc));
            }
        }
        return Ran{QStringLiteral("hasAdjustmentFactor, zoneEntries, headerExists"), items(out)};
    }));
    // The companies of El Sol in the scratch table, as the window and its dialogs read them.
    cases.push_back(routine("Companies_OfElSol", true, [](Side &s) {
        test::ScriptedMessenger messages;
        DeclarationModel m(s.db(), messages);
        m.setRun({1, kUserAll, false, QString(), QString()});
        m.open({elSol(), nameOf(elSol()), kExercise, QString()});
        std::vector<std::pair<QString, Value>> out;
        const CompanyTotals totals = companyTotals(s.db());
        out.emplace_back(QStringLiteral("totals"),
                         QStringList{totals.totalBase, totals.totalImpuesto, totals.box115,
                                     QString::number(totals.count), totals.countCaption}
                             .join(u'|'));
        out.emplace_back(QStringLiteral("companiesCount"), DeclarationReview(m).companiesCount());
        const QueryResult list = companyListRows(s.db());
        QStringList rows;
        for (int r = 0; r < list.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < static_cast<int>(list.row(r).size()); ++c) {
                cells << companyCellText(c, list.at(r, c));
            }
            rows << cells.join(u',');
        }
        rows.sort();
        out.emplace_back(QStringLiteral("list"), rows.join(u'|'));
        const QueryResult shownRows = m.companyRows();
        out.emplace_back(QStringLiteral("companyRows"), shownRows.rowCount());
        CompanyForm form(s.db(), {QStringLiteral("1"), elSol(), kExercise, QStringLiteral("1"),
                                  alamos(), false});
        const std::vector<CompanyRefusal> refusals = form.load();
        QStringList texts;
        for (int f = 0; f < kCompanyFieldCount; ++f) {
            texts << form.text(static_cast<CompanyField>(f));
        }
        out.emplace_back(QStringLiteral("form"), texts.join(u'|'));
        out.emplace_back(QStringLiteral("refusals"), static_cast<int>(refusals.size()));
        DeclarationSave save(m);
        out.emplace_back(QStringLiteral("fingerprint"), save.fingerprint());
        out.emplace_back(QStringLiteral("MensajeError 151"), save.MensajeError(151));
        out.emplace_back(QStringLiteral("MensajeError 901"), save.MensajeError(901));
        return Ran{QStringLiteral("companyTotals, companyListRows, CompanyForm::load, "
                                  "fingerprint"),
                   items(out)};
    }));
    cases.push_back(routine("Anexo105_Load", true, [](Side &s) {
        QStringList shownAmounts;
        for (const auto &[ruc, hist, correl] : std::vector<std::tuple<QString, bool, QString>>{
                 {andina(), false, QString()},
                 {alessandro(), true, QStringLiteral("002")},
                 {elSol(), true, QStringLiteral("001")}}) {
            Anexo105 a;
            a.load(s.db(), QStringLiteral(" ") + ruc, kExercise, kForm, hist, correl);
            for (int i = 0; i < Anexo105::kFields; ++i) {
                shownAmounts << a.amount(i);
            }
            shownAmounts << a.totalText();
        }
        return Ran{QStringLiteral("Anexo105::load"),
                   listed(QStringLiteral("amount"), shownAmounts)};
    }));
}

QueryResult declarationData(const DeclarationData &d)
{
    std::vector<std::pair<QString, Value>> out;
    for (int n = 1; n < 900; ++n) {
        if (!d.box(n).isEmpty()) {
            out.emplace_back(QStringLiteral("box %1").arg(n), d.box(n));
        }
    }
    out.emplace_back(QStringLiteral("orderNumber"), d.orderNumber);
    out.emplace_back(QStringLiteral("description828"), d.description828);
    out.emplace_back(QStringLiteral("cheque"), d.cheque);
    out.emplace_back(QStringLiteral("bank"),
                     d.bankCode + u'|' + d.chequeNumber + u'|' + d.bankName);
    for (int i = 0; i < DeclarationData::kAnnexCount; ++i) {
        out.emplace_back(QStringLiteral("annex %1").arg(i),
                         d.annex.at(static_cast<size_t>(i)).toText());
    }
    out.emplace_back(QStringLiteral("annexTotal"), d.annexTotal.toText());
    return items(out);
}

void reportCases(std::vector<Case> &cases)
{
    struct Selection {
        const char *tag;
        DeclarationSelection s;
    };
    const Selection selections[] = {
        {"Registered_Andina", {andina(), QString(), kForm, kExercise, false, {}, {}, true}},
        {"Registered_ElSol", {elSol(), QString(), kForm, kExercise, false, {}, {}, true}},
        {"Sent_ElSol", {elSol(), QString(), kForm, kExercise, true, "001", "71000011", true}},
        {"Sent_Alessandro",
         {alessandro(), QString(), kForm, kExercise, true, "002", "71000022", true}},
    };
    for (const Selection &sel : selections) {
        const std::string head = std::string("Report_") + sel.tag;
        if (sel.s.sent) {
            cases.push_back(statement(head + "_SentHeader", sentHeaderStatement(sel.s)));
        }
        cases.push_back(statement(head + "_Detail", detailStatement(sel.s)));
        cases.push_back(statement(head + "_Payment", paymentStatement(sel.s)));
        cases.push_back(statement(head + "_Annex", annexStatement(sel.s)));
        const DeclarationSelection s = sel.s;
        cases.push_back(routine(head + "_Loaded", true, [s](Side &side) {
            return Ran{QStringLiteral("loadDeclaration"),
                       declarationData(loadDeclaration(side.db(), s))};
        }));
    }
    for (const char *code : {"1", "3", " 5 ", "6", "9"}) {
        cases.push_back(statement("Report_Box828_" + std::to_string(std::atoi(code)),
                                  box828Statement(QString::fromLatin1(code))));
    }
    cases.push_back(statement("Report_Bank", qz::bankStatement(QStringLiteral("02"))));
}

void checkCases(std::vector<Case> &cases)
{
    // declchk on El Sol (companies and a reorganization) and on Andina.
    for (const auto &[tag, taxpayer] :
         std::vector<std::pair<std::string, QString>>{{"ElSol", elSol()}, {"Andina", andina()}}) {
        const QString ruc = taxpayer;
        cases.push_back(routine("Declchk_" + tag, true, [ruc](Side &s) {
            SendChecker checker(s.db(), argsFor(ruc, QStringLiteral("00000000")));
            std::vector<std::pair<QString, Value>> out;
            for (const char *box : {"115", "521", "827", "828", "101", "999"}) {
                out.emplace_back(QStringLiteral("box ") + QString::fromLatin1(box),
                                 checker.ValorCasilla(QString::fromLatin1(box)));
            }
            for (const char *table : {"F731EMPRESAS", "DET", "CAB"}) {
                out.emplace_back(
                    QStringLiteral("count ") + QString::fromLatin1(table),
                    static_cast<std::int64_t>(checker.CuentaRegistros(QString::fromLatin1(table))));
            }
            for (const char *column : {"MTO_IMP_PAG", "MTO_BASE_IMP", "PORC_PART"}) {
                const std::optional<double> sum = checker.SumaDetalle(
                    QStringLiteral("F731EMPRESAS"), QString::fromLatin1(column));
                out.emplace_back(QStringLiteral("sum ") + QString::fromLatin1(column),
                                 sum ? Value(*sum) : Value());
            }
            const QString listing = s.dir() + QStringLiteral("/declchk.ERR");
            out.emplace_back(QStringLiteral("consistent"), checker.ValidaEnvio(listing));
            out.emplace_back(QStringLiteral("listing"), fileText(listing));
            return Ran{QStringLiteral("SendChecker"), items(out)};
        }));
    }
    // declrep's header query, built from the argument string.
    cases.push_back(routine("Declrep_Header", false, [](Side &s) {
        const SummaryReport summary(
            s.db(), configFor(s),
            argsFor(QStringLiteral(" ") + elSol(), QStringLiteral("00000001")), s.dir());
        const QString sql = summary.headerQuery();
        return Ran{sql, s.db().query(sql)};
    }));
}

void recoveryCases(std::vector<Case> &cases)
{
    const SentDeclaration sent[] = {
        {kForm, elSol(), kExercise, QStringLiteral("001")},
        {kForm, alessandro(), kExercise, QStringLiteral("002")},
        {kForm, QStringLiteral("2077'000001"), QStringLiteral("2007"), QStringLiteral("001")}};
    const char *const tags[] = {"ElSol", "Alessandro", "QuotedKey"};
    cases.push_back(statement("Recovery_Tables", recoveryTablesSql(kForm)));
    for (int i = 0; i < 3; ++i) {
        const SentDeclaration &d = sent[i];
        const std::string head = std::string("Recovery_") + tags[i];
        cases.push_back(statement(head + "_Active", activeDeclarationSql(d)));
        for (const char *table : {"CAB", "DET", "F731EMPRESAS", "F731PORCENTAJE"}) {
            const QString t = QString::fromLatin1(table);
            cases.push_back(statement(head + "_History_" + table, recoveryHistorySql(t, d)));
            cases.push_back(statement(head + "_Target_" + table, recoveryTargetSql(t, d)));
            cases.push_back(change(head + "_Delete_" + table, recoveryDeleteSql(t, d)));
        }
    }
}

void deleteCases(std::vector<Case> &cases)
{
    const QStringList registered = registeredDeleteStatements(elSol(), kExercise, kForm);
    for (int i = 0; i < registered.size(); ++i) {
        cases.push_back(change("Delete_Registered_ElSol_" + std::to_string(i), registered.at(i)));
    }
    const QStringList quoted =
        registeredDeleteStatements(QStringLiteral("2077'000001"), QStringLiteral("2008"), kForm);
    for (int i = 0; i < quoted.size(); ++i) {
        cases.push_back(change("Delete_Registered_QuotedKey_" + std::to_string(i), quoted.at(i)));
    }
    const QStringList sentRows = sentDeleteStatements(alessandro(), kExercise, kForm, "002");
    for (int i = 0; i < sentRows.size(); ++i) {
        cases.push_back(change("Delete_Sent_Alessandro_" + std::to_string(i), sentRows.at(i)));
    }
}

// The tables the preparation wrote, whole: where a statement differs, these tell whether the
// rows under it already did.
void tableCases(std::vector<Case> &cases)
{
    for (const char *table :
         {"CONT", "CLAVES", "ERROR", "PARAM", "envio_t", "CAB", "DET", "F731EMPRESAS",
          "F731PORCENTAJE", "HCAB", "HDET", "HF731EMPRESAS", "HF731PORCENTAJE", "SPOOL"}) {
        cases.push_back(statement(std::string("Table_") + table,
                                  QStringLiteral("SELECT * FROM ") + QString::fromLatin1(table)));
    }
}

std::vector<Case> allCases()
{
    std::vector<Case> cases;
    listCases(cases);
    lookupCases(cases);
    declarationCases(cases);
    reportCases(cases);
    checkCases(cases);
    recoveryCases(cases);
    deleteCases(cases);
    tableCases(cases);
    return cases;
}

class SameStatements : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        if (!engines->skipReason.isEmpty()) {
            GTEST_SKIP() << engines->skipReason.toStdString();
        }
        ASSERT_TRUE(engines->error.isEmpty()) << engines->error.toStdString();
    }
};

// The steps that change data gave the same outcome on both engines.
TEST(SamePreparation, GivesTheSameOutcomes)
{
    if (!engines->skipReason.isEmpty()) {
        GTEST_SKIP() << engines->skipReason.toStdString();
    }
    ASSERT_TRUE(engines->error.isEmpty()) << engines->error.toStdString();
    // One file and one server database, or nothing here is compared.
    EXPECT_FALSE(engines->lite.db().isServer());
    EXPECT_TRUE(engines->server.db().isServer());
    const QStringList &lite = engines->lite.prepared, &server = engines->server.prepared;
    for (int i = 0; i < std::max(lite.size(), server.size()); ++i) {
        EXPECT_EQ(lite.value(i).toStdString(), server.value(i).toStdString())
            << "preparation step " << i << " (SQLite above, the server below)";
    }
}

TEST_P(SameStatements, GiveTheSameRows)
{
    const Case &c = GetParam();
    const Ran lite = runOn(c, engines->lite);
    const Ran server = runOn(c, engines->server);
    const Comparison cmp = compare(c, lite, server);
    EXPECT_TRUE(cmp.differences.isEmpty()) << report(c, lite, server, cmp).toStdString();
    if (cmp.differences.isEmpty() && !cmp.notes.isEmpty()) {
        // The same values, but not of the same kind: worth knowing, not a different result.
        std::printf("note %s: %s\n", c.name.c_str(),
                    qPrintable(cmp.notes.join(QStringLiteral("; "))));
    }
}

std::string caseName(const ::testing::TestParamInfo<Case> &param)
{
    return param.param.name;
}

INSTANTIATE_TEST_SUITE_P(Core, SameStatements, ::testing::ValuesIn(allCases()), caseName);

} // namespace
} // namespace qz
