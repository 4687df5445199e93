#include "RoundWatchdog.h"

#include <fcntl.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "ArtifactName.h"

namespace fuzzsupport {

namespace {

using std::chrono::milliseconds;

enum Phase : std::uint64_t { kIdle = 0, kRunning = 1, kFiring = 2 };
constexpr std::uint64_t kPhases = 4;

constexpr milliseconds kCheckEvery{50};

std::int64_t nanosecondsOf(clockid_t clock) {
    timespec now{};
    ::clock_gettime(clock, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

milliseconds millisecondsSince(clockid_t clock, std::int64_t start) {
    return std::chrono::duration_cast<milliseconds>(
        std::chrono::nanoseconds(nanosecondsOf(clock) - start));
}

milliseconds fromEnvironment(const char* name, milliseconds fallback) {
    const char* const text = std::getenv(name);
    if (text == nullptr) return fallback;
    const std::string_view digits(text);
    std::int64_t count = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    return error == std::errc() && end == digits.data() + digits.size() && count > 0
               ? milliseconds(count)
               : fallback;
}

// Text put together in place: no allocation and no stdio, whose locks the round may hold.
class FixedText {
public:
    FixedText& operator<<(std::string_view text) {
        const std::size_t room = text_.size() - 1 - size_;
        const std::size_t copied = std::min(room, text.size());
        std::memcpy(text_.data() + size_, text.data(), copied);
        size_ += copied;
        return *this;
    }
    FixedText& operator<<(std::int64_t number) {
        std::array<char, 24> digits{};
        const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), number);
        return *this << std::string_view(digits.data(), result.ptr - digits.data());
    }
    // Always ends in a NUL, for open().
    [[nodiscard]] const char* c_str() const { return text_.data(); }
    [[nodiscard]] std::string_view view() const { return {text_.data(), size_}; }

private:
    std::array<char, 8192> text_{};
    std::size_t size_ = 0;
};

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool writeFile(const char* path, const std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = writeAll(fd, bytes.data(), bytes.size());
    return ::close(fd) == 0 && written;
}

}  // namespace

RoundLimits LimitsFromEnvironment(RoundLimits defaults) {
    return {fromEnvironment("EXAMSIM_FUZZ_ROUND_PROCESSOR_MS", defaults.processor),
            fromEnvironment("EXAMSIM_FUZZ_ROUND_WALL_MS", defaults.wall)};
}

std::string ArtifactPrefix(int argc, char** argv) {
    constexpr std::string_view kFlag = "-artifact_prefix=";
    std::string prefix;
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg(argv[k]);
        if (arg.starts_with(kFlag)) prefix = arg.substr(kFlag.size());
    }
    return prefix;
}

RoundWatchdog::RoundWatchdog(RoundLimits limits, std::string artifactPrefix,
                             const std::filesystem::path& leftovers)
    : limits_(limits),
      artifactPrefix_(std::move(artifactPrefix)),
      leftovers_(leftovers.string()),
      thread_([this] { watch(); }) {}

RoundWatchdog::~RoundWatchdog() {
    stopping_ = true;
    thread_.join();
}

RoundWatchdog::Round::Round(RoundWatchdog& watchdog, const std::uint8_t* data, std::size_t size)
    : watchdog_(watchdog) {
    watchdog_.begin(data, size);
}

RoundWatchdog::Round::~Round() {
    watchdog_.end();
}

void RoundWatchdog::begin(const std::uint8_t* data, std::size_t size) {
    // Idle: the watching thread does not read the input.
    input_.assign(data, data + size);
    clockid_t clock = CLOCK_MONOTONIC;
    ::pthread_getcpuclockid(::pthread_self(), &clock);
    roundClock_ = clock;
    processorStart_ = nanosecondsOf(clock);
    wallStart_ = nanosecondsOf(CLOCK_MONOTONIC);
    const std::uint64_t round = state_.load() / kPhases + 1;
    state_.store(round * kPhases + kRunning, std::memory_order_release);
}

void RoundWatchdog::end() {
    std::uint64_t running = state_.load();
    if (state_.compare_exchange_strong(running, running - kRunning + kIdle)) return;
    // The watchdog is saving this round's input and ends the process.
    for (;;)
        ::pause();
}

void RoundWatchdog::watch() {
    while (!stopping_) {
        std::this_thread::sleep_for(kCheckEvery);
        std::uint64_t seen = state_.load(std::memory_order_acquire);
        if (seen % kPhases != kRunning) continue;
        // Starts of a later round can only make these shorter; the exchange below fails then.
        const milliseconds processor = millisecondsSince(roundClock_, processorStart_);
        const milliseconds wall = millisecondsSince(CLOCK_MONOTONIC, wallStart_);
        const bool overProcessor = processor > limits_.processor;
        if (!overProcessor && wall <= limits_.wall) continue;
        if (!state_.compare_exchange_strong(seen, seen - kRunning + kFiring)) continue;
        if (overProcessor) endRun("processor time", limits_.processor);
        endRun("wall time", limits_.wall);
    }
}

void RoundWatchdog::endRun(const char* limitName, milliseconds limit) {
    const Sha1Hex hash = Sha1OfInput(input_.data(), input_.size());
    FixedText path;
    path << artifactPrefix_ << "timeout-" << std::string_view(hash.data(), hash.size());
    const bool saved = writeFile(path.c_str(), input_);
    FixedText message;
    message << "fuzz watchdog: a round ran over its limit of "
            << static_cast<std::int64_t>(limit.count()) << " ms of " << limitName
            << (saved ? "; its input is in " : "; its input could not be written to ")
            << path.view() << "\n";
    writeAll(STDERR_FILENO, reinterpret_cast<const std::uint8_t*>(message.view().data()),
             message.view().size());
    // Exiting here skips the handlers that would remove it.
    if (!leftovers_.empty()) {
        std::array<char, 3> rm{"rm"};
        std::array<char, 4> recursive{"-rf"};
        std::array<char, 3> endOfOptions{"--"};
        std::array<char*, 5> arguments{rm.data(), recursive.data(), endOfOptions.data(),
                                       leftovers_.data(), nullptr};
        pid_t child = 0;
        int status = 0;
        if (::posix_spawn(&child, "/bin/rm", nullptr, nullptr, arguments.data(), environ) == 0)
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
    }
    ::_exit(kTimeoutExit);
}

}  // namespace fuzzsupport
