#include "support/BoundedChild.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

namespace testsupport {

namespace {

// The address space the process holds now (sanitizers reserve terabytes of it up front).
std::uint64_t addressSpaceNow() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) ::_exit(4);
        done += static_cast<std::size_t>(n);
    }
}

std::string endOf(int status) {
    if (WIFSIGNALED(status))
        return "the child was ended by signal " + std::to_string(WTERMSIG(status));
    switch (WEXITSTATUS(status)) {
        case 3:
            return "the child's memory could not be limited";
        case 5:
            return "the child threw (out of memory?)";
        default:
            return "the child exited with " + std::to_string(WEXITSTATUS(status));
    }
}

}  // namespace

std::optional<std::string> RunBounded(const std::function<std::string()>& work,
                                      std::string& failure, std::uint64_t headroom,
                                      std::chrono::milliseconds timeout) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        failure = "no pipe";
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        const rlim_t limit = addressSpaceNow() + headroom;
        const rlimit space{limit, limit};
        if (::setrlimit(RLIMIT_AS, &space) != 0) ::_exit(3);
        // Nothing may leave the child but its answer: an exception would carry on with the
        // parent's test run in this process.
        try {
            writeAll(fds[1], work());
        } catch (...) {
            ::_exit(5);
        }
        // No exit handlers: they belong to the parent's run.
        ::_exit(0);
    }
    ::close(fds[1]);
    if (child < 0) {
        ::close(fds[0]);
        failure = "no child";
        return std::nullopt;
    }

    std::string answer;
    bool ended = false;
    bool late = false;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!ended && !late) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd wait{fds[0], POLLIN, 0};
        const int ready = left.count() > 0 ? ::poll(&wait, 1, static_cast<int>(left.count())) : 0;
        if (ready < 0) continue;
        if (ready == 0) {
            late = true;
            break;
        }
        char buffer[4096];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n > 0)
            answer.append(buffer, static_cast<std::size_t>(n));
        else if (n == 0 || errno != EINTR)
            ended = true;
    }
    ::close(fds[0]);
    if (late) ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (late) {
        failure = "the child was still running after " + std::to_string(timeout.count()) + " ms";
        return std::nullopt;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        failure = endOf(status);
        return std::nullopt;
    }
    return answer;
}

}  // namespace testsupport
