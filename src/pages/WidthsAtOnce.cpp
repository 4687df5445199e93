#include "pages/WidthsAtOnce.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <optional>

#include "formats/FileDescriptor.h"
#include "pages/PageTrial.h"
#include "pages/PageTrialRequest.h"
#include "pages/TrialServer.h"

namespace page_trial {

namespace {

using formats::FileDescriptor;

constexpr int kParentGoneExit = 4;

struct WidthProcess {
    int width = 0;
    pid_t process = -1;
    FileDescriptor report{-1};
};

[[noreturn]] void layOutInThisProcess(int width, int report, pid_t parent, TrialEnd& end,
                                      std::chrono::microseconds allowed,
                                      const std::function<void(int)>& layOut,
                                      const std::function<WidthFindings()>& findings) {
    // Never outlives the trial, whoever ends it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(kParentGoneExit);
    end.Restart(allowed);
    layOut(width);
    WidthFindings found = findings();
    TrialReport part;
    part.laidOutMicros = static_cast<std::uint64_t>((ProcessorTime() - end.Excluded()).count());
    part.pictureFiles = std::move(found.pictureFiles);
    part.namesLookedFor = std::move(found.namesLookedFor);
    ::_exit(formats::WriteAll(report, Encode(part)) ? 0 : 1);
}

void endAll(std::vector<WidthProcess>& processes) {
    for (WidthProcess& each : processes) {
        if (each.process <= 0) continue;
        ::kill(each.process, SIGKILL);
        while (::waitpid(each.process, nullptr, 0) < 0 && errno == EINTR) {
        }
        each.process = -1;
    }
}

}  // namespace

WidthsLaidOut LayOutWidthsAtOnce(const std::vector<int>& widths, TrialEnd& end,
                                 std::chrono::microseconds allowed,
                                 const std::function<void(int)>& layOut,
                                 const std::function<WidthFindings()>& findings) {
    WidthsLaidOut laid;
    // Forking is safe only while this process runs a single thread.
    if (ThreadCount() != 1) {
        laid.left = widths;
        return laid;
    }
    const pid_t self = ::getpid();
    std::vector<WidthProcess> processes;
    for (const int width : widths) {
        std::array<int, 2> ends{-1, -1};
        if (::pipe2(ends.data(), O_CLOEXEC) != 0) {
            laid.left.push_back(width);
            continue;
        }
        FileDescriptor reading(ends[0]);
        const FileDescriptor writing(ends[1]);
        const pid_t process = ::fork();
        if (process == 0) {
            for (const WidthProcess& other : processes)
                ::close(other.report.get());
            ::close(ends[0]);
            layOutInThisProcess(width, ends[1], self, end, allowed, layOut, findings);
        }
        if (process < 0) {
            laid.left.push_back(width);
            continue;
        }
        processes.push_back({width, process, std::move(reading)});
    }
    for (WidthProcess& each : processes) {
        const std::optional<std::string> bytes =
            formats::ReadToEnd(each.report.get(), kLargestReport);
        int status = 0;
        rusage usage{};
        while (::wait4(each.process, &status, 0, &usage) < 0 && errno == EINTR) {
        }
        each.process = -1;
        const std::optional<TrialReport> part =
            bytes && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? DecodeReport(*bytes)
                                                                   : std::nullopt;
        if (part && part->laidOutMicros) {
            laid.laidOut += std::chrono::microseconds(*part->laidOutMicros);
            laid.pictureFiles.insert(part->pictureFiles.begin(), part->pictureFiles.end());
            laid.namesLookedFor.insert(part->namesLookedFor.begin(), part->namesLookedFor.end());
        } else if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL &&
                   ProcessorTimeOf(usage) >= allowed) {
            // Its end stopped it: the trial's verdict is known.
            laid.laidOut += ProcessorTimeOf(usage);
            laid.tooSlow = true;
            endAll(processes);
            return laid;
        } else {
            // Out of memory, or ended otherwise: laid out again by the caller, which then ends
            // as a trial of one width at a time would have.
            laid.left.push_back(each.width);
        }
    }
    return laid;
}

}  // namespace page_trial
