#include "pages/TrialServer.h"

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "formats/FileDescriptor.h"
#include "pages/PageTrial.h"
#include "pages/TrialEnd.h"
#include "pages/TrialServerMessages.h"

namespace page_trial {

namespace {

using formats::FileDescriptor;

constexpr int kServerGoneExit = 4;

bool answer(int control, const TrialAnswer& ended, std::string_view failure = {}) {
    std::string packet(reinterpret_cast<const char*>(&ended), sizeof ended);
    packet += failure;
    return ::send(control, packet.data(), packet.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(packet.size());
}

void limitMemory() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    statm >> pages;
    const rlim_t limit = pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE)) + kTrialMemory;
    const rlimit space{limit, limit};
    ::setrlimit(RLIMIT_AS, &space);
    std::set_new_handler([] { ::_exit(kOutOfMemoryExit); });
    // Qt's own containers allocate with malloc and throw std::bad_alloc when it fails, which
    // nothing catches.
    std::set_terminate([] {
        try {
            if (const std::exception_ptr thrown = std::current_exception())
                std::rethrow_exception(thrown);
        } catch (const std::bad_alloc&) {
            ::_exit(kOutOfMemoryExit);
        } catch (...) {
        }
        std::abort();
    });
}

// The child's side: prepared, it waits on `hand` for its trial's input and output, runs the
// trial and says it is done before its teardown.
[[noreturn]] void serveOneTrial(pid_t server, int control, int hand, Trials trials) {
    // A child never outlives its server, whoever kills that.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != server) ::_exit(kServerGoneExit);
    // A trial already asked for goes first: preparing would only delay it.
    pollfd asked{hand, POLLIN, 0};
    if (trials.prepare != nullptr && ::poll(&asked, 1, 0) == 0) trials.prepare();
    limitMemory();
    {
        // The program's socket stays open until the ends are in place, so that no end the
        // trial is handed takes its place.
        std::vector<FileDescriptor> ends;
        if (ReceiveMessage(hand, ends) != kTrialMessage || ends.size() != 2 ||
            ::dup2(ends[0].get(), STDIN_FILENO) < 0 || ::dup2(ends[1].get(), STDOUT_FILENO) < 0)
            ::_exit(kServerGoneExit);
        if (control != STDIN_FILENO && control != STDOUT_FILENO) ::close(control);
    }
    if (::send(hand, &kTrialMessage, 1, MSG_NOSIGNAL) != 1) ::_exit(kServerGoneExit);
    const int code = trials.trial();
    // The report is whole once the output closes. The teardown, which no verdict needs, waits
    // for the server to end this process once it answered: tearing down pages the server
    // shares would slow its answer. The time so far is the child's whole time but that.
    ::close(STDIN_FILENO);
    ::close(STDOUT_FILENO);
    const TrialAnswer done{W_EXITCODE(code & 0xff, 0), ProcessorTime().count()};
    std::string packet(reinterpret_cast<const char*>(&done), sizeof done);
    if (code == 0 && trials.lesson != nullptr) {
        const std::string lesson = trials.lesson();
        if (lesson.size() <= kLargestLesson) packet += lesson;
    }
    if (::send(hand, packet.data(), packet.size(), MSG_NOSIGNAL) ==
        static_cast<ssize_t>(packet.size())) {
        char ended = 0;
        (void)::recv(hand, &ended, 1, 0);
    }
    ::_exit(code);
}

// A child forked and prepared ahead of its trial; none while `process` is -1.
struct Spare {
    pid_t process = -1;
    FileDescriptor end{-1};  // its pidfd: readable once it ended
    // The trial's ends go down it; word that it took them, then that it is done, come back.
    FileDescriptor hand{-1};

    Spare() = default;
    Spare(const Spare&) = delete;
    Spare& operator=(const Spare&) = delete;
    ~Spare() { retire(); }

    [[nodiscard]] bool ready() const {
        pollfd wait{end.get(), POLLIN, 0};
        return process > 0 && !(end.valid() && ::poll(&wait, 1, 0) > 0);
    }

    // Ends and reaps it, whatever it was doing.
    void retire() {
        if (process > 0) {
            ::kill(process, SIGKILL);
            while (::waitpid(process, nullptr, 0) < 0 && errno == EINTR) {
            }
        }
        process = -1;
        end = FileDescriptor(-1);
        hand = FileDescriptor(-1);
    }

    // Forks a new one unless it is ready; false when none can be forked (`error` says why).
    // It closes `others`: what the server holds of the trial it is forked for.
    bool ensure(pid_t server, int control, Trials trials, const std::vector<int>& others,
                int& error) {
        if (ready()) return true;
        retire();
        std::array<int, 2> pair{-1, -1};
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair.data()) != 0) {
            error = errno;
            return false;
        }
        FileDescriptor ours(pair[0]);
        const FileDescriptor theirs(pair[1]);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pair[0]);
            for (const int fd : others)
                if (fd >= 0) ::close(fd);
            serveOneTrial(server, control, pair[1], trials);
        }
        if (child < 0) {
            error = errno;
            return false;
        }
        process = child;
        hand = std::move(ours);
        // glibc 2.36's header declares pidfd_open without C linkage.
        end = FileDescriptor(static_cast<int>(::syscall(SYS_pidfd_open, child, 0)));
        return true;
    }
};

