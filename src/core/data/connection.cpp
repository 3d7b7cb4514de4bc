// Opening the shared database as each program does it.
#include "core/data/connection.h"

#include "core/data/paths.h"
#include "core/data/workgroup.h"

#include <QFileInfo>

namespace qz {

namespace {

// The host tables that every program of the module reads: a database without them is not
// the host's, whatever the engine makes of the file.
constexpr const char *kHostTables[] = {"PARAM", "CONT", "CAB", "DET"};

} // namespace

void checkConfig(const Config &config)
{
    const QString ini = iniPath();
    if (!QFileInfo::exists(ini)) {
        throw DbError(dberr::kFileNotFound,
                      QStringLiteral("No se encuentra el archivo de configuración %1 en "
                                     "la carpeta '%2'.")
                          .arg(QString::fromLatin1(kIniFileName), iniDirectory()));
    }
    if (config.sysPath.trimmed().isEmpty()) {
        throw DbError(dberr::kInvalidPath,
                      QStringLiteral("La clave SysPath de %1 está vacía: falta la carpeta "
                                     "del sistema.")
                          .arg(ini));
    }
    const QString sysDir = normalizedDir(config.sysPath);
    if (!QFileInfo(sysDir).isDir()) {
        throw DbError(dberr::kInvalidPath,
                      QStringLiteral("No existe la carpeta del sistema '%1' (clave SysPath "
                                     "de %2).")
                          .arg(config.sysPath, ini));
    }
    if (config.dbName.trimmed().isEmpty() && config.dbServer.trimmed().isEmpty()) {
        throw DbError(dberr::kInvalidPath,
                      QStringLiteral("La clave DBName de %1 está vacía: falta el nombre de "
                                     "la base de datos.")
                          .arg(ini));
    }
}

Database openNamedDatabase(const QString &server, const QString &file)
{
    if (!server.trimmed().isEmpty()) {
        return Database::connect(server);
    }
    return Database::open(file, Database::Mode::OpenExisting);
}

void requireHostTables(Database &db)
{
    QStringList missing;
    for (const char *table : kHostTables) {
        if (!db.tableExists(QString::fromLatin1(table))) {
            missing << QString::fromLatin1(table);
        }
    }
    if (!missing.isEmpty()) {
        throw DbError(dberr::kNotADatabase,
                      QStringLiteral("Formato de base de datos no reconocido '%1': no tiene las "
                                     "tablas del sistema (%2).")
                          .arg(db.path(), missing.join(QStringLiteral(", "))));
    }
}

Database openSharedDatabase(const Config &config, Program program)
{
    checkConfig(config);
    if (program == Program::Declmod || program == Program::Declchk) {
        writeSystemDb(config);
    }
    QString workgroup = config.workgroup;
    workgroup.replace(u'\\', u'/');
    verifyWorkgroup(workgroup, systemCredentials());
    Database db = openNamedDatabase(config.dbServer, config.baseDatos);
    requireHostTables(db);
    return db;
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
