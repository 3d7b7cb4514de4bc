// Installing the built-in help pages.
#include "core/shell/helppages.h"

#include "core/data/paths.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace qz {

namespace {

QString helpFolder(const QString &sysPath)
{
    return findEntry(normalizedDir(sysPath), QStringLiteral("0731"));
}

} // namespace

QString helpFilePath(const QString &sysPath)
{
    return joinPath(helpFolder(sysPath), QStringLiteral("declmod.htm"));
}

QString helpTopicPath(const QString &sysPath, int topic)
{
    return joinPath(helpFolder(sysPath), QStringLiteral("t%1.htm").arg(topic));
}

bool installHelpPages(const QString &sysPath)
{
    const QString folder = ensureFolder(normalizedDir(sysPath), QStringLiteral("0731"));
    bool ok = true;
    const QDir pages(QStringLiteral(":/help"));
    for (const QString &name : pages.entryList(QDir::Files)) {
        QFile source(pages.filePath(name));
        if (!source.open(QIODevice::ReadOnly)) {
            ok = false;
            continue;
        }
        const QByteArray bytes = source.readAll();
        const QString target = joinPath(folder, name);
        QFile existing(target);
        if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes) {
            continue;
        }
        QSaveFile out(target);
        ok = out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit() &&
             ok;
    }
    return ok;
}

} // namespace qz
