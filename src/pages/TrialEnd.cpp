#include "pages/TrialEnd.h"

#include <signal.h>

namespace page_trial {

std::chrono::microseconds ProcessorTime() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::duration_cast<std::chrono::microseconds>(
                                                  std::chrono::nanoseconds(now.tv_nsec));
}

std::chrono::microseconds ProcessorTimeOf(const rusage& usage) {
    const auto micros = [](const timeval& t) {
        return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_usec);
    };
    return micros(usage.ru_utime) + micros(usage.ru_stime);
}

TrialEnd::TrialEnd(std::chrono::microseconds allowed) {
    start(allowed);
}

void TrialEnd::Restart(std::chrono::microseconds allowed) {
    heldSince_ = {};
    excluded_ = {};
    start(allowed);
}

std::chrono::microseconds TrialEnd::Left() const {
    return at_ - ProcessorTime();
}

void TrialEnd::start(std::chrono::microseconds allowed) {
    at_ = ProcessorTime() + allowed;
    sigevent event{};
    event.sigev_notify = SIGEV_SIGNAL;
    event.sigev_signo = SIGKILL;
    armed_ = ::timer_create(CLOCK_PROCESS_CPUTIME_ID, &event, &timer_) == 0;
    arm(at_);
}

TrialEnd::~TrialEnd() {
    if (armed_) ::timer_delete(timer_);
}

void TrialEnd::hold() {
    heldSince_ = ProcessorTime();
    // A zero time disarms the timer.
    arm(std::chrono::microseconds::zero());
}

void TrialEnd::release() {
    const auto spent = ProcessorTime() - heldSince_;
    excluded_ += spent;
    at_ += spent;
    arm(at_);
}

void TrialEnd::arm(std::chrono::microseconds at) {
    if (!armed_) return;
    itimerspec when{};
    when.it_value.tv_sec = static_cast<time_t>(at.count() / 1'000'000);
    when.it_value.tv_nsec = static_cast<long>(at.count() % 1'000'000 * 1000);
    ::timer_settime(timer_, TIMER_ABSTIME, &when, nullptr);
}

}  // namespace page_trial
