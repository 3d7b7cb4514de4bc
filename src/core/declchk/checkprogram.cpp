// declchk's start after the single-instance test.
#include "core/declchk/checkprogram.h"

#include "core/data/paths.h"
#include "core/data/programstart.h"
#include "core/declchk/sendchecker.h"

#include <QFile>

namespace qz {

namespace {

void removeFound(const QString &path)
{
    const qsizetype cut = path.lastIndexOf(u'/');
    QFile::remove(cut >= 0 ? findEntry(path.left(cut), path.mid(cut + 1)) : path);
}

} // namespace

CheckOutcome runDeclchk(const QStringList &arguments, Messenger &messenger)
{
    std::optional<ProgramStart> start =
        startDeclarationProgram(arguments, Program::Declchk, messenger);
    if (!start) {
        return CheckOutcome::NotChecked;
    }
    const DeclarationArgs &args = start->args;
    const Config &config = start->config;
    Database &db = start->db;

    const QString tmp = ensureFolder(normalizedDir(config.sysPath), QStringLiteral("TMP"));
    const QString base =
        args.tipoDoc + args.docIdTrimmed() + args.formulario + args.periodo + args.codigo;
    const QString listing = joinPath(tmp, base + QStringLiteral(".ERR"));

    SendChecker checker(db, args);
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
