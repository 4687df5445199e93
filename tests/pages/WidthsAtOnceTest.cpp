#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <new>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "pages/PageTrial.h"
#include "pages/TrialEnd.h"
#include "pages/WidthsAtOnce.h"

namespace {

using namespace std::chrono_literals;
using page_trial::WidthFindings;
using page_trial::WidthsLaidOut;

// Forking is safe only in a process of one thread: each case runs in a fork of the test, which
// says what failed on a pipe. A case that does not end in time is killed and fails.
std::string inOneThread(const std::function<std::string()>& body) {
    int ends[2];
    if (::pipe(ends) != 0) return std::strerror(errno);
    const pid_t process = ::fork();
    if (process == 0) {
        ::close(ends[0]);
        const std::string failure = body();
        (void)!::write(ends[1], failure.data(), failure.size());
        ::_exit(0);
    }
    ::close(ends[1]);
    std::atomic<bool> ended{false};
    std::thread watch([&] {
        for (int k = 0; k < 300 && !ended; ++k)
            std::this_thread::sleep_for(50ms);
        if (!ended) ::kill(process, SIGKILL);
    });
    std::string failure;
    char buffer[512];
    for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;)
        failure.append(buffer, static_cast<std::size_t>(n));
    ::close(ends[0]);
    int status = 0;
    ::waitpid(process, &status, 0);
    ended = true;
    watch.join();
    if (!WIFEXITED(status)) return "the case was killed: " + failure;
    return failure;
}

void spin(std::chrono::milliseconds processorTime) {
    const auto until = page_trial::ProcessorTime() + processorTime;
    volatile unsigned sink = 0;
    while (page_trial::ProcessorTime() < until)
        sink = sink + 1;
}

std::string noChildLeft() {
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD ? ""
                                                                    : "a width's process is left";
}

// Each width is laid out in a process of its own; their times add up, and what each found
// comes back together.
TEST(WidthsAtOnceTest, EachWidthIsLaidOutInItsOwnProcessAndTheirFindingsMeet) {
    EXPECT_EQ(inOneThread([] {
                  page_trial::TrialEnd end(10s);
                  int laidOutAt = 0;
                  const WidthsLaidOut laid = page_trial::LayOutWidthsAtOnce(
                      {300, 200, 100}, end, 10s,
                      [&](int width) {
                          laidOutAt = width;
                          spin(60ms);
                      },
                      [&] {
                          return WidthFindings{{"shared.png", std::to_string(laidOutAt) + ".png"},
                                               {"pid " + std::to_string(::getpid())}};
                      });
                  std::string failure;
                  if (laidOutAt != 0) failure += "a width was laid out by the caller; ";
                  if (!laid.left.empty() || laid.tooSlow) failure += "not every width was done; ";
                  if (laid.pictureFiles !=
                      std::set<std::string>{"100.png", "200.png", "300.png", "shared.png"})
                      failure += "the picture files are not all there; ";
                  if (laid.namesLookedFor.size() != 3 ||
                      laid.namesLookedFor.count("pid " + std::to_string(::getpid())))
                      failure += "the widths did not run in processes of their own; ";
                  if (laid.laidOut < 150ms) failure += "the widths' times were not added up; ";
                  return failure + noChildLeft();
              }),
              "");
}

// One width past the processor time allowed decides the trial: every width's process ends,
// and the time counted is past what was allowed.
TEST(WidthsAtOnceTest, AWidthPastItsTimeEndsThemAll) {
    EXPECT_EQ(inOneThread([] {
                  page_trial::TrialEnd end(10s);
                  const WidthsLaidOut laid = page_trial::LayOutWidthsAtOnce(
                      {300, 1}, end, 200ms, [](int) { spin(1h); }, [] { return WidthFindings{}; });
                  std::string failure;
                  if (!laid.tooSlow) failure += "not too slow; ";
                  if (laid.laidOut < 200ms) failure += "counted less than allowed; ";
                  return failure + noChildLeft();
              }),
              "");
}

// Each width's process has the memory the trial has: Qt gives a layout up silently when memory
// runs out, so a share of it would pass a costly page as a quick one. A width whose process
// ran out of it, or ended otherwise, is left to the caller, which then ends as a trial of one
// width at a time would.
// The sanitizers' allocator reports what it cannot get rather than giving it back.
#ifndef EXAMSIM_INSTRUMENTED
TEST(WidthsAtOnceTest, EachWidthHasTheTrialsMemoryAndAFailedOneIsLeftToTheCaller) {
    EXPECT_EQ(inOneThread([] {
                  std::set_new_handler([] { ::_exit(page_trial::kOutOfMemoryExit); });
                  constexpr std::size_t kFits = std::size_t{100} << 20;
                  std::ifstream statm("/proc/self/statm");
                  std::uint64_t pages = 0;
                  statm >> pages;
                  const rlim_t cap =
                      pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE)) + kFits * 3 / 2;
                  const rlimit space{cap, cap};
                  ::setrlimit(RLIMIT_AS, &space);
                  page_trial::TrialEnd end(10s);
                  const WidthsLaidOut laid = page_trial::LayOutWidthsAtOnce(
                      {300, 200, 100, 50}, end, 10s,
                      [](int width) {
                          if (width == 100) ::raise(SIGSEGV);
                          const std::size_t needs = width == 50 ? 2 * kFits : kFits;
                          std::vector<char> layout(needs, 'x');
                          if (layout[needs / 2] != 'x') ::_exit(1);
                      },
                      [] { return WidthFindings{}; });
                  std::string failure;
                  if (laid.left != std::vector<int>{100, 50})
                      failure += "not just the failed widths were left to the caller; ";
                  if (laid.tooSlow) failure += "called too slow; ";
                  return failure + noChildLeft();
              }),
              "");
}
#endif

}  // namespace
