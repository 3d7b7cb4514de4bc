// The one clock of the system: every rule, file and statement that needs today's date or the
// time reads it here, so tests can pin it.
#pragma once

#include <QDateTime>

#include <functional>

namespace qz {

// Current local date and time, milliseconds dropped (also from a replaced clock). An invalid
// date and time from a replaced clock stays invalid.
QDateTime now();
// The date of now().
QDate today();

// Replaces the clock and returns the one it replaces; an empty function restores the system
// clock. For tests.
std::function<QDateTime()> setClock(std::function<QDateTime()> clock);

// Pins the clock for the lifetime of the object and then puts back the clock it found, so
// pins nest.
class PinnedClock final {
public:
    explicit PinnedClock(const QDateTime &at);
    ~PinnedClock();
    PinnedClock(const PinnedClock &) = delete;
    PinnedClock &operator=(const PinnedClock &) = delete;

private:
    std::function<QDateTime()> previous_;
};

} // namespace qz
