// The child of the crash tests: runs deletes and recoveries of one taxpayer's declarations on a
// real database, and stops dead at a chosen step of the engine so that its parent can kill it
// there with SIGKILL.
//
// Usage: test_management_crashchild DB RUC STOP OP...
//   OP is "R:periodo" (registered delete), "S:periodo:correl" (sent delete) or
//   "V:periodo:correl" (recovery, answering Yes to the overwrite question).
//   STOP counts the engine's progress callbacks (one about every virtual machine step) from
//   the first operation on; 0 never stops.
// Output on stdout, one line each: "done N" after every operation (N callbacks so far),
// "stopped" when the count reaches STOP (the child then waits to be killed), "end" at the end.
// A database error goes to stderr with exit status 1.
#include "core/management/declarationdelete.h"
#include "core/management/recovery.h"
#include "support/scriptedmessenger.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

struct StopPoint {
    long long calls = 0;
    long long stopAt = 0;
};

// Holding the process still here, inside the engine, lets the parent's SIGKILL land at exactly
// this step instead of at a moment that depends on the machine's speed.
int onProgress(void *arg)
{
    auto *stop = static_cast<StopPoint *>(arg);
    if (++stop->calls == stop->stopAt) {
        static const char line[] = "stopped\n";
        if (write(STDOUT_FILENO, line, sizeof line - 1) < 0) {
            std::_Exit(3);
        }
        for (;;) {
            pause();
        }
    }
    return 0;
}

void run(qz::Database &db, qz::Messenger &messenger, const QString &ruc, const QString &op)
{
    const QStringList parts = op.split(u':');
    const QString form = QStringLiteral("0731");
    if (parts.size() == 2 && parts[0] == u'R') {
        qz::deleteRegistered(db, ruc, parts[1], form);
    } else if (parts.size() == 3 && parts[0] == u'S') {
        qz::deleteSent(db, ruc, parts[1], form, parts[2]);
    } else if (parts.size() == 3 && parts[0] == u'V') {
        if (!qz::Recover(db, messenger, {form, ruc, parts[1], parts[2]})) {
            throw qz::DbError(0, QStringLiteral("recovery declined"));
        }
    } else {
        throw qz::DbError(0, QStringLiteral("unknown operation ") + op);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s DB RUC STOP OP...\n", argv[0]);
        return 2;
    }
    try {
        qz::Database db = qz::Database::open(QString::fromLocal8Bit(argv[1]));
        const QString ruc = QString::fromLocal8Bit(argv[2]);
        StopPoint stop;
        stop.stopAt = std::atoll(argv[3]);
        qz::test::ScriptedMessenger messenger;
        messenger.answer = qz::MessageAnswer::Yes;
        sqlite3_progress_handler(db.handle(), 1, onProgress, &stop);
        for (int i = 4; i < argc; ++i) {
            run(db, messenger, ruc, QString::fromLocal8Bit(argv[i]));
            std::printf("done %lld\n", stop.calls);
            std::fflush(stdout);
        }
        std::printf("end\n");
    } catch (const qz::DbError &e) {
        std::fprintf(stderr, "%d %s\n", e.number(), qPrintable(e.description()));
        return 1;
    }
    return 0;
}
