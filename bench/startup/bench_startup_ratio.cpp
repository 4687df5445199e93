#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Wall seconds of one run to its exit; negative when it failed.
double secondsToRun(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& part : command)
        argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Start-up of the program on the shipped sample data against a bare QMainWindow program,
// alternating runs so that both see the same machine load.
void BM_StartupRatio(benchmark::State& state) {
    // Without a display both run on the offscreen platform.
    if (!std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::vector<std::string> program = {STARTUP_PROGRAM, EXAMSIM_APP_DIR};
    const std::vector<std::string> bare = {BARE_WINDOW};
    constexpr int kRuns = 15;
    for (auto _ : state) {
        std::vector<double> programTimes;
        std::vector<double> bareTimes;
        for (int run = 0; run < kRuns; ++run) {
            programTimes.push_back(secondsToRun(program));
            bareTimes.push_back(secondsToRun(bare));
        }
        if (std::min(*std::min_element(programTimes.begin(), programTimes.end()),
                     *std::min_element(bareTimes.begin(), bareTimes.end())) < 0) {
            state.SkipWithError("a start-up run failed");
            break;
        }
        const double programMs = median(programTimes) * 1e3;
        const double bareMs = median(bareTimes) * 1e3;
        state.counters["program_ms"] = programMs;
        state.counters["bare_ms"] = bareMs;
        state.counters["ratio"] = programMs / bareMs;
        state.counters["budget_ratio"] = 1.5;
    }
}
BENCHMARK(BM_StartupRatio)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
