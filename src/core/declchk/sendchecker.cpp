// declchk's checks, in the order the host expects them.
#include "core/declchk/sendchecker.h"

#include "core/data/clock.h"
#include "core/data/format.h"
#include "core/data/hosttext.h"
#include "core/data/numbertext.h"
#include "core/data/sqltext.h"
#include "core/reports/hostlinefile.h"

#include <QFile>

#include <cmath>

namespace qz {

const char *const kMensajeCantidad = ") La  cantidad de empresas extinguidas por escisión no "
                                     "coincide con lo indicado en la casilla 521.";
const char *const kMensajeTipo5 = ") No debe tener empresas extinguidas por escisión ya que "
                                  "indico el tipo de reorganización 5.";
const char *const kMensajeSinReorg = ") No debe tener empresas extinguidas por escisión ya que "
                                     "indico que no ha participado en reorganización de "
                                     "sociedades .";
const char *const kMensajeNoComparable = ") No se pudo comparar el valor de la casilla %1 con "
                                         "el detalle.";

namespace {

constexpr const char *kEmpresas = "F731EMPRESAS";

QString numbered(int numero, const char *message)
{
    return formatNumber(std::int64_t{numero}, QStringLiteral("000")) + QString::fromUtf8(message);
}

} // namespace

bool SendChecker::ValidaEnvio(const QString &listingPath)
{
    bool consistente = true;
    int numero = 0;

    listingError_.clear();
    if (!listing_.create(listingPath)) {
        listingError_ = listing_.error();
    }
    const QDateTime t = now();
    writeListed(formatDate(t, QStringLiteral("dd/mm/yyyy")) + QString(70, u' ') +
                formatDate(t, QStringLiteral("hh:mm:ss")));
    writeListed(QString());
    writeListed(QString());
    writeListed(QString(20, u' ') +
                QStringLiteral("Resumen de Inconsistencias en Información a Enviar - "
                               "Formulario 0731"));

    const QString a = ValorCasilla(QStringLiteral("827"));
    const QString t828 = ValorCasilla(QStringLiteral("828"));
    const bool tipo5 = t828 == QLatin1String("5");
    if (a == QLatin1String("1") && !tipo5) {
        const qint64 c = CuentaRegistros(QString::fromLatin1(kEmpresas));
        const auto k = static_cast<qint64>(val(ValorCasilla(QStringLiteral("521"))));
        if (c != k) {
            consistente = false;
            writeListed(numbered(++numero, kMensajeCantidad));
        }
    } else {
        const qint64 c = CuentaRegistros(QString::fromLatin1(kEmpresas));
        if (c > 0) {
            consistente = false;
            writeListed(numbered(++numero, tipo5 ? kMensajeTipo5 : kMensajeSinReorg));
        }
    }

    const QString m = ComparaDetalle(QStringLiteral("115"), QString::fromLatin1(kEmpresas),
                                     QStringLiteral("MTO_IMP_PAG"), numero);
    if (!m.isEmpty()) {
        consistente = false;
        writeListed(m);
    }
    // The listing is put in place whole or not at all; one that failed leaves no older listing
    // either, which would be taken for this run's.
    if (!listing_.close() && listingError_.isEmpty()) {
        listingError_ = listing_.error();
    }
    if (!listingError_.isEmpty()) {
        QFile::remove(listingPath);
    }
    return consistente;
}

QString SendChecker::ValorCasilla(const QString &box)
{
    const QString sql = QStringLiteral("Select i_valor from det where tip_doc_d = ") +
                        args_.tipoDoc + QStringLiteral(" and doc_id_d ='") +
                        sqlText(args_.docIdTrimmed()) + QStringLiteral("' and periodo='") +
                        sqlText(args_.queryPeriod()) + QStringLiteral("' and formulario='") +
                        sqlText(args_.formulario) + QStringLiteral("'") +
                        QStringLiteral(" and casilla ='") + sqlText(box) + QStringLiteral("'");
    try {
        const QueryResult r = db_.query(sql);
        return r.isEmpty() ? QString() : r.at(0, 0).toText();
    } catch (const DbError &) {
        return QString(); // a box that cannot be read counts as empty
    }
}

QString SendChecker::companyKeys() const
{
    return QStringLiteral(" Tip_doc_d=") + u' ' + QString::number(args_.tipoDocNumber()) +
           QStringLiteral(" AND Doc_id_d='") + sqlText(args_.docIdTrimmed()) +
           QStringLiteral("' ") + QStringLiteral(" AND PERIODO='") + sqlText(args_.queryPeriod()) +
           QStringLiteral("' AND Formulario='") + sqlText(args_.formulario) + QStringLiteral("'");
}

qint64 SendChecker::CuentaRegistros(const QString &table)
{
    const QString sql = QStringLiteral("SELECT COUNT(*) as sTot FROM ") + table +
                        QStringLiteral(" WHERE ") + companyKeys();
    try {
        const QueryResult r = db_.query(sql);
        return r.isEmpty() ? 0 : r.at(0, 0).toInt();
    } catch (const DbError &) {
        return 0; // a count that cannot be read counts as 0
    }
}

std::optional<double> SendChecker::SumaDetalle(const QString &table, const QString &column)
{
    const QString sql = QStringLiteral("SELECT sum(val(") + column +
                        QStringLiteral("))  as sTot FROM ") + table + QStringLiteral(" WHERE") +
                        companyKeys() + QStringLiteral(" AND ") + column + QStringLiteral("<>''") +
                        QStringLiteral(" AND NOT ISNULL(") + column + QStringLiteral(")");
    try {
        const QueryResult r = db_.query(sql);
        if (r.isEmpty() || r.at(0, 0).isNull()) {
            return 0.0;
        }
        return r.at(0, 0).toDouble();
    } catch (const DbError &) {
        return std::nullopt;
    }
}

QString SendChecker::ComparaDetalle(const QString &box, const QString &table, const QString &column,
                                    int &numero)
{
    const QString v = ValorCasilla(box);
    const std::optional<double> s = SumaDetalle(table, column);
    bool disagrees = false;
    bool comparable = s.has_value();
    if (comparable && !v.isEmpty()) {
        const std::optional<double> stored = readNumberText(v);
        if (!stored) {
            comparable = false;
        } else {
            // Two decimals first, then whole units, each rounding halves away from zero: the
            // host's double rounding, kept so that the same totals agree as they always have.
            const QString cents = formatNumber(std::fabs(*s), QStringLiteral("###########0.00"));
            const QString whole = formatText(cents, QStringLiteral("###########0"));
            disagrees = val(whole) != std::fabs(*stored);
        }
    } else if (comparable) {
        disagrees = *s > 0;
    }
    if (!comparable) {
        ++numero;
        return formatNumber(std::int64_t{numero}, QStringLiteral("000")) +
               QString::fromUtf8(kMensajeNoComparable).arg(box);
    }
    if (!disagrees) {
        return QString();
    }
    ++numero;
    return formatNumber(std::int64_t{numero}, QStringLiteral("000")) +
           QStringLiteral(") El valor de la casilla ") + box +
           QStringLiteral(" no coincide con el detalle.");
}

void SendChecker::writeListed(const QString &line)
{
    listing_.writeLine(line);
}

bool MarcaError(const QString &path, QString *error)
{
    HostLineFile marker;
    marker.create(path);
    marker.writeLine(QStringLiteral("0731 ERROR"));
    if (marker.close()) {
        return true;
    }
    if (error) {
        *error = marker.error();
    }
    return false;
}

QString fileNotWrittenText(const QString &path, const QString &reason)
{
    return QStringLiteral("No se pudo escribir el archivo ") + path + QStringLiteral(" (") +
           reason + QStringLiteral(").");
}

} // namespace qz
