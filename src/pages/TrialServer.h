#pragma once

#include <cstdint>

// The process that runs the program's page trials: started once, it forks a child for each
// trial, so that a trial costs its layout rather than a program's start. The program talks to
// it over a socket of packets (ChildProgram.h is its side).
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

// Serves the trials asked for on `control` until the program goes, each `trial` run in a
// child forked from this process with its memory bounded (kTrialMemory more than the server
// holds). The caller sets up what every trial shares first: forking is safe only while this
// process runs a single thread, which is checked. Returns the exit status.
int ServeTrials(int control, int (*trial)());

}  // namespace page_trial
