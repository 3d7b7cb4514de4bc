// The PostgreSQL engine behind the host's database interface, through libpq.
#include "core/data/pgengine.h"

#include "core/data/pgdialect.h"
#include "core/data/sqltext.h"

#include <QRegularExpression>
#include <QThread>

#include <libpq-fe.h>

#include <cmath>

namespace qz {

namespace {

// Every writer takes this lock of the database for its transaction.
constexpr qint64 kWriterLock = 731000731;
constexpr int kRetries = 3;
constexpr const char *kConnectTimeout = "5";
constexpr const char *kSessionOptions = "-c lock_timeout=5000 -c standard_conforming_strings=on "
                                        "-c DateStyle=ISO,YMD -c client_min_messages=warning";

// OIDs of the server's built-in types (pg_type.h is not part of the client headers).
enum : Oid {
    kBool = 16,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kOid = 26,
    kFloat4 = 700,
    kFloat8 = 701,
    kDate = 1082,
    kTimestamp = 1114,
    kTimestampTz = 1184,
    kNumeric = 1700,
};

// libpq's message of a failed connection, on one line for a message box.
QString serverMessage(const pg_conn *conn)
{
    return QString::fromUtf8(PQerrorMessage(conn)).simplified();
}

Value readValue(const PGresult *res, int row, int column)
{
    if (PQgetisnull(res, row, column)) {
        return {};
    }
    const QString text =
        QString::fromUtf8(PQgetvalue(res, row, column), PQgetlength(res, row, column));
    switch (PQftype(res, column)) {
    case kBool:
        return Value(text == QLatin1String("t") ? 1 : 0);
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid:
        return Value(static_cast<std::int64_t>(text.toLongLong()));
    case kFloat4:
    case kFloat8:
        if (text == QLatin1String("Infinity")) {
            return Value(HUGE_VAL);
        }
        if (text == QLatin1String("-Infinity")) {
            return Value(-HUGE_VAL);
        }
        return Value(text.toDouble());
    case kNumeric: {
        // A sum of whole numbers is numeric on the server and an integer on SQLite.
        bool whole = false;
        const qlonglong n = text.toLongLong(&whole);
        return whole ? Value(static_cast<std::int64_t>(n)) : Value(text.toDouble());
    }
    case kDate:
    case kTimestamp:
    case kTimestampTz: {
        const QDateTime dt = Value(text).toDate();
        return dt.isValid() ? Value(dt) : Value(text);
    }
    default:
        return Value(text);
    }
}

QueryResult rowsOf(const PGresult *res)
{
    QStringList columns;
    const int n = PQnfields(res);
    for (int c = 0; c < n; ++c) {
        columns << QString::fromUtf8(PQfname(res, c));
    }
    std::vector<std::vector<Value>> rows;
    const int count = PQntuples(res);
    rows.reserve(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r) {
        std::vector<Value> row;
        row.reserve(static_cast<size_t>(n));
        for (int c = 0; c < n; ++c) {
            row.push_back(readValue(res, r, c));
        }
        rows.push_back(std::move(row));
    }
    return QueryResult(columns, std::move(rows));
}

// A value as an untyped literal: the server converts it to the column's type.
QString literal(const Value &v)
{
    switch (v.kind()) {
    case Value::Kind::Null:
        return QStringLiteral("NULL");
    case Value::Kind::Double: {
        const double d = v.toDouble();
        if (std::isnan(d)) {
            return QStringLiteral("'NaN'");
        }
        if (std::isinf(d)) {
            return d > 0 ? QStringLiteral("'Infinity'") : QStringLiteral("'-Infinity'");
        }
        return sqlQuoted(QString::number(d, 'g', 17));
    }
    default: {
        QString text = v.toText();
        text.remove(QChar(u'\0')); // the server's text cannot hold it
        return sqlQuoted(text);
    }
    }
}

QString quotedLower(const QString &name)
{
    return quotedName(name.toLower());
}

// The table of a host name (any letter case) in a catalog query; NULL when there is none.
QString regclassOf(const QString &table)
{
    return QStringLiteral("to_regclass(quote_ident(lower(%1)))").arg(sqlQuoted(table));
}

bool isSchemaChange(const QString &sql)
{
    static const QRegularExpression ddl(QStringLiteral(R"(^\s*(CREATE|ALTER|DROP)\b)"),
                                        QRegularExpression::CaseInsensitiveOption);
    return ddl.match(sql).hasMatch();
}

bool isRetryable(const QString &state)
{
    return state == QLatin1String("40001") || state == QLatin1String("40P01");
}

// A row's identity "(block,offset)" as one number and back.
QString tidText(qint64 rowid)
{
    return QStringLiteral("'(%1,%2)'").arg(rowid >> 16).arg(rowid & 0xffff);
}

} // namespace

int hostErrorNumberOfState(const QString &state, const QString &message, const QString &sql)
{
    if (message.contains(QLatin1String(dberr::kOverflowText))) {
        return dberr::kOverflow; // raised by our val() on a number beyond any range
    }
    if (state == QLatin1String("42P07")) {
        static const QRegularExpression table(QStringLiteral(R"(^\s*CREATE\s+TABLE\b)"),
                                              QRegularExpression::CaseInsensitiveOption);
        return table.match(sql).hasMatch() ? dberr::kTableExists : dberr::kPrimaryKeyExists;
    }
    if (state == QLatin1String("42P16")) {
        return dberr::kPrimaryKeyExists; // a second primary key
    }
    if (state == QLatin1String("42P01")) {
        return dberr::kNoSuchTable;
    }
    if (state == QLatin1String("42703")) {
        return dberr::kTooFewParameters;
    }
    if (state == QLatin1String("23505")) {
        return dberr::kDuplicateKey;
    }
    if (state == QLatin1String("42601")) {
        return dberr::kSyntax;
    }
    if (state == QLatin1String("22003")) {
        return dberr::kOverflow;
    }
    if (state == QLatin1String("55P03") || state == QLatin1String("57014") || isRetryable(state)) {
        return dberr::kLocked;
    }
    if (state == QLatin1String("25006")) {
        return dberr::kReadOnly;
    }
    if (state.startsWith(QLatin1String("53"))) {
        return dberr::kDiskFull;
    }
    if (state.startsWith(QLatin1String("58"))) {
        return 3043; // disk or network error
    }
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P"))) {
        return dberr::kServerUnreachable;
    }
    if (state == QLatin1String("28P01") || state.startsWith(QLatin1String("28"))) {
        return dberr::kAccount;
    }
    if (state == QLatin1String("3D000")) {
        return dberr::kFileNotFound;
    }
    return dberr::kServerCallFailed; // the server's state is in the text
}

