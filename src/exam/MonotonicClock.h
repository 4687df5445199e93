#pragma once

#include <chrono>

namespace exam {

// The time the exam's clocks measure; it never jumps with the wall clock, and tests install
// one they move by hand.
class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    [[nodiscard]] virtual std::chrono::milliseconds Now() const = 0;
};

// The clock the exam session reads. nullptr restores the system's steady clock; returns the
// one installed before (nullptr for the steady clock). The caller keeps what it installs
// alive while installed.
MonotonicClock* SetMonotonicClock(MonotonicClock* clock);
[[nodiscard]] std::chrono::milliseconds MonotonicNow();

}  // namespace exam
