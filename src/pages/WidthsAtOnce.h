#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "pages/TrialEnd.h"

// A large page's widths laid out at once, each in a process forked from the trial's child once
// the page is parsed: the trial then waits for its slowest width, not for the sum of all. The
// processor time still counts every width. Each process has the memory the trial has: Qt's text
// engine gives a layout up silently when memory runs out, so a smaller share would let a costly
// page pass as a quick one.
namespace page_trial {

// Below this a page lays out in a few milliseconds, less than the forks would cost.
inline constexpr std::size_t kWidthsAtOnceBytes = std::size_t{64} << 10;

struct WidthsLaidOut {
    // Processor time of every width's layout, reading pictures left out.
    std::chrono::microseconds laidOut{};
    std::set<std::string> pictureFiles;
    std::set<std::string> namesLookedFor;
    // Widths whose process ran out of memory or ended otherwise, or that none could be forked
    // for: the caller lays them out itself, and ends as a trial of one width at a time would.
    std::vector<int> left;
    // A width was stopped at the end of the processor time allowed.
    bool tooSlow = false;
    // The signal that ended a width's process otherwise; 0 when none did.
    int crash = 0;
};

// What a width's process found besides its time.
struct WidthFindings {
    std::vector<std::string> pictureFiles;
    std::vector<std::string> namesLookedFor;
};

// Lays out each width in a process of its own, through `layOut`, which may read pictures within
// `end`'s exclusions. `allowed` is the processor time left to the whole trial.
[[nodiscard]] WidthsLaidOut LayOutWidthsAtOnce(const std::vector<int>& widths, TrialEnd& end,
                                               std::chrono::microseconds allowed,
                                               const std::function<void(int)>& layOut,
                                               const std::function<WidthFindings()>& findings);

}  // namespace page_trial
