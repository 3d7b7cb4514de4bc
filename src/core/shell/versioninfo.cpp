// Version, version link and update line from PARAM '856'.
#include "core/shell/versioninfo.h"

#include "core/data/config.h"
#include "core/data/lookups.h"
#include "core/shell/runstate.h"

namespace qz {

namespace {

std::optional<QString> versionRecord(Database &db)
{
    try {
        const QueryResult r =
            db.query(QStringLiteral("Select * from param where numero = '856'  and "
                                    "argumento='0731'"));
        if (r.isEmpty()) {
            return std::nullopt;
        }
        return r.at(0, QStringLiteral("Funcion")).toText();
    } catch (const DbError &) {
        return std::nullopt;
    }
}

} // namespace

void IniciaVersion(RunState &state)
{
    state.sVersion = QStringLiteral("1.3");
    state.sFechaVersion = QStringLiteral("25/08/2011");
    if (!state.db.isOpen()) {
        return;
    }
    if (const std::optional<QString> f = versionRecord(state.db)) {
        state.sVersion = fixedField(*f, 1, 3);
        state.sFechaVersion = fixedField(*f, 5, 10);
    }
}

QUrl versionCheckUrl(const QString &host, const QString &version, const QString &fechaVersion)
{
    // "dd/mm/yyyy" written day, month, year without separators.
    const QString fecha = fechaVersion.mid(0, 2) + fechaVersion.mid(3, 2) + fechaVersion.mid(6, 4);
    return QUrl(host + QStringLiteral("/zeb/zebdown/independientes/independientes.htm?p=0731&v=") +
                version + QStringLiteral("&f=") + fecha + QStringLiteral("#p731"));
}

QString downloadHost()
{
    QString host = readOption(QStringLiteral("DownloadHost"));
    while (host.endsWith(u'/')) {
        host.chop(1);
    }
    return host.isEmpty() ? QString::fromLatin1(kDefaultDownloadHost) : host;
}

QString actualizadoAl(Database &db)
{
    const std::optional<QString> f = db.isOpen() ? versionRecord(db) : std::nullopt;
    return QStringLiteral("Actualizado al ") + (f ? fixedField(*f, 5, 10) : QString());
}

} // namespace qz
