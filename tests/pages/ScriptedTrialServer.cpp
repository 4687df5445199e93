#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "formats/FileDescriptor.h"
#include "pages/TrialEnd.h"
#include "pages/TrialServer.h"

// A trial server whose trials do what the first line of their input says, for the tests of
// the server and of the program's side.
namespace {

using std::chrono::milliseconds;

// The first line, read a byte at a time: the rest of the input stays unread.
std::string firstLine() {
    std::string line;
    char c = 0;
    while (::read(STDIN_FILENO, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

std::string rest() {
    return formats::ReadToEnd(STDIN_FILENO, std::size_t{1} << 30).value_or("");
}

int answer(const std::string& text) {
    return formats::WriteAll(STDOUT_FILENO, text) ? 0 : 1;
}

void spend(milliseconds time) {
    const auto until = page_trial::ProcessorTime() + time;
    while (page_trial::ProcessorTime() < until) {
    }
}

[[noreturn]] void waitForever() {
    while (true)
        ::pause();
}

// What a trial does: the first line of its input, or the line a play file holds for every trial
// (tests of the program's side, whose input is a real request); the trial's process id goes to
// the pid file, when one is named, so that a test can end a trial the program failed to end.
std::string whatToDo() {
    if (const char* pidFile = std::getenv("SCRIPTED_TRIAL_PID")) {
        std::ofstream(pidFile) << ::getpid() << '\n';
    }
    const char* play = std::getenv("SCRIPTED_TRIAL_PLAY");
    if (!play) return firstLine();
    (void)rest();
    std::string line;
    std::getline(std::ifstream(play), line);
    return line;
}

// Trials this process has run: a fresh process runs one.
int trialsRunHere = 0;
// What this trial leaves for the next ones, and what the server learned from those before.
std::string lessonHere;
std::string learnedHere;

int trial() {
    ++trialsRunHere;
    const std::string line = whatToDo();
    std::istringstream words(line);
    std::string verb;
    long first = 0;
    long second = 0;
    words >> verb >> first >> second;
    if (verb == "echo") return answer(rest());
    if (verb == "file") {
        std::ostringstream bytes;
        bytes << std::ifstream(line.substr(verb.size() + 1), std::ios::binary).rdbuf();
        return answer(bytes.str());
    }
    if (verb == "count") return answer(std::to_string(rest().size()) + "\n");
    if (verb == "exit") return static_cast<int>(first);
    // teach WORD [EXIT]: leaves WORD for the next trials, ending with EXIT; learned: what the
    // server learned before it forked this process.
    if (verb == "teach") {
        int code = 0;
        std::istringstream(line.substr(verb.size())) >> lessonHere >> code;
        return code;
    }
    if (verb == "learned") return answer(learnedHere);
    // whoami: this process and how many trials it ran.
    if (verb == "whoami")
        return answer(std::to_string(::getpid()) + " " + std::to_string(trialsRunHere));
    if (verb == "signal") {
        // The sanitizers catch some signals: this one must end the trial as it would.
        ::signal(static_cast<int>(first), SIG_DFL);
        ::raise(static_cast<int>(first));
    }
    if (verb == "sleep") waitForever();
    // said-then FILE: says "said", then answers once FILE exists.
    if (verb == "said-then") {
        const std::string file = line.substr(verb.size() + 1);
        if (answer("said\n") != 0) return 1;
        while (!std::filesystem::exists(file))
            ::usleep(1000);
        return answer("after");
    }
    if (verb == "close-and-sleep") {
        ::close(STDOUT_FILENO);
        waitForever();
    }
    // spend MS WITHIN: MS of processor time, ended past WITHIN; spend-held: MS held.
    if (verb == "spend" || verb == "spend-held") {
        page_trial::TrialEnd end{milliseconds(second)};
        if (verb == "spend") spend(milliseconds(first));
        if (verb == "spend-held") end.Excluding([&] { spend(milliseconds(first)); });
        return answer("spent");
    }
    // map MB: takes MB of address space, keeping it to the end.
    if (verb == "map") {
        const auto bytes = static_cast<std::size_t>(first) << 20;
        void* const taken = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        return answer(taken == MAP_FAILED ? "refused" : "mapped");
    }
    // kill-server-once: kills its server unless the file after it exists, which it makes.
    if (verb == "kill-server-once") {
        const std::string file = line.substr(verb.size() + 1);
        if (std::filesystem::exists(file)) return answer("answered");
        const std::ofstream made(file);
        ::kill(::getppid(), SIGKILL);
        waitForever();
    }
    return answer("unknown: " + verb);
}

}  // namespace

int main() {
    ::_exit(page_trial::ServeTrials(
        STDIN_FILENO, {trial, nullptr, [] { return lessonHere; },
                       [](std::string_view lesson) { (learnedHere += lesson) += ' '; }}));
}
