// The server's part of an installation: citext and the host's functions.
#include "core/data/serversetup.h"

#include "core/data/pgfunctions.h"

namespace qz {

void prepareServerDatabase(Database &db)
{
    if (!db.isServer()) {
        return;
    }
    db.executeNative(QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext"));
    db.executeNative(serverFunctionsScript());
}

} // namespace qz