enum class Outcome { kAnswered, kNotTaken, kProgramGone };

// Waits for the trial's end, or for its word that it is done, killing it when the program asks
// or goes. The server keeps the trial's `ends` until the child took them: a child that ended
// before can be replaced.
Outcome await(int control, Spare& trial, std::vector<FileDescriptor>& ends, TrialAnswer& ended,
              std::string& lesson) {
    bool programHere = true;
    bool killed = false;
    bool taken = false;
    bool listening = true;
    // Without a pidfd (an old kernel) the child's end shows as its hand closing.
    while (trial.end.valid() || listening) {
        std::array<pollfd, 3> waits{{{trial.end.get(), POLLIN, 0},
                                     {listening ? trial.hand.get() : -1, POLLIN, 0},
                                     {killed ? -1 : control, POLLIN, 0}}};
        const int ready = ::poll(waits.data(), waits.size(), -1);
        if ((ready < 0 && errno != EINTR) || waits[0].revents != 0) break;
        if (ready <= 0) continue;
        if (waits[1].revents != 0) {
            std::array<char, sizeof(TrialAnswer) + kLargestLesson> packet{};
            const ssize_t n = ::recv(trial.hand.get(), packet.data(), packet.size(), 0);
            if (n == 1) {
                taken = true;
                ends.clear();
            } else if (n >= static_cast<ssize_t>(sizeof ended) && !killed) {
                std::memcpy(&ended, packet.data(), sizeof ended);
                lesson.assign(packet.data() + sizeof ended, n - sizeof ended);
                return Outcome::kAnswered;
            } else {
                listening = false;
                if (!trial.end.valid()) break;
            }
        }
        if (waits[2].revents != 0) {
            std::vector<FileDescriptor> stray;
            const char kind = ReceiveMessage(control, stray);
            programHere = kind != 0;
            killed = !programHere || kind == kKillMessage;
            if (killed) ::kill(trial.process, SIGKILL);
        }
    }
    // Its word that it took the trial may wait unread beside its end.
    TrialAnswer unread;
    while (!taken && listening &&
           ::recv(trial.hand.get(), &unread, sizeof unread, MSG_DONTWAIT) > 0)
        taken = true;
    int status = 0;
    rusage usage{};
    while (::wait4(trial.process, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    trial.process = -1;
    ended = {status, ProcessorTimeOf(usage).count()};
    if (!programHere) return Outcome::kProgramGone;
    return taken || killed ? Outcome::kAnswered : Outcome::kNotTaken;
}

}  // namespace

std::size_t ThreadCount() {
    std::error_code ec;
    std::size_t count = 0;
    for (std::filesystem::directory_iterator it("/proc/self/task", ec), end; !ec && it != end;
         it.increment(ec))
        ++count;
    return count;
}

int ServeTrials(int control, Trials trials) {
    const pid_t self = ::getpid();
    const bool singleThread = ThreadCount() == 1;
    // The child of the next trial, forked and prepared between trials: forked while a trial
    // runs, it would slow that down.
    Spare child;
    while (true) {
        int error = 0;
        if (singleThread) (void)child.ensure(self, control, trials, {}, error);
        std::vector<FileDescriptor> ends;
        const char kind = ReceiveMessage(control, ends);
        if (kind == 0) return 0;
        // A kill that came after its trial ended.
        if (kind != kTrialMessage) continue;
        std::string failure;
        if (ends.size() != 2) failure = "it was asked without the trial's input and output";
        if (!singleThread)
            failure =
                "it runs " + std::to_string(ThreadCount()) + " threads and cannot fork safely";
        TrialAnswer ended;
        Outcome outcome = Outcome::kNotTaken;
        // A child that ended before it took its trial is replaced, once.
        for (int attempt = 0; failure.empty() && outcome == Outcome::kNotTaken && attempt < 2;
             ++attempt) {
            if (!child.ensure(self, control, trials, {ends[0].get(), ends[1].get()}, error)) {
                failure = std::strerror(error);
                break;
            }
            if (!SendTrialEnds(child.hand.get(), kTrialMessage, ends[0].get(), ends[1].get())) {
                child.retire();
                continue;
            }
            std::string lesson;
            outcome = await(control, child, ends, ended, lesson);
            if (outcome == Outcome::kProgramGone) return 0;
            if (outcome == Outcome::kAnswered && !answer(control, ended)) return 0;
            // Before the next trial's child is forked, which then starts with it.
            if (!lesson.empty() && trials.learn != nullptr) trials.learn(lesson);
            child.retire();
        }
        if (outcome == Outcome::kNotTaken && failure.empty())
            failure = "its child ended before it took the trial";
        if (!failure.empty() && !answer(control, {}, failure)) return 0;
    }
}

}  // namespace page_trial
