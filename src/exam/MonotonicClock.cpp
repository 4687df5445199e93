#include "exam/MonotonicClock.h"

#include <utility>

namespace exam {

namespace {

MonotonicClock*& installedClock() {
    static MonotonicClock* clock = nullptr;
    return clock;
}

}  // namespace

MonotonicClock* SetMonotonicClock(MonotonicClock* clock) {
    return std::exchange(installedClock(), clock);
}

std::chrono::milliseconds MonotonicNow() {
    if (const MonotonicClock* clock = installedClock()) return clock->Now();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

}  // namespace exam
