#pragma once

#include <time.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace fuzzsupport {

// How long one round may run before the run is ended as hung.
struct RoundLimits {
    std::chrono::milliseconds processor;
    std::chrono::milliseconds wall;
};

// `defaults`, unless EXAMSIM_FUZZ_ROUND_PROCESSOR_MS or EXAMSIM_FUZZ_ROUND_WALL_MS say
// otherwise (a test's short limits).
RoundLimits LimitsFromEnvironment(RoundLimits defaults);

// The folder libFuzzer's -artifact_prefix= names (as libFuzzer, nothing without one).
std::string ArtifactPrefix(int argc, char** argv);

// libFuzzer's exit status for a timeout.
inline constexpr int kTimeoutExit = 70;

// Ends the run when a round goes past its limits in the processor time of the thread that runs
// it or in wall time: a round looping where libFuzzer's own alarm is not safe (it deadlocked in
// malloc without the sanitizers' allocator), or one blocked without using processor time. The
// round's input is written where libFuzzer writes a timeout's (PREFIX + "timeout-" + SHA-1)
// and named on standard error, `leftovers` is removed, and the process exits with
// kTimeoutExit. Its thread only makes system calls: the hung round may hold malloc's or
// stdio's locks.
class RoundWatchdog {
public:
    RoundWatchdog(RoundLimits limits, std::string artifactPrefix,
                  const std::filesystem::path& leftovers);
    ~RoundWatchdog();
    RoundWatchdog(const RoundWatchdog&) = delete;
    RoundWatchdog& operator=(const RoundWatchdog&) = delete;

    // Watches one round for as long as it lives.
    class Round {
    public:
        Round(RoundWatchdog& watchdog, const std::uint8_t* data, std::size_t size);
        ~Round();
        Round(const Round&) = delete;
        Round& operator=(const Round&) = delete;

    private:
        RoundWatchdog& watchdog_;
    };

private:
    void begin(const std::uint8_t* data, std::size_t size);
    void end();
    void watch();
    [[noreturn]] void endRun(const char* limitName, std::chrono::milliseconds limit);

    const RoundLimits limits_;
    const std::string artifactPrefix_;
    // Not const: the arguments of the rm that removes it are char*.
    std::string leftovers_;
    // A round's number times four and its phase: a firing watchdog and an ending round race
    // for the same value, and only the one that wins may touch the input.
    std::atomic<std::uint64_t> state_{0};
    std::vector<std::uint8_t> input_;
    std::atomic<clockid_t> roundClock_{CLOCK_MONOTONIC};
    std::atomic<std::int64_t> processorStart_{0};
    std::atomic<std::int64_t> wallStart_{0};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace fuzzsupport