std::unique_ptr<PgEngine> PgEngine::connect(const QString &conninfo)
{
    const QByteArray info = conninfo.toUtf8();
    char *parseError = nullptr;
    PQconninfoOption *options = PQconninfoParse(info.constData(), &parseError);
    if (!options) {
        const QString why = parseError ? QString::fromUtf8(parseError).trimmed() : QString();
        PQfreemem(parseError);
        throw DbError(
            dberr::kServerUnreachable,
            QStringLiteral("La conexión al servidor de base de datos no es válida: %1").arg(why));
    }
    bool hasPassword = false;
    for (PQconninfoOption *o = options; o->keyword; ++o) {
        if (qstrcmp(o->keyword, "password") == 0 && o->val && *o->val) {
            hasPassword = true;
        }
    }
    PQconninfoFree(options);
    if (hasPassword) {
        throw DbError(dberr::kAccount,
                      QStringLiteral("La conexión al servidor no debe llevar la contraseña: "
                                     "guárdela en el archivo de contraseñas del usuario "
                                     "(~/.pgpass) o en la variable PGPASSWORD."));
    }
    // Our defaults first: the connection string given overrides them.
    const char *keywords[] = {"connect_timeout", "client_encoding", "application_name",
                              "options",         "dbname",          nullptr};
    const char *values[] = {kConnectTimeout, "UTF8",           "qz0731",
                            kSessionOptions, info.constData(), nullptr};
    pg_conn *conn = PQconnectdbParams(keywords, values, 1);
    if (!conn) {
        throw DbError(dberr::kServerUnreachable, QStringLiteral("out of memory"));
    }
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString message = serverMessage(conn);
        const QString database = QString::fromUtf8(PQdb(conn));
        const bool needsPassword = PQconnectionNeedsPassword(conn);
        const bool usedPassword = PQconnectionUsedPassword(conn);
        PQfinish(conn);
        if (message.contains(QLatin1String("does not exist")) &&
            message.contains(QLatin1String("database"))) {
            throw DbError(dberr::kFileNotFound,
                          QStringLiteral("No existe la base de datos '%1' en el servidor. (%2)")
                              .arg(database, message));
        }
        if (needsPassword) {
            throw DbError(dberr::kAccount,
                          QStringLiteral("El servidor pide una contraseña y no hay ninguna para "
                                         "esta conexión en ~/.pgpass ni en PGPASSWORD. (%1)")
                              .arg(message));
        }
        if (usedPassword) {
            throw DbError(dberr::kAccount,
                          QStringLiteral("El servidor no aceptó el usuario o la contraseña. (%1)")
                              .arg(message));
        }
        throw DbError(dberr::kServerUnreachable,
                      QStringLiteral("No se puede conectar con el servidor de base de datos. (%1)")
                          .arg(message));
    }
    return std::unique_ptr<PgEngine>(new PgEngine(conn));
}

