#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The process that runs the program's page trials: started once, it runs each trial in a child
// of its own, so that a trial costs its layout rather than a program's start. The child is
// forked and prepared before its trial is asked for, and answers as soon as its report is
// written. The program talks to the server over a socket of packets (ChildProgram.h is its
// side).
namespace page_trial {

// The program asks for a trial with this byte and two descriptors: the trial's standard input
// and output. A trial runs until it ends, or until the program sends kKillMessage.
inline constexpr char kTrialMessage = 'T';
inline constexpr char kKillMessage = 'K';

// The server's answer to each trial; a failure to start it follows as text.
struct TrialAnswer {
    std::int32_t waitStatus = 0;
    std::int64_t processorMicros = 0;
};

// The most a trial may leave for the next ones.
inline constexpr std::size_t kLargestLesson = 4096;

// What a trial runs: `prepare` (when set) in the child before its trial is asked for, so that
// what it costs is not waited for; then `trial`, whose result is the child's exit code. A trial
// that ended well may leave a `lesson` for the next ones: the server hands it to `learn`
// before it forks the next trial's child, which then starts with what the server made of it.
struct Trials {
    int (*trial)() = nullptr;
    void (*prepare)() = nullptr;
    std::string (*lesson)() = nullptr;
    void (*learn)(std::string_view lesson) = nullptr;
};

// How many threads this process runs: it may fork only while it runs one.
[[nodiscard]] std::size_t ThreadCount();

// Serves the trials asked for on `control` until the program goes, each run in a fresh child
// forked from this process with its memory bounded (kTrialMemory more than it holds once
// prepared). The caller sets up what every trial shares first: forking is safe only while this
// process runs a single thread, which is checked. Returns the exit status.
int ServeTrials(int control, Trials trials);

}  // namespace page_trial
