#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

// How a child program ended, and what it cost.
struct ChildRun {
    enum class End {
        kExited,      // `status` is its exit code
        kSignalled,   // `status` is the signal that ended it
        kLate,        // still running at the deadline: killed
        kNotStarted,  // `failure` says why
    };
    End end = End::kNotStarted;
    int status = 0;
    std::string output;                         // its standard output, up to the caller's bound
    std::chrono::microseconds processorTime{};  // user and system time, all its threads
    std::string failure;
};

// Starts the trial server `program` (see pages/TrialServer.h) in the background unless it
// runs: nothing waits for it to be ready.
void StartTrialServer(const std::filesystem::path& program);

// What the caller does while the child still runs, once its output begins with `mark`.
struct Meanwhile {
    std::string_view mark;
    std::function<void()> work;
};

// Runs a child forked by the trial server `program`, started first (again, after it died or
// was killed) when needed, with `input` on its standard input, and waits for it; a child still
// running after `deadline` (wall clock) is killed, and so is a server that does not answer
// then. Output past `maxOutput` bytes is dropped. Never raises SIGPIPE in the caller, whenever
// the child ends. One child at a time: a caller on another thread waits its turn.
ChildRun RunOnTrialServer(const std::filesystem::path& program, std::string_view input,
                          std::chrono::milliseconds deadline, std::size_t maxOutput,
                          const Meanwhile& meanwhile = {});

// The server's process, -1 when none runs.
pid_t TrialServerProcess();

}  // namespace platform
