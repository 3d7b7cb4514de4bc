// The module's version as the parameter table gives it, the link of the version check and the
// about box's update line.
//
// PARAM '856' for form "0731": characters 1-3 the version, 5-14 the update date "dd/mm/yyyy".
// Without that row the version is "1.3" of "25/08/2011".
//
// The download server is configuration, not code: key DownloadHost in section [Options] of
// QZ000.INI (the host writes it; the module only reads it), for example
// "https://descargas.korva.example". Without the key the module uses kDefaultDownloadHost.
#pragma once

#include "core/data/database.h"

#include <QString>
#include <QUrl>

namespace qz {

struct RunState;

constexpr const char *kDefaultDownloadHost = "https://www.korva.example";

// IniciaVersion: sets sVersion and sFechaVersion to the defaults, then from PARAM '856' when
// the row exists. A query that fails leaves the defaults.
void IniciaVersion(RunState &state);

// The download page of the independent form modules:
// host + "/zeb/zebdown/independientes/independientes.htm?p=0731&v=" + version + "&f=" +
// the date as "ddmmyyyy" + "#p731".
QUrl versionCheckUrl(const QString &host, const QString &version, const QString &fechaVersion);

// DownloadHost of QZ000.INI, else kDefaultDownloadHost; a trailing "/" is dropped.
QString downloadHost();

// The about box's line: "Actualizado al " + characters 5-14 of PARAM '856' for "0731" (nothing
// after the blank when the row is missing or cannot be read).
QString actualizadoAl(Database &db);

} // namespace qz
