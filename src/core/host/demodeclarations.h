// Demo declarations of form 0731, typed and saved through the module's own declaration model
// and save (so their rows, states and control codes are exactly what declmod writes): a plain
// one for a taxpayer of each demo user, one with a reorganization and its companies, and one
// more that the demo then sends, so that every menu of the module has something to show.
#pragma once

#include <QString>

namespace qz {

class Database;

struct DemoDeclaration {
    QString ruc;
    QString exercise;
};

struct DemoDeclarationsResult {
    bool ok = false;
    QString message;        // what was saved, or why not
    DemoDeclaration toSend; // the saved declaration meant to be sent
};

// Saves the demo declarations into an installation that has the module's tables (decltab has
// run) and no declaration yet: it refuses, writing nothing, when CAB or HCAB holds rows, so
// it never touches what a user typed. Each declaration is saved in its own transaction by the
// module's save; a refusal or an inconsistent result stops with the reason.
DemoDeclarationsResult insertDemoDeclarations(Database &db);

} // namespace qz
