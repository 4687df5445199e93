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
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "formats/FileDescriptor.h"
#include "pages/PageTrial.h"

namespace page_trial {

namespace {

using formats::FileDescriptor;

constexpr int kServerGoneExit = 4;

std::size_t threadCount() {
    std::error_code ec;
    std::size_t count = 0;
    for (std::filesystem::directory_iterator it("/proc/self/task", ec), end; !ec && it != end;
         it.increment(ec))
        ++count;
    return count;
}

// One message from the program: its kind, with the descriptors it carries; 0 once the program
// is gone.
char receive(int control, std::vector<FileDescriptor>& carried) {
    char kind = 0;
    iovec data{&kind, 1};
    alignas(cmsghdr) std::array<char, CMSG_SPACE(2 * sizeof(int))> space{};
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = space.data();
    message.msg_controllen = space.size();
    ssize_t n = -1;
    do {
        n = ::recvmsg(control, &message, MSG_CMSG_CLOEXEC);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) return 0;
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr;
         header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level != SOL_SOCKET || header->cmsg_type != SCM_RIGHTS) continue;
        const std::size_t count = (header->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (std::size_t k = 0; k < count; ++k) {
            int fd = -1;
            std::memcpy(&fd, CMSG_DATA(header) + k * sizeof(int), sizeof fd);
            carried.emplace_back(fd);
        }
    }
    return kind;
}

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
}

[[noreturn]] void runTrial(pid_t server, int control, const std::vector<FileDescriptor>& ends,
                           int (*trial)()) {
    // A trial never outlives its server, whoever kills that.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != server) ::_exit(kServerGoneExit);
    ::close(control);
    if (::dup2(ends[0].get(), STDIN_FILENO) < 0 || ::dup2(ends[1].get(), STDOUT_FILENO) < 0)
        ::_exit(kServerGoneExit);
    for (const FileDescriptor& end : ends)
        ::close(end.get());
    limitMemory();
    ::_exit(trial());
}

std::int64_t microsOf(const rusage& usage) {
    const auto micros = [](const timeval& t) {
        return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_usec);
    };
    return (micros(usage.ru_utime) + micros(usage.ru_stime)).count();
}

// Waits for the trial's end, killing it when the program asks or goes; false when it went.
bool await(int control, pid_t child, TrialAnswer& ended) {
    // glibc 2.36's header declares pidfd_open without C linkage.
    const FileDescriptor end(static_cast<int>(::syscall(SYS_pidfd_open, child, 0)));
    bool programHere = true;
    bool killed = false;
    // Without a pidfd (an old kernel) the server waits blind; the program then kills it when
    // the trial is late.
    while (end.valid()) {
        std::array<pollfd, 2> waits{{{end.get(), POLLIN, 0}, {control, POLLIN, 0}}};
        const int ready = ::poll(waits.data(), killed ? 1 : 2, -1);
        if ((ready < 0 && errno != EINTR) || waits[0].revents != 0) break;
        if (ready > 0 && !killed && waits[1].revents != 0) {
            std::vector<FileDescriptor> stray;
            const char kind = receive(control, stray);
            programHere = kind != 0;
            killed = !programHere || kind == kKillMessage;
            if (killed) ::kill(child, SIGKILL);
        }
    }
    int status = 0;
    rusage usage{};
    while (::wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    ended = {status, microsOf(usage)};
    return programHere;
}

}  // namespace

int ServeTrials(int control, int (*trial)()) {
    const pid_t self = ::getpid();
    const std::size_t threads = threadCount();
    while (true) {
        std::vector<FileDescriptor> ends;
        const char kind = receive(control, ends);
        if (kind == 0) return 0;
        // A kill that came after its trial ended.
        if (kind != kTrialMessage) continue;
        if (ends.size() != 2) {
            if (!answer(control, {}, "it was asked without the trial's input and output")) return 0;
            continue;
        }
        if (threads != 1) {
            if (!answer(control, {},
                        "it runs " + std::to_string(threads) + " threads and cannot fork safely"))
                return 0;
            continue;
        }
        const pid_t child = ::fork();
        if (child == 0) runTrial(self, control, ends, trial);
        const int forkError = errno;
        ends.clear();
        if (child < 0) {
            if (!answer(control, {}, std::strerror(forkError))) return 0;
            continue;
        }
        TrialAnswer ended;
        if (!await(control, child, ended) || !answer(control, ended)) return 0;
    }
}

}  // namespace page_trial
