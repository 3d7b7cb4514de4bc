// The host's sending of a declaration: declchk, declrep, the move into the history tables and
// the receipt (the order of the steps is explained in sending.h).
#include "core/host/sending.h"

#include "core/data/clock.h"
#include "core/data/controlcode.h"
#include "core/data/paths.h"
#include "core/data/sqltext.h"
#include "core/data/textfile.h"
#include "core/data/transaction.h"
#include "core/declaration/declarationkey.h"
#include "core/host/historytables.h"
#include "core/management/declarationlists.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>

namespace qz {

namespace {

const QString kForm = QString::fromLatin1(kSendingForm);

// Numbers the administration and the host give: control numbers of eight digits without a
// leading zero, order numbers of seven or eight digits (with the control number and D1 they
// stay within the 17 characters the check digit reads).
QString randomNumber(quint32 from, quint32 to)
{
    return QString::number(QRandomGenerator::global()->bounded(from, to + 1));
}

// A value of a row as text that tells Null, numbers and texts apart.
QString rowText(const QueryResult &rows, int r)
{
    QStringList parts;
    for (const Value &v : rows.row(r)) {
        parts << QString::number(static_cast<int>(v.kind())) + u':' + v.toText();
    }
    return parts.join(QChar(0x1F));
}

QString readListing(const QString &path)
{
    QStringList lines;
    return readHostLines(path, &lines) ? lines.join(u'\n') : QString();
}

int runProcess(const QString &program, const QString &argument, const QString &workDir,
               QString *errors)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments({argument});
    process.setWorkingDirectory(workDir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // No message box from the programs: their messages come back on stderr and the host
    // shows them with the outcome.
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start();
    const bool ended = process.waitForStarted() && process.waitForFinished(120000);
    *errors = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (!ended) {
        if (errors->isEmpty()) {
            *errors = process.errorString();
        }
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString tmpFolder(const QString &sysPath)
{
    return ensureFolder(normalizedDir(sysPath), QStringLiteral("TMP"));
}

// The copy of declrep's summary that the host picks up: form, period, code and number.
QString summaryCopy(const QString &sysPath, const QString &exercise, const QString &control)
{
    return joinPath(tmpFolder(sysPath), kForm + exercise + QStringLiteral("00") +
                                            QString::fromLatin1(kSendingCode) + control +
                                            QStringLiteral(".TXT"));
}

QString withDetails(const QString &message, const QString &details)
{
    return details.isEmpty() ? message : message + u'\n' + details;
}

} // namespace

QString sendingArgument(const QString &ruc, const QString &exercise, const QString &number)
{
    return QStringLiteral("06") + ruc.leftJustified(15, u' ', true) + kForm + exercise +
           QStringLiteral("00") + QString::fromLatin1(kSendingCode) + number;
}

QString orderVerificationCode(const QString &control, const QString &order)
{
    QString c = control;
    const QString d1 = checkDigit(c).mid(8, 1);
    QString t = c + order.trimmed() + d1;
    return d1 + checkDigit(t).right(1);
}

QueryResult savedDeclarations(Database &db, const QString &user)
{
    return registeredDeclarations(db, kForm, user);
}

QString receiptText(const SendResult &result)
{
    return QStringLiteral("Número de orden: %1\nCódigo de verificación: %2")
        .arg(result.orderNumber, result.orderCode);
}

ProgramRunner programRunner(const QString &programDir, const QString &sysPath)
{
    return [programDir, sysPath](const QString &program, const QString &argument, QString *errors) {
        return runProcess(QDir(programDir).filePath(program), argument, normalizedDir(sysPath),
                          errors);
    };
}

DeclarationSender::DeclarationSender(Database &db, QString sysPath, const QString &programDir)
    : db_(db), sysPath_(std::move(sysPath)), runner_(programRunner(programDir, sysPath_))
{
}

QList<DeclarationSender::Table> DeclarationSender::sentTables()
{
    const QueryResult rows = db_.query(
        QStringLiteral("SELECT tabla_o, obliga FROM envio_t WHERE formulario='") + sqlText(kForm) +
        QStringLiteral("' AND ucase(tabla_o)<>'CONTROL' ORDER BY indice, tabla_o"));
    QList<Table> tables;
    for (int r = 0; r < rows.rowCount(); ++r) {
        const QString name = rows.at(r, 0).toText().trimmed();
        requirePlainTableName(name);
        tables.append({name, rows.at(r, 1).toInt() != 0});
    }
    return tables;
}

QStringList DeclarationSender::snapshot(const QList<Table> &tables, const QString &ruc,
                                        const QString &exercise)
{
    QStringList rows;
    for (const Table &table : tables) {
        const QueryResult result = db_.query(QStringLiteral("SELECT * FROM ") + table.name +
                                             declarationKey(ruc, exercise, kForm));
        QStringList own;
        for (int r = 0; r < result.rowCount(); ++r) {
            own << table.name + u'|' + rowText(result, r);
        }
        // A save rewrites the rows in another order without changing them.
        own.sort();
        rows << own;
    }
    return rows;
}

bool DeclarationSender::check(const QString &ruc, const QString &exercise, SendResult &result)
{
    const QString tmp = tmpFolder(sysPath_);
    const QString base = QStringLiteral("06") + ruc + kForm + exercise + QStringLiteral("00") +
                         QString::fromLatin1(kSendingCode);
    const QString listingPath = joinPath(tmp, base + QStringLiteral(".ERR"));
    const QString markerPath = joinPath(tmp, base + QStringLiteral(".TXT"));
    // declchk leaves an earlier marker in place when the declaration has become consistent.
    for (const QString &old : {listingPath, markerPath}) {
        if (QFile::exists(old) && !QFile::remove(old)) {
            result.message = QStringLiteral("No se pudo borrar %1.").arg(old);
            return false;
        }
    }
    QString errors;
    const int status = runner_(QStringLiteral("declchk"),
                               sendingArgument(ruc, exercise, QStringLiteral("00000000")), &errors);
    QStringList marker;
    const bool marked = readHostLines(markerPath, &marker) &&
                        marker.value(0).trimmed() == QLatin1String("0731 ERROR");
    if (marked || status == 1 || status == 3) {
        result.status = SendStatus::Refused;
        result.listing = readListing(listingPath);
        result.message = withDetails(
            QStringLiteral("La declaración tiene datos inconsistentes y no fue enviada."), errors);
        return false;
    }
    if (status != 0) {
        result.message = withDetails(
            QStringLiteral("No se pudo verificar la declaración (declchk: %1).").arg(status),
            errors);
        return false;
    }
    return true;
}

QString DeclarationSender::newControlNumber()
{
    for (;;) {
        const QString control = randomNumber(10000000, 99999999);
        if (db_.scalar(QStringLiteral("SELECT count(*) FROM HCAB WHERE CONTROL=") +
                       sqlQuoted(control))
                .toInt() == 0) {
            return control;
        }
    }
}

bool DeclarationSender::summarize(const QString &ruc, const QString &exercise, SendResult &result)
{
    QString errors;
    const int status =
        runner_(QStringLiteral("declrep"), sendingArgument(ruc, exercise, result.control), &errors);
    const QString copy = summaryCopy(sysPath_, exercise, result.control);
    QStringList lines;
    if (status != 0 || !readHostLines(copy, &lines)) {
        QFile::remove(copy);
        result.message = withDetails(
            QStringLiteral("No se pudo generar el resumen de la declaración (declrep: %1).")
                .arg(status),
            errors);
        return false;
    }
    result.summary = lines.join(u'\n');
    return true;
}

void DeclarationSender::moveToHistory(const QList<Table> &tables, const QString &ruc,
                                      const QString &exercise, const QStringList &before,
                                      SendResult &result)
{
    Transaction transaction(db_);
    if (snapshot(tables, ruc, exercise) != before) {
        throw DbError(0, QStringLiteral("La declaración cambió mientras se enviaba; envíela de "
                                        "nuevo."));
    }
    const QString key = declarationKey(ruc, exercise, kForm);
    result.correl = nextCorrel(db_, key);
    result.fecEnv = now();
    const HistoryValues values{result.correl, result.control, result.fecEnv, 0};
    for (const Table &table : tables) {
        copyToHistory(db_, table.name, key, values);
        db_.execute(QStringLiteral("DELETE * FROM ") + table.name + key);
    }
    transaction.commit();
}

SendResult DeclarationSender::send(const QString &ruc, const QString &exercise)
{
    SendResult result;
    static const QRegularExpression rucPattern(QStringLiteral("^[0-9A-Za-z]{1,15}$"));
    static const QRegularExpression exercisePattern(QStringLiteral("^[0-9]{4}$"));
    if (!rucPattern.match(ruc).hasMatch() || !exercisePattern.match(exercise).hasMatch()) {
        result.message = QStringLiteral("RUC o ejercicio no válido: '%1' '%2'.").arg(ruc, exercise);
        return result;
    }
    QList<Table> tables;
    QStringList before;
    try {
        const Value estado = db_.scalar(QStringLiteral("SELECT estado FROM CAB") +
                                        declarationKey(ruc, exercise, kForm));
        if (estado.isNull()) {
            result.message = QStringLiteral("No existe la declaración %1 del RUC %2 para el "
                                            "ejercicio %3.")
                                 .arg(kForm, ruc, exercise);
            return result;
        }
        if (estado.toInt() != 0) {
            result.status = SendStatus::Refused;
            result.message = QStringLiteral("La declaración fue grabada con inconsistencias "
                                            "(estado %1): valídela y grábela antes de enviarla.")
                                 .arg(estado.toText());
            return result;
        }
        tables = sentTables();
        before = snapshot(tables, ruc, exercise);
        for (const Table &table : tables) {
            const QString prefix = table.name + u'|';
            if (table.required && std::none_of(before.cbegin(), before.cend(),
                                               [&](auto &row) { return row.startsWith(prefix); })) {
                result.status = SendStatus::Refused;
                result.message =
                    QStringLiteral("La declaración no tiene filas en la tabla %1.").arg(table.name);
                return result;
            }
        }
        if (!check(ruc, exercise, result)) {
            return result;
        }
        result.control = newControlNumber();
        if (!summarize(ruc, exercise, result)) {
            return result;
        }
        try {
            moveToHistory(tables, ruc, exercise, before, result);
        } catch (const DbError &) {
            // The summary was handed over for a sending that did not happen.
            QFile::remove(summaryCopy(sysPath_, exercise, result.control));
            throw;
        }
    } catch (const DbError &e) {
        result.status = SendStatus::Failed;
        result.correl.clear();
        result.summary.clear();
        result.message = QStringLiteral("La declaración no fue enviada: error %1: %2")
                             .arg(e.number())
                             .arg(e.description());
        return result;
    }
    result.orderNumber = randomNumber(1000000, 99999999);
    result.orderCode = orderVerificationCode(result.control, result.orderNumber);
    result.status = SendStatus::Sent;
    result.message = QStringLiteral("Declaración enviada: RUC %1, ejercicio %2, envío %3, número "
                                    "de control %4.")
                         .arg(ruc, exercise, result.correl, result.control);
    return result;
}

} // namespace qz
