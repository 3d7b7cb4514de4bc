// Windows-1252 CR LF text files.
#include "core/data/textfile.h"

#include "core/data/wholefile.h"

#include "core/data/cp1252.h"

#include <QFile>
#include <QSaveFile>

namespace qz {

namespace {

QByteArray encodeLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &l : lines) {
        bytes += toCp1252(l);
        bytes += "\r\n";
    }
    return bytes;
}

void setError(QString *error, const QString &text)
{
    if (error) {
        *error = text;
    }
}

} // namespace

bool writeHostLines(const QString &path, const QStringList &lines, QString *error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        setError(error, f.errorString());
        return false;
    }
    QByteArray bytes = encodeLines(lines);
    if (f.write(bytes) != bytes.size()) {
        setError(error, f.errorString());
        f.cancelWriting();
        return false;
    }
    // A full disk must leave the old file, never a truncated one.
    QString reason;
    if (!commitWhole(f, &reason)) {
        setError(error, reason);
        return false;
    }
    return true;
}

bool appendHostLines(const QString &path, const QStringList &lines, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) {
        setError(error, f.errorString());
        return false;
    }
    QByteArray bytes = encodeLines(lines);
    if (f.write(bytes) != bytes.size() || !f.flush()) {
        setError(error, f.errorString());
        return false;
    }
    return true;
}

bool readHostLines(const QString &path, QStringList *lines, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        setError(error, f.errorString());
        return false;
    }
    QByteArray bytes = f.readAll();
    lines->clear();
    if (bytes.isEmpty()) {
        return true;
    }
    QList<QByteArray> parts = bytes.split('\n');
    if (bytes.endsWith('\n')) {
        parts.removeLast();
    }
    for (QByteArray &p : parts) {
        if (p.endsWith('\r')) {
            p.chop(1);
        }
        lines->append(fromCp1252(p));
    }
    return true;
}

} // namespace qz
