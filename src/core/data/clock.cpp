// The system's one clock: the local date and time, or whatever a test pinned in its place.
#include "core/data/clock.h"

#include <mutex>

namespace qz {

namespace {

std::mutex clockMutex;
std::function<QDateTime()> currentClock;

} // namespace

QDateTime now()
{
    std::function<QDateTime()> clock;
    {
        std::lock_guard lock(clockMutex);
        clock = currentClock;
    }
    QDateTime at = clock ? clock() : QDateTime::currentDateTime();
    if (!at.isValid()) {
        return at;
    }
    // Seconds precision everywhere: stored dates and printed times never carry milliseconds.
    const QTime t = at.time();
    at.setTime(QTime(t.hour(), t.minute(), t.second()));
    return at;
}

QDate today()
{
    return now().date();
}

std::function<QDateTime()> setClock(std::function<QDateTime()> clock)
{
    std::lock_guard lock(clockMutex);
    std::swap(currentClock, clock);
    return clock;
}

PinnedClock::PinnedClock(const QDateTime &at) : previous_(setClock([at] { return at; })) {}

PinnedClock::~PinnedClock()
{
    setClock(std::move(previous_));
}

} // namespace qz
