// Opening the shared database as each program does it.
#include "core/data/connection.h"

#include "core/data/workgroup.h"

namespace qz {

Database openSharedDatabase(const Config &config, Program program)
{
    if (program == Program::Declmod || program == Program::Declchk) {
        writeSystemDb(config);
    }
    QString workgroup = config.workgroup;
    workgroup.replace(u'\\', u'/');
    verifyWorkgroup(workgroup, systemCredentials());
    return Database::open(config.baseDatos, Database::Mode::OpenExisting);
}

QString openErrorTitle()
{
    return QStringLiteral("Error de Conección");
}

QString openErrorText(const DbError &error, Program program)
{
    if (error.number() == dberr::kCannotOpen) {
        return u' ' + QString::number(error.number()) +
               (program == Program::Decltab ? QStringLiteral("- Base de datos esta bloqueda")
                                            : QStringLiteral("- Base esta bloqueda"));
    }
    return error.description() + u'\n' + u' ' + QString::number(error.number());
}

std::optional<Database> openOrReport(const Config &config, Program program, Messenger &messenger)
{
    try {
        return openSharedDatabase(config, program);
    } catch (const DbError &e) {
        messenger.show(MessageIcon::Critical, openErrorTitle(), openErrorText(e, program));
        return std::nullopt;
    }
}

} // namespace qz
