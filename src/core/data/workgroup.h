// The stand-in for the host's workgroup file QZ000.MDW: a small text file under SysPath with
// the account name and a libsodium hash of its password. Every program logs on with the same
// fixed 8-character account and password, built at run time from character codes so that
// neither appears as text in the binaries.
#pragma once

#include <QString>

namespace qz {

struct Credentials {
    QString account;
    QString password;
};

// The system's fixed account and password.
Credentials systemCredentials();

// Writes a workgroup file for the given credentials (used by the host stand-in).
// Returns false with a reason when the file cannot be written.
bool writeWorkgroupFile(const QString &path, const Credentials &credentials, QString *error);

// Checks credentials against a workgroup file; throws DbError 3028 when the file is missing or
// unreadable, 3029 when the account or password does not match.
void verifyWorkgroup(const QString &path, const Credentials &credentials);

} // namespace qz
