#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace testsupport {

// Runs `work` in a forked child whose address space may grow by at most `headroom` bytes and
// that is killed after `timeout`, and gives back what it returned. A slip that reads a device
// without end or waits on a fifo for good then fails the test by its assertion instead of
// taking the run's memory or time: the answer is nothing, with the reason in `failure`.
std::optional<std::string> RunBounded(const std::function<std::string()>& work,
                                      std::string& failure,
                                      std::uint64_t headroom = std::uint64_t{1} << 30,
                                      std::chrono::milliseconds timeout = std::chrono::seconds(15));

}  // namespace testsupport