PgEngine::~PgEngine()
{
    PQfinish(conn_);
}

QString PgEngine::displayName() const
{
    return QStringLiteral("%1 en %2:%3")
        .arg(QString::fromUtf8(PQdb(conn_)), QString::fromUtf8(PQhost(conn_)),
             QString::fromUtf8(PQport(conn_)));
}

QString PgEngine::translate(const QString &hostSql) const
{
    return translateForServer(hostSql);
}

QString PgEngine::runOnce(const QString &sql, Outcome *outcome, QString *message)
{
    const QByteArray utf8 = sql.toUtf8();
    if (!PQsendQuery(conn_, utf8.constData())) {
        *message = serverMessage(conn_);
        return QStringLiteral("08006");
    }
    QString state;
    while (PGresult *res = PQgetResult(conn_)) {
        switch (PQresultStatus(res)) {
        case PGRES_TUPLES_OK:
            outcome->rows = rowsOf(res);
            break;
        case PGRES_COMMAND_OK:
            outcome->changed += QByteArray(PQcmdTuples(res)).toInt();
            break;
        case PGRES_EMPTY_QUERY:
            break;
        default:
            if (state.isEmpty()) {
                const char *s = PQresultErrorField(res, PG_DIAG_SQLSTATE);
                state = s ? QString::fromLatin1(s) : QStringLiteral("08006");
                *message = QString::fromUtf8(PQresultErrorMessage(res)).trimmed();
            }
            break;
        }
        PQclear(res);
    }
    if (state.isEmpty() && PQstatus(conn_) != CONNECTION_OK) {
        *message = serverMessage(conn_);
        return QStringLiteral("08006");
    }
    return state;
}

void PgEngine::simple(const QString &sql)
{
    Outcome outcome;
    QString message;
    const QString state = runOnce(sql, &outcome, &message);
    if (!state.isEmpty()) {
        throw DbError(hostErrorNumberOfState(state, message, sql), message);
    }
}

