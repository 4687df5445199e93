#pragma once

#include <chrono>

#include "exam/MonotonicClock.h"

namespace examtest {

// Installed for its lifetime; time moves only when a test says so.
class FakeClock : public exam::MonotonicClock {
public:
    FakeClock() : previous_(exam::SetMonotonicClock(this)) {}
    ~FakeClock() override { exam::SetMonotonicClock(previous_); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    [[nodiscard]] std::chrono::milliseconds Now() const override { return now_; }
    void Advance(std::chrono::milliseconds step) { now_ += step; }

private:
    exam::MonotonicClock* previous_;
    std::chrono::milliseconds now_{1'000'000};
};

}  // namespace examtest
