// Creating a host installation (velquira --init).
#include "core/host/installation.h"

#include "core/data/config.h"
#include "core/data/database.h"
#include "core/data/inifile.h"
#include "core/data/serversetup.h"
#include "core/data/textfile.h"
#include "core/data/transaction.h"
#include "core/data/workgroup.h"
#include "core/host/demodata.h"
#include "core/host/hostschema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <exception>

namespace qz {

namespace {

// The entries of dir whose name equals name ignoring case (the host's file system ignores
// case, so any of them counts as the file).
QStringList entriesNamed(const QDir &dir, const QString &name)
{
    QStringList found;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            found << dir.filePath(entry);
        }
    }
    return found;
}

// The database file and the journal files the engine keeps beside it.
QStringList databaseFiles(const QDir &dir)
{
    QStringList files;
    const QString base = QString::fromLatin1(kDatabaseFileName);
    for (const QString &suffix :
         {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")}) {
        files << entriesNamed(dir, base + suffix);
    }
    return files;
}

bool removeFiles(const QStringList &files, QString *error)
{
    for (const QString &file : files) {
        if (!QFile::remove(file)) {
            *error = QStringLiteral("cannot remove %1").arg(QDir::toNativeSeparators(file));
            return false;
        }
    }
    return true;
}

// Folders of the host installation. TMP and tmp are both made: programs of the host spell
// the folder either way and the Linux file system keeps them apart.
bool makeFolders(const QDir &dir, QString *error)
{
    for (const char *name : {"RPT", "TMP", "tmp", "0731"}) {
        if (!dir.mkpath(QString::fromLatin1(name))) {
            *error = QStringLiteral("cannot create folder %1")
                         .arg(QDir::toNativeSeparators(dir.filePath(QString::fromLatin1(name))));
            return false;
        }
    }
    return true;
}

// Prepares the server's database and fills it, all or nothing (the server's schema changes
// are part of the transaction).
bool createServerDatabase(const QString &server, bool force, QString *error)
{
    try {
        Database db = Database::connect(server);
        const QStringList tables = db.tableNames();
        if (!tables.isEmpty() && !force) {
            *error = QStringLiteral("the database %1 already holds tables (%2); use --force to "
                                    "replace them")
                         .arg(db.path(), tables.join(QStringLiteral(", ")));
            return false;
        }
        Transaction transaction(db);
        for (const QString &table : tables) {
            db.executeNative(
                QStringLiteral("DROP TABLE IF EXISTS %1 CASCADE").arg(quotedName(table)));
        }
        prepareServerDatabase(db);
        createHostSchema(db);
        insertDemoData(db);
        transaction.commit();
        return true;
    } catch (const DbError &e) {
        *error = QStringLiteral("cannot create the database on the server: error %1: %2")
                     .arg(e.number())
                     .arg(e.description());
    } catch (const std::exception &e) {
        *error = QStringLiteral("cannot create the database on the server: %1")
                     .arg(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

// Creates the database with the host tables and the demo rows in one transaction.
bool createDatabase(const QString &path, QString *error)
{
    try {
        Database db = Database::open(path, Database::Mode::Create);
        {
            Transaction transaction(db);
            createHostSchema(db);
            insertDemoData(db);
            transaction.commit();
        }
        db.close();
        return true;
    } catch (const DbError &e) {
        *error = QStringLiteral("cannot create the database %1: error %2: %3")
                     .arg(QDir::toNativeSeparators(path))
                     .arg(e.number())
                     .arg(e.description());
    } catch (const std::exception &e) {
        *error = QStringLiteral("cannot create the database %1: %2")
                     .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(e.what()));
    }
    return false;
}

bool writeIni(const QString &sysPath, const QString &server, QString *error)
{
    const QString path = iniPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *error =
            QStringLiteral("cannot create the folder of %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    IniFile ini;
    if (!ini.load(path)) {
        *error = QStringLiteral("cannot read %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    const QString section = QString::fromLatin1(kIniSection);
    ini.setValue(section, QStringLiteral("SysPath"), sysPath);
    ini.setValue(section, QStringLiteral("DBPath"), sysPath);
    ini.setValue(section, QStringLiteral("DBName"), QString::fromLatin1(kDatabaseFileName));
    ini.setValue(section, QStringLiteral("SysUser"), QString::fromLatin1(kDemoUser));
    // Only a server installation has the key: an installation on a file, made again in the
    // same folder, must not keep pointing at a server.
    if (!server.isEmpty() || !ini.value(section, QString::fromLatin1(kServerKey)).isEmpty()) {
        ini.setValue(section, QString::fromLatin1(kServerKey), server);
    }
    if (!ini.save(path)) {
        *error = QStringLiteral("cannot write %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

InstallResult failure(const QString &message)
{
    return InstallResult{false, message};
}

} // namespace

QStringList envFileLines()
{
    // Fields: form (unused by decltab), tabla_o, tabla_d (name in the sending), tabla_ext
    // (file extension in the sending), indice (sending order), obliga (1: the declaration
    // must have rows there), then the 1-based positions of tip_doc_d, doc_id_d, formulario,
    // periodo, estado, the sending column and semana in the working table, 0 when absent.
    return {
        QStringLiteral("0731|CAB|CAB|TXT|1|1|1|2|4|3|11|0|5|"),
        QStringLiteral("0731|DET|DET|TXT|2|1|1|2|4|3|0|0|5|"),
        QStringLiteral("0731|F731EMPRESAS|F731EMPRESAS|TXT|3|0|1|2|4|3|0|0|0|"),
        QStringLiteral("0731|F731PORCENTAJE|F731PORCENTAJE|TXT|4|0|1|2|4|3|0|0|0|"),
    };
}

InstallResult createInstallation(const QString &dir, bool force, const QString &server)
{
    if (dir.trimmed().isEmpty()) {
        return failure(QStringLiteral("no installation folder given"));
    }
    const QFileInfo info(dir);
    if (info.exists() && !info.isDir()) {
        return failure(
            QStringLiteral("%1 exists and is not a folder").arg(QDir::toNativeSeparators(dir)));
    }
    const QString root = QDir::cleanPath(info.absoluteFilePath());
    const QDir folder(root);
    const QString shown = QDir::toNativeSeparators(root);

    const QString workgroupName = QString::fromLatin1(kWorkgroupFileName);
    const QStringList oldDatabase = databaseFiles(folder);
    const QStringList oldWorkgroup = entriesNamed(folder, workgroupName);
    const bool installed =
        !entriesNamed(folder, QString::fromLatin1(kDatabaseFileName)).isEmpty() ||
        !oldWorkgroup.isEmpty();
    if (installed && !force) {
        return failure(QStringLiteral("%1 already holds a host installation (%2 or %3); "
                                      "use --force to replace its database and workgroup file")
                           .arg(shown, QString::fromLatin1(kDatabaseFileName), workgroupName));
    }

    QString error;
    if (!QDir().mkpath(root)) {
        return failure(QStringLiteral("cannot create folder %1").arg(shown));
    }
    if (!makeFolders(folder, &error) || !removeFiles(oldDatabase + oldWorkgroup, &error)) {
        return failure(error);
    }

    const QString databasePath = folder.filePath(QString::fromLatin1(kDatabaseFileName));
    const QString workgroupPath = folder.filePath(workgroupName);
    // A run that stops half-way takes back its database and workgroup file, so that the
    // folder is not taken for an installation and the next run needs no --force.
    const auto undo = [&](const QString &message) {
        QString ignored;
        removeFiles(databaseFiles(folder) + entriesNamed(folder, workgroupName), &ignored);
        return failure(message);
    };
    if (server.isEmpty() ? !createDatabase(databasePath, &error)
                         : !createServerDatabase(server, force, &error)) {
        return undo(error);
    }
    if (!writeWorkgroupFile(workgroupPath, systemCredentials(), &error)) {
        return undo(QStringLiteral("cannot write the workgroup file: %1").arg(error));
    }
    const QString envFile =
        QDir(folder.filePath(QStringLiteral("tmp"))).filePath(QStringLiteral("env731.txt"));
    if (!writeHostLines(envFile, envFileLines(), &error)) {
        return undo(
            QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(envFile), error));
    }
    const QString sysPath = root.endsWith(u'/') ? root : root + u'/';
    if (!writeIni(sysPath, server, &error)) {
        return undo(error);
    }
    return InstallResult{true, QStringLiteral("host installation created in %1 (%2 points to it)")
                                   .arg(shown, QDir::toNativeSeparators(iniPath()))};
}

} // namespace qz
