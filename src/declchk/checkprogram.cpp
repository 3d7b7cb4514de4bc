// declchk's start after the single-instance test.
#include "declchk/checkprogram.h"

#include "data/config.h"
#include "data/connection.h"
#include "data/declarationargs.h"
#include "data/paths.h"
#include "declchk/sendchecker.h"

#include <QFile>

namespace qz {

namespace {

// The title of declchk's own messages about its start.
QString programTitle()
{
    return QStringLiteral("Presentación Telemática");
}

void removeFound(const QString &path)
{
    const qsizetype cut = path.lastIndexOf(u'/');
    QFile::remove(cut >= 0 ? findEntry(path.left(cut), path.mid(cut + 1)) : path);
}

} // namespace

CheckOutcome runDeclchk(const QStringList &arguments, Messenger &messenger)
{
    QString why;
    const std::optional<DeclarationArgs> args = DeclarationArgs::parse(arguments, &why);
    if (!args) {
        messenger.show(MessageIcon::Critical, programTitle(), why);
        return CheckOutcome::NotChecked;
    }
    Config config;
    loadModuleConfig(config);
    std::optional<Database> db = openOrReport(config, Program::Declchk, messenger);
    if (!db) {
        return CheckOutcome::NotChecked;
    }

    const QString tmp = ensureFolder(normalizedDir(config.sysPath), QStringLiteral("TMP"));
    const QString base =
        args->tipoDoc + args->docIdTrimmed() + args->formulario + args->periodo + args->codigo;
    const QString listing = joinPath(tmp, base + QStringLiteral(".ERR"));

    SendChecker checker(*db, *args);
    if (checker.ValidaEnvio(listing)) {
        if (ExisteArchivo(listing, messenger)) {
            removeFound(listing);
        }
        return CheckOutcome::Consistent;
    }
    messenger.show(MessageIcon::Critical, QStringLiteral("Error en la información a enviar"),
                   QStringLiteral("Existen datos inconsistentes en la información a enviar. "
                                  "Revisar el archivo ") +
                       listing);
    const QString marker = joinPath(tmp, base + QStringLiteral(".TXT"));
    if (ExisteArchivo(marker, messenger)) {
        removeFound(marker);
    }
    MarcaError(marker);
    return CheckOutcome::Inconsistent;
}

} // namespace qz
