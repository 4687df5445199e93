#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "pages/ChildProgram.h"
#include "support/TempProgramFolder.h"

namespace {

using platform::ChildRun;
using namespace std::chrono_literals;

const std::filesystem::path kServer = SCRIPTED_TRIAL_SERVER;

ChildRun run(const std::string& input, std::chrono::milliseconds deadline = 2s) {
    return platform::RunOnTrialServer(kServer, input, deadline, 64);
}

// A process's parent and state from /proc; state 0 once it is gone.
struct ProcessState {
    pid_t parent = 0;
    char state = 0;
};

ProcessState stateOf(pid_t process) {
    std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
    std::string line;
    std::getline(stat, line);
    // Its name, in parentheses, may hold anything.
    const std::size_t named = line.rfind(')');
    ProcessState found;
    if (named == std::string::npos) return found;
    std::istringstream(line.substr(named + 1)) >> found.state >> found.parent;
    return found;
}

std::vector<pid_t> childrenOf(pid_t parent) {
    std::vector<pid_t> children;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const auto process = static_cast<pid_t>(std::stol(name));
        if (stateOf(process).parent == parent) children.push_back(process);
    }
    return children;
}

// Gone, or a zombie nobody reaped: it runs no more.
bool ended(pid_t process) {
    const char state = stateOf(process).state;
    return state == 0 || state == 'Z' || state == 'X';
}

// The children of `server`, once it has any: it forks the next one after each trial.
std::vector<pid_t> waitingChildren(pid_t server) {
    std::vector<pid_t> children;
    for (int k = 0; k < 500 && children.empty(); ++k) {
        if (k > 0) std::this_thread::sleep_for(10ms);
        children = childrenOf(server);
    }
    return children;
}

// Waits a bounded while for all of `processes` to end.
bool allEnd(const std::vector<pid_t>& processes) {
    for (int k = 0; k < 500; ++k) {
        if (std::all_of(processes.begin(), processes.end(), ended)) return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

// Each way a child can end is told apart, and none takes the caller with it: a child that
// never ends, or ends before taking its input, neither holds nor kills the caller.
TEST(ChildProgramTest, EveryEndOfTheChildIsToldApartWithinTheDeadline) {
    struct Row {
        const char* what;
        std::string input;
        ChildRun::End end;
        int status;
        const char* output;
        bool missing = false;  // no server program at all
    };
    const std::string large(4 << 20, 'i');
    const Row rows[] = {
        {"echoes its input", "echo\npage bytes", ChildRun::End::kExited, 0, "page bytes"},
        {"takes a large input whole", "count\n" + large, ChildRun::End::kExited, 0, "4194304\n"},
        {"ends before reading a large input", "exit 3\n" + large, ChildRun::End::kExited, 3, ""},
        {"is ended by a signal", "signal 11", ChildRun::End::kSignalled, 11, ""},
        {"never ends", "sleep", ChildRun::End::kLate, 0, ""},
        {"closes its output and goes on", "close-and-sleep", ChildRun::End::kLate, 0, ""},
        {"is missing", "echo\nx", ChildRun::End::kNotStarted, 0, "", true},
        {"comes back", "echo\nback", ChildRun::End::kExited, 0, "back"},
    };
    testsupport::TempProgramFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const ChildRun ran = platform::RunOnTrialServer(
            row.missing ? folder.path() / "no-such-server" : kServer, row.input, 1s, 64);
        EXPECT_EQ(ran.end, row.end) << ran.failure;
        EXPECT_EQ(ran.status, row.status);
        EXPECT_EQ(ran.output, row.output);
        EXPECT_EQ(ran.failure.empty(), row.end != ChildRun::End::kNotStarted);
    }
}

// A trial is answered by the server that runs, which is started again whenever it died, was
// killed or stopped answering, whether between trials or during one.
TEST(ChildProgramTest, TheServerLastsAndComesBackWhenItGoes) {
    testsupport::TempProgramFolder folder;
    const std::string killed = (folder.path() / "killed").string();
    struct Row {
        const char* what;
        std::function<void(pid_t)> before;  // done to the running server
        std::string input;
        ChildRun::End end;
        const char* output;
        bool sameServer;
    };
    const auto nothing = [](pid_t) {};
    const Row rows[] = {
        {"many trials in a row", nothing, "echo\nfirst", ChildRun::End::kExited, "first", true},
        {"a trial that never ends", nothing, "sleep", ChildRun::End::kLate, "", true},
        {"killed between trials", [](pid_t server) { ::kill(server, SIGKILL); }, "echo\nnext",
         ChildRun::End::kExited, "next", false},
        {"killed during a trial", nothing, "kill-server-once " + killed, ChildRun::End::kExited,
         "answered", false},
        {"stopped", [](pid_t server) { ::kill(server, SIGSTOP); }, "echo\nlost",
         ChildRun::End::kLate, "", false},
    };
    ASSERT_EQ(run("echo\nstart").output, "start");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const pid_t server = platform::TrialServerProcess();
        ASSERT_GT(server, 0);
        row.before(server);
        const ChildRun ran = run(row.input, 500ms);
        EXPECT_EQ(ran.end, row.end) << ran.failure;
        EXPECT_EQ(ran.output, row.output);
        // The next trial is answered, by the same server or by a new one in its place.
        for (int k = 0; k < 50; ++k)
            ASSERT_EQ(run("echo\n" + std::to_string(k)).output, std::to_string(k));
        EXPECT_EQ(platform::TrialServerProcess() == server, row.sameServer);
        // One the program left is gone, not left stopped or as a zombie.
        if (!row.sameServer) {
            EXPECT_NE(::kill(server, 0), 0);
        }
    }
}

