#include "pages/ChildProgram.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <utility>

#include "formats/FileDescriptor.h"
#include "pages/TrialServer.h"
#include "pages/TrialServerMessages.h"

// glibc declares it only where _GNU_SOURCE is defined.
extern char** environ;  // NOLINT(readability-redundant-declaration)

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;
using formats::FileDescriptor;

// A server answers a kill as soon as it runs; one that has not within this is stuck.
constexpr std::chrono::milliseconds kAnswerGrace{1000};

struct Server {
    std::filesystem::path program;
    pid_t process = -1;
    FileDescriptor control{-1};
};

struct Servers {
    std::mutex turn;
    Server server;
};

Servers& servers() {
    static Servers kept;
    return kept;
}

void stop(Server& server) {
    if (server.process > 0) {
        ::kill(server.process, SIGKILL);
        while (::waitpid(server.process, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    server.process = -1;
    server.control = FileDescriptor(-1);
}

bool running(Server& server) {
    if (server.process <= 0) return false;
    if (::waitpid(server.process, nullptr, WNOHANG) == 0) return true;
    server.process = -1;
    server.control = FileDescriptor(-1);
    return false;
}

// Spawns the server with `control` as its standard input: empty, or why it could not start.
std::string spawn(Server& server, const std::filesystem::path& program) {
    std::array<int, 2> ends{-1, -1};
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends.data()) != 0)
        return std::strerror(errno);
    FileDescriptor ours(ends[0]);
    const FileDescriptor theirs(ends[1]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, theirs.get(), STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const std::string path = program.string();
    std::array<char*, 2> argv{const_cast<char*>(path.c_str()), nullptr};
    pid_t process = -1;
    const int error =
        ::posix_spawn(&process, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return std::strerror(error);
    server = {program, process, std::move(ours)};
    return {};
}

std::string ensureRunning(Server& server, const std::filesystem::path& program) {
    if (server.program == program && running(server)) return {};
    stop(server);
    return spawn(server, program);
}

// Reads the server's answer into `run`; false when the server is gone.
bool receiveAnswer(const Server& server, ChildRun& run) {
    std::array<char, 512> packet{};
    ssize_t n = -1;
    do {
        n = ::recv(server.control.get(), packet.data(), packet.size(), 0);
    } while (n < 0 && errno == EINTR);
    if (n < static_cast<ssize_t>(sizeof(page_trial::TrialAnswer))) return false;
    page_trial::TrialAnswer answer;
    std::memcpy(&answer, packet.data(), sizeof answer);
    if (n > static_cast<ssize_t>(sizeof answer)) {
        run.end = ChildRun::End::kNotStarted;
        run.failure.assign(packet.data() + sizeof answer, n - sizeof answer);
        return true;
    }
    run.processorTime = std::chrono::microseconds(answer.processorMicros);
    if (WIFSIGNALED(answer.waitStatus)) {
        run.end = ChildRun::End::kSignalled;
        run.status = WTERMSIG(answer.waitStatus);
    } else {
        run.end = ChildRun::End::kExited;
        run.status = WEXITSTATUS(answer.waitStatus);
    }
    return true;
}

bool waitReadable(int fd, Clock::time_point until) {
    while (true) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
        if (left.count() <= 0) return false;
        pollfd wait{fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left.count()));
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return false;
    }
}

// A late child is killed by its server; a server that does not say so in time is killed too.
void killLate(Server& server, ChildRun& run) {
    const char message = page_trial::kKillMessage;
    ChildRun answered;
    if (::send(server.control.get(), &message, 1, MSG_NOSIGNAL) != 1 ||
        !waitReadable(server.control.get(), Clock::now() + kAnswerGrace) ||
        !receiveAnswer(server, answered))
        stop(server);
    run = ChildRun{};
    run.end = ChildRun::End::kLate;
    run.processorTime = answered.processorTime;
}

enum class Exchange { kDone, kServerLost };

// Whether the output begins with the mark, once enough of it came to tell: then the work is
// done, unless it was already.
void watchForMark(std::string_view output, const Meanwhile& meanwhile, bool& watching, bool& done) {
    if (!watching || output.size() < meanwhile.mark.size()) return;
    watching = false;
    if (output.substr(0, meanwhile.mark.size()) == meanwhile.mark && !std::exchange(done, true))
        meanwhile.work();
}

// Sends the trial to the server and talks to its child until the server says how it ended.
Exchange exchange(Server& server, std::string_view input, Clock::time_point end,
                  std::size_t maxOutput, ChildRun& run, const Meanwhile& meanwhile, bool& worked) {
    // A socket for the input: a write to a child that has ended then fails instead of raising
    // SIGPIPE.
    std::array<int, 2> in{-1, -1};
    std::array<int, 2> out{-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, in.data()) != 0 ||
        ::pipe2(out.data(), O_CLOEXEC) != 0) {
        run.failure = std::strerror(errno);
        for (const int fd : {in[0], in[1], out[0], out[1]})
            if (fd >= 0) ::close(fd);
        return Exchange::kDone;
    }
    const FileDescriptor toChild(in[0]);
    const FileDescriptor fromChild(out[0]);
    {
        const FileDescriptor childIn(in[1]);
        const FileDescriptor childOut(out[1]);
        if (!page_trial::SendTrialEnds(server.control.get(), page_trial::kTrialMessage,
                                       childIn.get(), childOut.get()))
            return Exchange::kServerLost;
    }
    ::fcntl(toChild.get(), F_SETFL, O_NONBLOCK);

    bool watching = !meanwhile.mark.empty() && meanwhile.work;
    std::size_t written = 0;
    bool writing = !input.empty();
    if (!writing) ::shutdown(toChild.get(), SHUT_WR);
    bool reading = true;
    bool answered = false;
    while (reading || !answered) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        if (left.count() <= 0) {
            killLate(server, run);
            return Exchange::kDone;
        }
        std::array<pollfd, 3> waits{{{answered ? -1 : server.control.get(), POLLIN, 0},
                                     {reading ? fromChild.get() : -1, POLLIN, 0},
                                     {writing ? toChild.get() : -1, POLLOUT, 0}}};
        const int ready = ::poll(waits.data(), waits.size(), static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR) return Exchange::kServerLost;
        if (ready <= 0) continue;
        if (waits[0].revents != 0) {
            if (!receiveAnswer(server, run)) return Exchange::kServerLost;
            answered = true;
            if (run.end == ChildRun::End::kNotStarted) return Exchange::kDone;
        }
        if (waits[2].revents & (POLLOUT | POLLERR | POLLHUP)) {
            const ssize_t n =
                ::send(toChild.get(), input.data() + written, input.size() - written, MSG_NOSIGNAL);
            if (n > 0) written += static_cast<std::size_t>(n);
            if ((n < 0 && errno != EAGAIN && errno != EINTR) || written == input.size()) {
                ::shutdown(toChild.get(), SHUT_WR);
                writing = false;
            }
        }
        if (waits[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            std::array<char, 4096> buffer{};
            const ssize_t n = ::read(fromChild.get(), buffer.data(), buffer.size());
            if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) reading = false;
            if (n > 0 && run.output.size() < maxOutput)
                run.output.append(buffer.data(), std::min(static_cast<std::size_t>(n),
                                                          maxOutput - run.output.size()));
            watchForMark(run.output, meanwhile, watching, worked);
        }
    }
    return Exchange::kDone;
}

}  // namespace

void StartTrialServer(const std::filesystem::path& program) {
    Servers& kept = servers();
    const std::scoped_lock turn(kept.turn);
    (void)ensureRunning(kept.server, program);
}

ChildRun RunOnTrialServer(const std::filesystem::path& program, std::string_view input,
                          std::chrono::milliseconds deadline, std::size_t maxOutput,
                          const Meanwhile& meanwhile) {
    Servers& kept = servers();
    const std::scoped_lock turn(kept.turn);
    const auto end = Clock::now() + deadline;
    // A server that dies during a trial takes the trial's child along; a fresh one tries it
    // again, once. The work meanwhile is done once, whichever attempt's child reached the mark.
    bool worked = false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        ChildRun run;
        run.failure = ensureRunning(kept.server, program);
        if (!run.failure.empty()) return run;
        if (exchange(kept.server, input, end, maxOutput, run, meanwhile, worked) == Exchange::kDone)
            return run;
        stop(kept.server);
    }
    ChildRun lost;
    lost.failure = "it ended before it answered";
    return lost;
}

pid_t TrialServerProcess() {
    Servers& kept = servers();
    const std::scoped_lock turn(kept.turn);
    return running(kept.server) ? kept.server.process : -1;
}

}  // namespace platform
