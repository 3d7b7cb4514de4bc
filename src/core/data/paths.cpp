// Host paths on a file system that, unlike the host's, minds case.
#include "core/data/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace qz {

QString normalizedDir(const QString &sysPath)
{
    QString d = sysPath.trimmed();
    d.replace(u'\\', u'/');
    while (d.size() > 1 && d.endsWith(u'/')) {
        d.chop(1);
    }
    return d;
}

QString joinPath(const QString &dir, const QString &name)
{
    QString d = normalizedDir(dir);
    if (d.isEmpty()) {
        return name;
    }
    return d.endsWith(u'/') ? d + name : d + u'/' + name;
}

QString findEntry(const QString &dir, const QString &name)
{
    QString exact = joinPath(dir, name);
    if (QFileInfo::exists(exact)) {
        return exact;
    }
    QDir d(normalizedDir(dir).isEmpty() ? QStringLiteral(".") : normalizedDir(dir));
    const QStringList entries =
        d.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &e : entries) {
        if (e.compare(name, Qt::CaseInsensitive) == 0) {
            return joinPath(dir, e);
        }
    }
    return exact;
}

QString ensureFolder(const QString &dir, const QString &name)
{
    QString path = findEntry(dir, name);
    if (!QFileInfo(path).isDir()) {
        QDir().mkpath(path);
    }
    return path;
}

QString resolveHostPath(const QString &dir, const QString &relative)
{
    static const QRegularExpression separators(QStringLiteral("[\\\\/]+"));
    QString path = normalizedDir(dir);
    const QStringList parts = relative.split(separators, Qt::SkipEmptyParts);
    for (const QString &p : parts) {
        path = findEntry(path, p);
    }
    return path;
}

} // namespace qz
