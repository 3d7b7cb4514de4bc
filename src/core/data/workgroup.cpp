// The workgroup file: account name and a libsodium password hash.
//
// The hash uses the smallest Argon2id limits: the password is a constant of the programs, so
// a costly hash would protect nothing and would add its cost to every start of declchk and
// declrep, which the host runs once per declaration.
#include "core/data/workgroup.h"

#include "core/data/dberror.h"

#include <QFile>
#include <QSaveFile>

#include <sodium.h>

#include <array>

namespace qz {

namespace {

constexpr const char *kMagic = "QZ000 workgroup 1";

// Characters are kept as codes shifted by their position, so that neither the account nor
// the password stands in the binary as text.
QString decodeCodes(const std::array<int, 8> &codes)
{
    QString out;
    for (size_t i = 0; i < codes.size(); ++i) {
        out += QChar(codes[i] - 7 * static_cast<int>(i + 1));
    }
    return out;
}

void initSodium()
{
    if (sodium_init() < 0) {
        throw DbError(dberr::kWorkgroup, QStringLiteral("No se puede iniciar libsodium."));
    }
}

DbError missingWorkgroup(const QString &path)
{
    return DbError(dberr::kWorkgroup,
                   QStringLiteral("No se puede iniciar la aplicación. Falta el archivo de "
                                  "información de grupo de trabajo o no es válido: '%1'.")
                       .arg(path));
}

} // namespace

Credentials systemCredentials()
{
    // "ZEBLUMBR" and "Vq7k2Lp9", each code plus 7 times its position.
    static const std::array<int, 8> account = {97, 83, 87, 104, 120, 119, 115, 138};
    static const std::array<int, 8> password = {93, 127, 76, 135, 85, 118, 161, 113};
    return {decodeCodes(account), decodeCodes(password)};
}

bool writeWorkgroupFile(const QString &path, const Credentials &credentials, QString *error)
{
    initSodium();
    QByteArray pw = credentials.password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, pw.constData(), static_cast<unsigned long long>(pw.size()),
                          crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN) != 0) {
        if (error) {
            *error = QStringLiteral("cannot hash the workgroup password (out of memory)");
        }
        return false;
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) {
            *error = f.errorString();
        }
        return false;
    }
    QByteArray content = QByteArray(kMagic) + "\r\nAccount=" + credentials.account.toUtf8() +
                         "\r\nHash=" + QByteArray(hash) + "\r\n";
    f.write(content);
    if (!f.commit()) {
        if (error) {
            *error = f.errorString();
        }
        return false;
    }
    return true;
}

void verifyWorkgroup(const QString &path, const Credentials &credentials)
{
    initSodium();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        throw missingWorkgroup(path);
    }
    const QList<QByteArray> lines = f.read(64 * 1024).split('\n');
    if (lines.isEmpty() || lines.front().trimmed() != kMagic) {
        throw missingWorkgroup(path);
    }
    QByteArray account, hash;
    for (const QByteArray &l : lines) {
        QByteArray line = l.trimmed();
        if (line.startsWith("Account=")) {
            account = line.mid(8);
        } else if (line.startsWith("Hash=")) {
            hash = line.mid(5);
        }
    }
    if (hash.isEmpty()) {
        throw missingWorkgroup(path);
    }
    QByteArray pw = credentials.password.toUtf8();
    if (QString::fromUtf8(account) != credentials.account ||
        crypto_pwhash_str_verify(hash.constData(), pw.constData(),
                                 static_cast<unsigned long long>(pw.size())) != 0) {
        throw DbError(dberr::kAccount, QStringLiteral("No es un nombre de cuenta o una "
                                                      "contraseña válidos."));
    }
}

} // namespace qz