PgEngine::Outcome PgEngine::run(const QString &sql)
{
    for (int attempt = 0;; ++attempt) {
        const bool inTx = inTransaction();
        QString text = sql;
        if (inTx) {
            // A failed statement inside a transaction undoes only itself, as on SQLite.
            text = (savepoint_ ? QStringLiteral("RELEASE SAVEPOINT qz_statement; ") : QString()) +
                   QStringLiteral("SAVEPOINT qz_statement; ") + sql;
        }
        Outcome outcome;
        QString message;
        const QString state = runOnce(text, &outcome, &message);
        if (inTx) {
            savepoint_ = PQtransactionStatus(conn_) != PQTRANS_IDLE;
        }
        if (state.isEmpty()) {
            if (isSchemaChange(sql)) {
                ++schemaChanges_;
            }
            return outcome;
        }
        if (inTx && PQtransactionStatus(conn_) == PQTRANS_INERROR) {
            Outcome ignored;
            QString rollbackMessage;
            if (!runOnce(QStringLiteral("ROLLBACK TO SAVEPOINT qz_statement"), &ignored,
                         &rollbackMessage)
                     .isEmpty()) {
                savepoint_ = false;
            }
        }
        if (isRetryable(state) && attempt < kRetries) {
            QThread::msleep(static_cast<unsigned long>(20 * (attempt + 1)));
            continue;
        }
        if (!message.contains(sql)) {
            message += QStringLiteral(" [") + sql + u']';
        }
        throw DbError(hostErrorNumberOfState(state, message, sql), message);
    }
}

QueryResult PgEngine::query(const QString &sql)
{
    return run(sql).rows;
}

int PgEngine::execute(const QString &sql)
{
    return run(sql).changed;
}

std::vector<ColumnInfo> PgEngine::tableColumns(const QString &table)
{
    const QueryResult r =
        run(QStringLiteral(
                "SELECT a.attname, coalesce(col_description(a.attrelid, a.attnum), "
                "format_type(a.atttypid, a.atttypmod)) FROM pg_attribute a WHERE "
                "a.attrelid = %1 AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum")
                .arg(regclassOf(table)))
            .rows;
    std::vector<ColumnInfo> columns;
    for (int i = 0; i < r.rowCount(); ++i) {
        columns.push_back({r.at(i, 0).toText(), r.at(i, 1).toText()});
    }
    return columns;
}

QStringList PgEngine::tableNames()
{
    const QueryResult r = run(QStringLiteral("SELECT tablename FROM pg_tables WHERE schemaname "
                                             "= current_schema() ORDER BY tablename"))
                              .rows;
    QStringList names;
    for (int i = 0; i < r.rowCount(); ++i) {
        names << r.at(i, 0).toText();
    }
    return names;
}

bool PgEngine::tableExists(const QString &table)
{
    // to_regclass reads the name through the catalog's index; pg_tables would scan.
    return !run(QStringLiteral("SELECT 1 FROM pg_class WHERE oid = %1 AND relkind IN ('r', 'p')")
                    .arg(regclassOf(table)))
                .rows.isEmpty();
}

std::vector<IndexInfo> PgEngine::indexesOf(const QString &table)
{
    const QueryResult r =
        run(QStringLiteral(
                "SELECT i.relname, x.indisunique, x.indpred IS NOT NULL, "
                "pg_get_indexdef(x.indexrelid), 0 = ANY (x.indkey::int2[]), "
                "(SELECT string_agg(a.attname, ',' ORDER BY k.n) FROM unnest(x.indkey::int2[]) "
                "WITH ORDINALITY AS k(attnum, n) JOIN pg_attribute a ON a.attrelid = x.indrelid "
                "AND a.attnum = k.attnum) FROM pg_index x JOIN pg_class i ON i.oid = x.indexrelid "
                "WHERE x.indrelid = %1")
                .arg(regclassOf(table)))
            .rows;
    std::vector<IndexInfo> out;
    for (int i = 0; i < r.rowCount(); ++i) {
        IndexInfo index;
        index.name = r.at(i, 0).toText();
        index.unique = r.at(i, 1).toInt() != 0;
        index.partial = r.at(i, 2).toInt() != 0;
        index.definition = r.at(i, 3).toText();
        if (r.at(i, 4).toInt() == 0) {
            index.columns = r.at(i, 5).toText().split(u',', Qt::SkipEmptyParts);
        }
        out.push_back(std::move(index));
    }
    return out;
}

