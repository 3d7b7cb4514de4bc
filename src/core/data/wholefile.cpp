// Writing and copying files so that they are put in place complete or not at all.
#include "core/data/wholefile.h"

#include <QFile>

#include <cerrno>

namespace qz {

namespace {

void setError(QString *error, const QString &text)
{
    if (error) {
        *error = text;
    }
}

// Drops what was written so far (the named file stays as it was).
void drop(QSaveFile &file)
{
    file.cancelWriting();
    file.commit();
}

} // namespace

QString writeFailureText(const QFileDevice &file, int errorNumber)
{
    return errorNumber != 0 ? qt_error_string(errorNumber) : file.errorString();
}

bool commitWhole(QSaveFile &file, QString *error)
{
    errno = 0;
    if (!file.flush()) {
        setError(error, writeFailureText(file, errno));
        drop(file);
        return false;
    }
    if (!file.commit()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

bool copyWhole(const QString &from, const QString &to, QString *error)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        setError(error, source.errorString());
        return false;
    }
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) {
        setError(error, source.errorString());
        return false;
    }
    QSaveFile target(to);
    target.setDirectWriteFallback(false); // never write into the named file itself
    if (!target.open(QIODevice::WriteOnly)) {
        setError(error, target.errorString());
        return false;
    }
    errno = 0;
    // A short write is no error to QSaveFile: it must be told not to put the file in place.
    if (target.write(bytes) != bytes.size()) {
        setError(error, writeFailureText(target, errno));
        drop(target);
        return false;
    }
    return commitWhole(target, error);
}

} // namespace qz
