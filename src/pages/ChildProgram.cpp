#include "pages/ChildProgram.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "formats/FileDescriptor.h"

// glibc declares it only where _GNU_SOURCE is defined.
extern char** environ;  // NOLINT(readability-redundant-declaration)

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

std::chrono::microseconds timeOf(const rusage& usage) {
    const auto micros = [](const timeval& t) {
        return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_usec);
    };
    return micros(usage.ru_utime) + micros(usage.ru_stime);
}

// Spawns the child with `input` and `output` as its standard input and output.
pid_t spawn(const std::filesystem::path& program, int input, int output, std::string& failure) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const std::string path = program.string();
    std::array<char*, 2> argv{const_cast<char*>(path.c_str()), nullptr};
    pid_t child = -1;
    const int error = ::posix_spawn(&child, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        failure = std::strerror(error);
        return -1;
    }
    return child;
}

}  // namespace

ChildRun RunChildProgram(const std::filesystem::path& program, std::string_view input,
                         std::chrono::milliseconds deadline, std::size_t maxOutput) {
    ChildRun run;
    // A socket for the input: a write to a child that has ended then fails instead of raising
    // SIGPIPE.
    std::array<int, 2> in{-1, -1};
    std::array<int, 2> out{-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, in.data()) != 0 ||
        ::pipe2(out.data(), O_CLOEXEC) != 0) {
        run.failure = std::strerror(errno);
        for (const int fd : {in[0], in[1], out[0], out[1]})
            if (fd >= 0) ::close(fd);
        return run;
    }
    const formats::FileDescriptor toChild(in[0]);
    const formats::FileDescriptor fromChild(out[0]);
    pid_t child = -1;
    {
        const formats::FileDescriptor childIn(in[1]);
        const formats::FileDescriptor childOut(out[1]);
        child = spawn(program, childIn.get(), childOut.get(), run.failure);
    }
    if (child < 0) return run;
    ::fcntl(toChild.get(), F_SETFL, O_NONBLOCK);

    const auto end = Clock::now() + deadline;
    std::size_t written = 0;
    bool writing = !input.empty();
    if (!writing) ::shutdown(toChild.get(), SHUT_WR);
    bool late = false;
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        if (left.count() <= 0) {
            late = true;
            break;
        }
        std::array<pollfd, 2> waits{{{fromChild.get(), POLLIN, 0}, {toChild.get(), POLLOUT, 0}}};
        const int ready = ::poll(waits.data(), writing ? 2 : 1, static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR) break;
        if (ready <= 0) continue;
        if (writing && (waits[1].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t n =
                ::send(toChild.get(), input.data() + written, input.size() - written, MSG_NOSIGNAL);
            if (n > 0) written += static_cast<std::size_t>(n);
            if ((n < 0 && errno != EAGAIN && errno != EINTR) || written == input.size()) {
                ::shutdown(toChild.get(), SHUT_WR);
                writing = false;
            }
        }
        if (waits[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            std::array<char, 4096> buffer{};
            const ssize_t n = ::read(fromChild.get(), buffer.data(), buffer.size());
            if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) break;
            if (n > 0 && run.output.size() < maxOutput)
                run.output.append(buffer.data(), std::min(static_cast<std::size_t>(n),
                                                          maxOutput - run.output.size()));
        }
    }
    int status = 0;
    rusage usage{};
    // A child that closed its output may still be running: it too is bound by the deadline.
    while (!late) {
        const pid_t ended = ::wait4(child, &status, WNOHANG, &usage);
        if (ended == child || (ended < 0 && errno != EINTR)) break;
        late = Clock::now() >= end;
        if (!late) ::usleep(1000);
    }
    if (late) {
        ::kill(child, SIGKILL);
        while (::wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
        }
    }
    run.processorTime = timeOf(usage);
    if (late) {
        run.end = ChildRun::End::kLate;
    } else if (WIFSIGNALED(status)) {
        run.end = ChildRun::End::kSignalled;
        run.status = WTERMSIG(status);
    } else {
        run.end = ChildRun::End::kExited;
        run.status = WEXITSTATUS(status);
    }
    return run;
}

}  // namespace platform
