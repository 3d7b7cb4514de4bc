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
    const QString title = QStringLiteral("Error en la información a enviar");
    const QString inconsistent =
        QStringLiteral("Existen datos inconsistentes en la información a enviar. ");
    // The user is sent to the listing only when it was written; otherwise told that it was not.
    messenger.show(MessageIcon::Critical, title,
                   checker.listingWritten()
                       ? inconsistent + QStringLiteral("Revisar el archivo ") + listing
                       : inconsistent + fileNotWrittenText(listing, checker.listingError()));
    const QString marker = joinPath(tmp, base + QStringLiteral(".TXT"));
    if (ExisteArchivo(marker, messenger)) {
        removeFound(marker);
    }
    QString markerError;
    if (!MarcaError(marker, &markerError)) {
        messenger.show(MessageIcon::Critical, title, fileNotWrittenText(marker, markerError));
        return CheckOutcome::NotWritten;
    }
    return checker.listingWritten() ? CheckOutcome::Inconsistent : CheckOutcome::NotWritten;
}

} // namespace qz
