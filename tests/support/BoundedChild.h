#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "pages/PageTrial.h"

namespace testsupport {

// Time enough for work that tries a page held to the wider limit and sees it refused.
inline constexpr std::chrono::milliseconds kBoundedTime =
    std::chrono::seconds(15) +
    3 * std::chrono::duration_cast<std::chrono::milliseconds>(page_trial::kHeldLayoutBudget);

// Runs `work` in a forked child whose address space may grow by at most `headroom` bytes and
// that is killed after `timeout`, and gives back what it returned. A slip that reads a device
// without end or waits on a fifo for good then fails the test by its assertion instead of
// taking the run's memory or time: the answer is nothing, with the reason in `failure`.
std::optional<std::string> RunBounded(const std::function<std::string()>& work,
                                      std::string& failure,
                                      std::uint64_t headroom = std::uint64_t{1} << 30,
                                      std::chrono::milliseconds timeout = kBoundedTime);

}  // namespace testsupport
