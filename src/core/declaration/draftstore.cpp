// Draft files: their folder and names, the atomic write and the bounded read.
#include "core/declaration/draftstore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace qz {

namespace {

// A part of a file name: ASCII letters and digits as they are, every other byte of its UTF-8
// as "~xx", so "/", ".." and empty parts cannot happen.
QString namePart(const QString &text)
{
    QString out;
    for (const char c : text.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z')) {
            out += QLatin1Char(c);
        } else {
            out += QStringLiteral("~%1").arg(u, 2, 16, QLatin1Char('0'));
        }
    }
    return out.isEmpty() ? QStringLiteral("~") : out;
}

} // namespace

QString defaultDraftFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/drafts");
}

QString draftPath(const QString &folder, const QString &databasePath, const DraftKey &key)
{
    const QString canonical = QFileInfo(databasePath).absoluteFilePath();
    const QString tag = QString::fromLatin1(
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    return folder + u'/' + tag + u'/' + namePart(key.user) + u'_' + namePart(key.ruc) + u'_' +
           namePart(key.exercise) + u'_' + namePart(key.form) + QStringLiteral(".json");
}

bool writeDraftFile(const QString &path, const QByteArray &text, QString *error)
{
    const auto fail = [&](const QString &why) {
        if (error) {
            *error = why;
        }
        return false;
    };
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return fail(QStringLiteral("cannot create the folder of ") + path);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(file.errorString());
    }
    if (file.write(text) != text.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit()) {
        return fail(file.errorString());
    }
    return true;
}

std::optional<QByteArray> readDraftFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxDraftBytes) {
        return std::nullopt;
    }
    QByteArray text = file.read(kMaxDraftBytes + 1);
    if (text.size() > kMaxDraftBytes) {
        return std::nullopt;
    }
    return text;
}

} // namespace qz
