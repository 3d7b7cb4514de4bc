// Triggers that make the engine refuse writes, on either engine.
#include "support/failingwrites.h"

#include "core/data/dberror.h"
#include "core/data/sqltext.h"

namespace qz::test {

namespace {

// The server's trigger function of a failing write, one per trigger so that each keeps its
// own message.
QString serverFunction(const QString &name)
{
    return QStringLiteral("qz_fail_") + name;
}

} // namespace

void failWrites(Database &db, const QString &name, const QString &table, const QString &event,
                const QString &condition, const QString &message)
{
    if (db.isServer()) {
        db.executeNative(QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql "
                                        "AS $qz$BEGIN RAISE EXCEPTION USING MESSAGE = %2; "
                                        "END$qz$")
                             .arg(serverFunction(name), sqlQuoted(message)));
        db.executeNative(
            QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW %4 EXECUTE FUNCTION "
                           "%5()")
                .arg(name, event, table,
                     condition.isEmpty() ? QString() : QStringLiteral("WHEN (%1)").arg(condition),
                     serverFunction(name)));
        return;
    }
    db.executeNative(
        QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 %4 BEGIN SELECT "
                       "RAISE(ABORT, %5); END")
            .arg(name, event, table,
                 condition.isEmpty() ? QString() : QStringLiteral("WHEN %1").arg(condition),
                 sqlQuoted(message)));
}

void stopFailingWrites(Database &db, const QString &name, const QString &table)
{
    if (db.isServer()) {
        db.executeNative(QStringLiteral("DROP TRIGGER %1 ON %2").arg(name, table));
        db.executeNative(QStringLiteral("DROP FUNCTION %1()").arg(serverFunction(name)));
        return;
    }
    db.executeNative(QStringLiteral("DROP TRIGGER %1").arg(name));
}

FailingWrites::FailingWrites(Database &db, const QString &name, const QString &table,
                             const QString &event, const QString &condition, const QString &message)
    : db_(db), name_(name), table_(table)
{
    failWrites(db_, name_, table_, event, condition, message);
}

FailingWrites::~FailingWrites()
{
    try {
        stop();
    } catch (const DbError &) {
        // The test has already failed if the trigger cannot go; the database goes with it.
    }
}

void FailingWrites::stop()
{
    if (active_) {
        active_ = false;
        stopFailingWrites(db_, name_, table_);
    }
}

} // namespace qz::test
