// A fresh host installation with the form module installed in it (decltab's tables and
// parameters), and a connection to its database: the starting point of the tests that work on
// declarations.
#pragma once

#include "core/data/database.h"
#include "support/tempinstall.h"

#include <QString>

namespace qz::test {

class ModuleInstall final {
public:
    ModuleInstall();

    // True when the installation and the module are in place; message() says why not.
    bool ok() const { return ok_; }
    QString message() const { return message_; }

    const TempInstall &install() const { return inst_; }
    QString dir() const { return inst_.dir(); }
    Database &db() { return db_; }

private:
    TempInstall inst_;
    Database db_;
    bool ok_ = false;
    QString message_;
};

} // namespace qz::test