qint64 PgEngine::rowIdOf(const Value &selected) const
{
    // "(block,offset)"
    const QString t = selected.toText();
    const qsizetype comma = t.indexOf(u',');
    const qint64 block = t.mid(1, comma - 1).toLongLong();
    const qint64 offset = t.mid(comma + 1, t.size() - comma - 2).toLongLong();
    return (block << 16) | offset;
}

void PgEngine::store(Record &record)
{
    QString sql;
    if (record.isNew()) {
        QStringList names, values;
        for (int c = 0; c < record.columnCount(); ++c) {
            names << quotedLower(record.columns()[static_cast<size_t>(c)].name);
            values << literal(record.value(c));
        }
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING ctid::text")
                  .arg(quotedLower(record.table()), names.join(u','), values.join(u','));
    } else {
        QStringList sets;
        for (int c = 0; c < record.columnCount(); ++c) {
            sets << quotedLower(record.columns()[static_cast<size_t>(c)].name) + u'=' +
                        literal(record.value(c));
        }
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE ctid=%3::tid RETURNING ctid::text")
                  .arg(quotedLower(record.table()), sets.join(u','), tidText(*record.rowid()));
    }
    const QueryResult r = run(sql).rows;
    if (r.isEmpty()) {
        // The row read was changed or deleted by another connection since: storing over it
        // would lose that change.
        throw DbError(dberr::kWriteConflict,
                      QStringLiteral("Otro usuario cambió o eliminó esta fila de %1 mientras "
                                     "se editaba; vuelva a leerla.")
                          .arg(record.table()));
    }
    record.setRowid(rowIdOf(r.at(0, 0)));
}

void PgEngine::remove(const Record &record)
{
    run(QStringLiteral("DELETE FROM %1 WHERE ctid=%2::tid")
            .arg(quotedLower(record.table()), tidText(*record.rowid())));
}

void PgEngine::begin()
{
    for (int attempt = 0;; ++attempt) {
        Outcome outcome;
        QString message;
        const QString sql = QStringLiteral("BEGIN ISOLATION LEVEL READ COMMITTED; SELECT "
                                           "pg_advisory_xact_lock(%1)")
                                .arg(kWriterLock);
        const QString state = runOnce(sql, &outcome, &message);
        if (state.isEmpty()) {
            savepoint_ = false;
            return;
        }
        if (PQtransactionStatus(conn_) != PQTRANS_IDLE) {
            runOnce(QStringLiteral("ROLLBACK"), &outcome, &message);
        }
        if (isRetryable(state) && attempt < kRetries) {
            continue;
        }
        throw DbError(hostErrorNumberOfState(state, message, sql), message);
    }
}

void PgEngine::commit()
{
    if (PQtransactionStatus(conn_) == PQTRANS_INERROR) {
        simple(QStringLiteral("ROLLBACK"));
        throw DbError(dberr::kLocked, QStringLiteral("La transacción falló y se deshizo."));
    }
    simple(QStringLiteral("COMMIT"));
    savepoint_ = false;
}

void PgEngine::rollback()
{
    savepoint_ = false;
    if (inTransaction()) {
        simple(QStringLiteral("ROLLBACK"));
    }
}

bool PgEngine::inTransaction() const
{
    const PGTransactionStatusType s = PQtransactionStatus(conn_);
    return s == PQTRANS_INTRANS || s == PQTRANS_INERROR || s == PQTRANS_ACTIVE;
}

} // namespace qz