// Every trial runs in a process of its own, forked before it was asked for: one that ran no
// trial before, whatever became of the child waiting for it, and none outlives its server.
TEST(ChildProgramTest, EveryTrialGetsAFreshProcessWhateverBecameOfTheWaitingOne) {
    struct Row {
        const char* what;
        std::function<void(pid_t, const std::vector<pid_t>&)> before;  // server, its children
        bool sameServer;
    };
    const auto killAll = [](const std::vector<pid_t>& processes) {
        for (const pid_t process : processes)
            ::kill(process, SIGKILL);
    };
    const Row rows[] = {
        {"taken as it waits", [](pid_t, const std::vector<pid_t>&) {}, true},
        {"the next one, at once", [](pid_t, const std::vector<pid_t>&) {}, true},
        {"after a trial that ran late",
         [](pid_t, const std::vector<pid_t>&) { run("sleep", 100ms); }, true},
        {"killed as it waits",
         [&](pid_t, const std::vector<pid_t>& children) { killAll(children); }, true},
        {"its server killed",
         [](pid_t server, const std::vector<pid_t>&) { ::kill(server, SIGKILL); }, false},
    };
    ASSERT_EQ(run("echo\nstart").output, "start");
    std::set<std::string> seen;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const pid_t server = platform::TrialServerProcess();
        ASSERT_GT(server, 0);
        const std::vector<pid_t> children = waitingChildren(server);
        EXPECT_FALSE(children.empty()) << "no child waits for the next trial";
        row.before(server, children);
        const ChildRun ran = run("whoami");
        ASSERT_EQ(ran.end, ChildRun::End::kExited) << ran.failure;
        std::istringstream said(ran.output);
        std::string process;
        int trialsThere = 0;
        said >> process >> trialsThere;
        EXPECT_EQ(trialsThere, 1) << "a process ran another trial first";
        EXPECT_TRUE(seen.insert(process).second) << "process " << process << " ran a trial before";
        EXPECT_NE(process, std::to_string(server));
        EXPECT_EQ(platform::TrialServerProcess() == server, row.sameServer);
        // None of the children that waited outlives a server that went.
        if (!row.sameServer) {
            EXPECT_TRUE(allEnd(children));
        }
    }
}

// What a trial that ended well leaves for the next ones reaches the server before it forks
// the next trial's child; a trial that failed leaves nothing.
TEST(ChildProgramTest, WhatATrialThatEndedWellTeachesTheNextChildrenStartWith) {
    platform::StartTrialServer(kServer);
    for (const char* input : {"teach alpha", "teach beta 1", "teach gamma"})
        EXPECT_EQ(run(input).end, ChildRun::End::kExited) << input;
    const ChildRun ran = run("learned");
    ASSERT_EQ(ran.end, ChildRun::End::kExited) << ran.failure;
    EXPECT_NE(ran.output.find("alpha gamma "), std::string::npos) << ran.output;
    EXPECT_EQ(ran.output.find("beta"), std::string::npos) << ran.output;
}

// What the caller does meanwhile runs while the child still runs, once its output begins with
// the mark, and only then.
TEST(ChildProgramTest, TheCallerWorksMeanwhileOnceTheChildSaidSo) {
    testsupport::TempProgramFolder folder;
    const std::filesystem::path file = folder.path() / "worked";
    int worked = 0;
    const platform::Meanwhile meanwhile{"said\n", [&] {
                                            ++worked;
                                            testsupport::WriteFile(file, {});
                                        }};
    ChildRun ran =
        platform::RunOnTrialServer(kServer, "said-then " + file.string(), 10s, 64, meanwhile);
    EXPECT_EQ(ran.end, ChildRun::End::kExited) << ran.failure;
    EXPECT_EQ(ran.output, "said\nafter");
    EXPECT_EQ(worked, 1);
    ran = platform::RunOnTrialServer(kServer, "echo\nnot said\n", 10s, 64, meanwhile);
    EXPECT_EQ(ran.output, "not said\n");
    EXPECT_EQ(worked, 1);
}

// Each trial has the memory and processor time of its own, however much the trials before it
// took, and what it spends with its end held does not count.
TEST(ChildProgramTest, EveryTrialHasItsOwnMemoryAndProcessorTime) {
    struct Row {
        const char* what;
        const char* input;
        ChildRun::End end;
        const char* output;
        std::chrono::milliseconds leastTime;
        std::chrono::milliseconds mostTime;
    };
    const Row rows[] = {
        {"within its time", "spend 300 600", ChildRun::End::kExited, "spent", 300ms, 600ms},
        {"within its time after another", "spend 300 600", ChildRun::End::kExited, "spent", 300ms,
         600ms},
        {"past its time", "spend 5000 200", ChildRun::End::kSignalled, "", 200ms, 2000ms},
        {"held past its time", "spend-held 500 200", ChildRun::End::kExited, "spent", 500ms,
         2000ms},
        {"charged nothing for the trials before", "echo\n", ChildRun::End::kExited, "", 0ms, 150ms},
        {"over its memory", "map 1100", ChildRun::End::kExited, "refused", 0ms, 150ms},
        {"within its memory", "map 700", ChildRun::End::kExited, "mapped", 0ms, 150ms},
        {"within its memory after another", "map 700", ChildRun::End::kExited, "mapped", 0ms,
         150ms},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const ChildRun ran = run(row.input, 20s);
        EXPECT_EQ(ran.end, row.end) << ran.failure;
        EXPECT_EQ(ran.output, row.output);
        EXPECT_GE(ran.processorTime, row.leastTime);
        EXPECT_LT(ran.processorTime, row.mostTime);
    }
}

}  // namespace
