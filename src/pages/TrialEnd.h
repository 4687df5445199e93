#pragma once

#include <sys/resource.h>
#include <time.h>

#include <chrono>
#include <utility>

namespace page_trial {

// Processor time this process has used.
[[nodiscard]] std::chrono::microseconds ProcessorTime();
// User and system time in `usage`.
[[nodiscard]] std::chrono::microseconds ProcessorTimeOf(const rusage& usage);

// Ends this process once its processor time passes `allowed` from now: past its budget a
// trial's verdict is known. Work with a budget of its own (reading pictures) is left out: the
// end is held while it runs and moves on by what it took, so it never ends there.
class TrialEnd {
public:
    explicit TrialEnd(std::chrono::microseconds allowed);
    TrialEnd(const TrialEnd&) = delete;
    TrialEnd& operator=(const TrialEnd&) = delete;
    ~TrialEnd();

    template <typename Work>
    decltype(auto) Excluding(Work&& work) {
        hold();
        const Release release{*this};
        return std::forward<Work>(work)();
    }

    // The processor time spent in work left out so far.
    [[nodiscard]] std::chrono::microseconds Excluded() const { return excluded_; }
    // The processor time left before the end.
    [[nodiscard]] std::chrono::microseconds Left() const;

    // Starts over in a process forked from the one that made it, which inherits no timer:
    // `allowed` from now, nothing left out yet.
    void Restart(std::chrono::microseconds allowed);

private:
    struct Release {
        TrialEnd& end;
        ~Release() { end.release(); }
    };

    void start(std::chrono::microseconds allowed);
    void hold();
    void release();
    void arm(std::chrono::microseconds at);

    std::chrono::microseconds at_{};
    std::chrono::microseconds heldSince_{};
    std::chrono::microseconds excluded_{};
    timer_t timer_{};
    bool armed_ = false;
};

}  // namespace page_trial
