// The one clock of the system: every rule, file and statement that needs today's date or the
// time reads it here, so tests can pin it.
#pragma once

#include <QDateTime>

#include <functional>

namespace qz {

// Current local date and time (seconds precision).
QDateTime now();
QDate today();

// Replaces the clock; an empty function restores the system clock. For tests.
void setClock(std::function<QDateTime()> clock);

// Pins the clock for the lifetime of the object.
class PinnedClock final {
public:
    explicit PinnedClock(const QDateTime &at);
    ~PinnedClock();
    PinnedClock(const PinnedClock &) = delete;
    PinnedClock &operator=(const PinnedClock &) = delete;
};

} // namespace qz
