// Writes that the database engine itself refuses, for the tests of what a failure in the
// middle of a save, a delete or a recovery leaves behind: a trigger that raises an error on
// SQLite files (RAISE(ABORT, ...)) and on the server (a PL/pgSQL trigger function).
#pragma once

#include "core/data/database.h"

#include <QString>

namespace qz::test {

// Makes every `event` (INSERT, UPDATE or DELETE) of table fail with message while condition
// holds (an expression over NEW or OLD in the engine's own syntax, such as
// "NEW.Casilla='550'"; empty: always). name tells the trigger apart from others of the same
// table. Throws DbError.
void failWrites(Database &db, const QString &name, const QString &table, const QString &event,
                const QString &condition = {}, const QString &message = QStringLiteral("x"));
// Lets those writes through again. Throws DbError.
void stopFailingWrites(Database &db, const QString &name, const QString &table);

// failWrites for as long as the object lives (or until stop()).
class FailingWrites final {
public:
    FailingWrites(Database &db, const QString &name, const QString &table, const QString &event,
                  const QString &condition = {}, const QString &message = QStringLiteral("x"));
    ~FailingWrites();
    FailingWrites(const FailingWrites &) = delete;
    FailingWrites &operator=(const FailingWrites &) = delete;

    void stop();

private:
    Database &db_;
    QString name_;
    QString table_;
    bool active_ = true;
};

} // namespace qz::test
