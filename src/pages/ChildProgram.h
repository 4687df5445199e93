#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
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

// Runs `program` (no arguments, standard error discarded) with `input` on its standard input
// and waits for it; a child still running after `deadline` (wall clock) is killed. Output past
// `maxOutput` bytes is dropped. Never raises SIGPIPE in the caller, whenever the child ends.
ChildRun RunChildProgram(const std::filesystem::path& program, std::string_view input,
                         std::chrono::milliseconds deadline, std::size_t maxOutput);

}  // namespace platform
