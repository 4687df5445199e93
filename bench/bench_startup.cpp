#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>
#include "ScratchFolder.h"
#include "WordSalad.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "QuestionSource.h"
#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/ImageStore.h"
#include "core/QuestionBank.h"
#include "core/SystemVars.h"
#include "core/cls_Crypt_RC4.h"
#include "core/cls_RCFile.h"
#include "core/mod_Question.h"
#include "core/mod_System.h"
#include "formats/FileIo.h"

namespace {

constexpr std::size_t kQuestionCount = 20000;
constexpr std::size_t kPictureCount = 2000;
constexpr std::size_t kPictureBytes = 20 << 10;
constexpr std::size_t kObjectiveCount = 40;
constexpr std::size_t kSysvarsTextLength = 40;

using Clock = std::chrono::steady_clock;
using ArchiveFiles = std::vector<std::pair<std::string, formats::Bytes>>;

formats::Bytes RandomBytes(std::mt19937& rng, std::size_t count) {
    formats::Bytes bytes(count);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(rng());
    return bytes;
}

formats::Bytes BytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

// Every text of the record gets a sentence, as a translated interface would.
struct SysvarsFiller {
    std::mt19937& rng;
    void operator()(std::string_view, std::string& text) const {
        text = WordSalad(rng, kSysvarsTextLength);
    }
    template <class Table>
    void operator()(std::string_view, Table& table) const {
        for (auto& element : table)
            (*this)({}, element);
    }
    void operator()(std::string_view, std::int16_t& value) const { value = 90; }
};

std::string PictureName(std::size_t index) {
    return "exhibit-" + std::to_string(10000 + index) + ".gif";
}

std::vector<QuestionRecord> Questions(std::mt19937& rng) {
    std::vector<std::string> objectives;
    for (std::size_t k = 0; k < kObjectiveCount; ++k)
        objectives.push_back(WordSalad(rng, 30));
    std::vector<QuestionRecord> questions(kQuestionCount);
    for (std::size_t i = 0; i < questions.size(); ++i) {
        QuestionRecord& q = questions[i];
        q.QuestionID = static_cast<std::int32_t>(100000 + i);
        // One question in five belongs to a practice set (codes from 51).
        q.GroupCode = static_cast<std::int16_t>(i % 5 == 0 ? 51 + i / 5 % 10 : 1 + i % 50);
        q.Topic = objectives[i % objectives.size()];
        q.Level = static_cast<std::int16_t>(1 + i % 3);
        q.QuestionType = kSingleAnswerType;
        q.QuestionText = WordSalad(rng, 150);
        q.Explanation = WordSalad(rng, 350);
        if (i % (kQuestionCount / kPictureCount) == 0)
            q.PictureName = PictureName(i / (kQuestionCount / kPictureCount));
        for (const char caption : {'A', 'B', 'C', 'D'}) {
            q.Choices += q.Choices.empty() ? "1" : "<c>0";
            q.Choices += std::string("<f><f>") + caption + "<f>" + WordSalad(rng, 30);
        }
    }
    return questions;
}

std::uintmax_t ContentBytes(const ArchiveFiles& files) {
    std::uintmax_t total = 0;
    for (const auto& [name, content] : files)
        total += content.size();
    return total;
}

bool WriteArchive(const std::filesystem::path& path, const ArchiveFiles& files) {
    const auto archive = cls_RCFile().BuildArchive(files);
    return archive && formats::WriteFileReplacing(path, *archive);
}

// The start-up steps that read data (as mod_Main::Main does them, without windows or
// settings); false when a step failed.
bool LoadStartupData() {
    mod_System::LoadSystemVars();
    if (AbortFlag) return false;
    const auto key = MakeDataKey(SystemVars.DataKeySource);
    if (!key) return false;
    SystemVars.DataKeySource = *key;
    DataKey = *key;
    mod_Question::LoadQuestionBank();
    return !AbortFlag;
}

template <class T>
void Release(T& value) {
    value = T{};
}

// Back to the globals of a fresh launch, so every load fills empty containers.
void ReleaseStartupData() {
    Release(SystemVars);
    Release(ImageStore);
    Release(DataKey);
    Release(QuestionBank);
    Release(QuestionPictures);
    Release(ObjectiveNames);
    Release(PracticeGroups);
    Release(QuestionStatsTable);
}

// The Data folder of a large bank, built with the packer's own steps, then loaded once so
// that Resource.dat (the statistics) exists as after a first run.
struct StartupFolder {
    ScratchFolder folder{"examsim-bench-startup-"};
    std::uintmax_t decodedBytes = 0;
    std::string error;

    StartupFolder() {
        std::filesystem::create_directories(folder.path() / "Data");
        AppPaths::SetProgramFolder(folder.path());
        std::mt19937 rng(20240601);
        SystemVarsRecord record;
        ForEachSystemVar(record, SysvarsFiller{rng});
        const auto key = MakeDataKey(record.DataKeySource);
        if (!key) {
            error = "the texts give no DataKey";
            return;
        }

        ArchiveFiles systemFiles{{"sysvars.dat", mod_System::WriteSystemVars(record)}};
        for (const std::string_view name : kImageSlotNames) {
            if (!name.empty())
                systemFiles.emplace_back(name,
                                         RandomBytes(rng, name == "splash.jpg" ? 23000 : 900));
        }
        ArchiveFiles dataFiles{{"header.dat", BytesOf(mod_Question::DataDigest(
                                                  record.ProductName, record.ProductCode, *key))},
                               {"questions.db", BytesOf(datapack::questionsDb(Questions(rng)))}};
        // Sizes spread around the mean, as real exhibits vary.
        std::uniform_int_distribution<std::size_t> pictureSize(kPictureBytes * 3 / 4,
                                                               kPictureBytes * 5 / 4);
        for (std::size_t k = 0; k < kPictureCount; ++k)
            dataFiles.emplace_back(PictureName(k), RandomBytes(rng, pictureSize(rng)));
        decodedBytes = ContentBytes(systemFiles) + ContentBytes(dataFiles);

        if (!WriteArchive(AppPaths::SystemDat(), systemFiles) ||
            !WriteArchive(AppPaths::DataDat(), dataFiles)) {
            error = "cannot build the Data folder";
            return;
        }
        AbortFlag = false;
        const bool loaded = LoadStartupData();
        // QuestionPictures keeps element 0 empty.
        const bool whole = QuestionBank.size() == kQuestionCount &&
                           QuestionPictures.size() == kPictureCount + 1 &&
                           std::filesystem::exists(AppPaths::ResourceDat());
        if (!loaded)
            error = "the first load failed (AbortFlag set)";
        else if (!whole)
            error = "the first load did not give the whole bank and its statistics";
        ReleaseStartupData();
    }
};

// Built on first use only, so other benchmarks of the binary do not pay for it.
const StartupFolder& Folder() {
    static const StartupFolder folder;
    return folder;
}

// True when the folder is usable; the program folder is global and others may move it.
bool Prepare(benchmark::State& state) {
    const StartupFolder& folder = Folder();
    if (!folder.error.empty()) {
        state.SkipWithError(folder.error.c_str());
        return false;
    }
    AppPaths::SetProgramFolder(folder.folder.path());
    AbortFlag = false;
    return true;
}

// Seconds per load of the floor in this run, for the ratio the load reports.
double floorSeconds = 0;

double SecondsPerIteration(Clock::duration total, const benchmark::State& state) {
    return std::chrono::duration<double>(total).count() /
           static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

// What start-up cannot avoid: reading the three files and deciphering the archives.
void BM_StartupFloor(benchmark::State& state) {
    if (!Prepare(state)) return;
    cls_Crypt_RC4 rc4;
    // RC4 runs at the same speed under any key.
    rc4.Key("benchmark key");
    std::int64_t bytes = 0;
    Clock::duration total{};
    for (auto _ : state) {
        const auto start = Clock::now();
        std::optional<formats::Bytes> system = formats::ReadFileBytes(AppPaths::SystemDat());
        std::optional<formats::Bytes> data = formats::ReadFileBytes(AppPaths::DataDat());
        std::optional<formats::Bytes> stats = formats::ReadFileBytes(AppPaths::ResourceDat());
        if (!system || !data || !stats) {
            state.SkipWithError("cannot read the Data folder");
            break;
        }
        rc4.EncryptByte(*system);
        rc4.EncryptByte(*data);
        benchmark::DoNotOptimize(system->data());
        benchmark::DoNotOptimize(data->data());
        benchmark::DoNotOptimize(stats->data());
        benchmark::ClobberMemory();
        total += Clock::now() - start;
        bytes = static_cast<std::int64_t>(system->size() + data->size() + stats->size());
        // Freed untimed, like the loaded bank below.
        state.PauseTiming();
        system.reset();
        data.reset();
        stats.reset();
        state.ResumeTiming();
    }
    floorSeconds = SecondsPerIteration(total, state);
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_StartupFloor)->Unit(benchmark::kMillisecond);

// Reports x_floor: its time over the floor's, when the floor ran before it.
void BM_StartupLoad(benchmark::State& state) {
    if (!Prepare(state)) return;
    Clock::duration total{};
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!LoadStartupData()) {
            state.SkipWithError("the load failed (AbortFlag set)");
            break;
        }
        benchmark::DoNotOptimize(QuestionBank.data());
        benchmark::ClobberMemory();
        total += Clock::now() - start;
        state.PauseTiming();
        ReleaseStartupData();
        state.ResumeTiming();
    }
    if (floorSeconds > 0)
        state.counters["x_floor"] = SecondsPerIteration(total, state) / floorSeconds;
}
BENCHMARK(BM_StartupLoad)->Unit(benchmark::kMillisecond);

std::int64_t StatusKilobytes(std::string_view field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(field)) return std::stoll(line.substr(field.size()));
    }
    return -1;
}

// Resident sizes around one load in a forked child, in kB; the child exits with the outcome.
struct ChildFigures {
    std::int64_t before = 0;
    std::int64_t peak = 0;
    std::int64_t after = 0;
};

enum ChildOutcome { kMeasured = 0, kNoPeakReset = 1, kLoadFailed = 2 };

ChildOutcome MeasureInChild(ChildFigures& figures) {
    // Free heap pages are given back first, so reusing them shows as growth.
    malloc_trim(0);
    // "5" resets the peak resident size to the current one.
    std::ofstream reset("/proc/self/clear_refs");
    if (!(reset << "5" << std::flush)) return kNoPeakReset;
    figures.before = StatusKilobytes("VmRSS:");
    if (!LoadStartupData()) return kLoadFailed;
    figures.peak = StatusKilobytes("VmHWM:");
    figures.after = StatusKilobytes("VmRSS:");
    return kMeasured;
}

// Both ends closed on destruction; the parent closes its write end early so that a child
// dying before it writes gives end-of-file instead of a hang.
class Pipe {
public:
    Pipe() {
        if (::pipe(fds_.data()) != 0) fds_ = {-1, -1};
    }
    ~Pipe() {
        for (const int fd : fds_)
            if (fd >= 0) ::close(fd);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    [[nodiscard]] bool ok() const { return fds_[0] >= 0; }
    [[nodiscard]] int readEnd() const { return fds_[0]; }
    [[nodiscard]] int writeEnd() const { return fds_[1]; }
    void closeWriteEnd() {
        ::close(fds_[1]);
        fds_[1] = -1;
    }

private:
    std::array<int, 2> fds_{};
};

// Peak resident growth of one load against the decoded size of System.dat and Data.dat.
// A forked child measures it: its peak can be reset without the benchmark's own history,
// and it starts with the globals empty as at launch. Time is not the figure here.
void BM_StartupPeakMemory(benchmark::State& state) {
    if (!Prepare(state)) return;
    for (auto _ : state) {
        Pipe pipe;
        const pid_t child = pipe.ok() ? ::fork() : -1;
        if (child == 0) {
            ChildFigures figures;
            const ChildOutcome outcome = MeasureInChild(figures);
            const bool sent = ::write(pipe.writeEnd(), &figures, sizeof figures) ==
                              static_cast<ssize_t>(sizeof figures);
            // _exit: the child must not run the parent's exit handlers (the scratch folder).
            ::_exit(sent ? outcome : kLoadFailed);
        }
        pipe.closeWriteEnd();
        ChildFigures figures;
        const bool received = child > 0 && ::read(pipe.readEnd(), &figures, sizeof figures) ==
                                               static_cast<ssize_t>(sizeof figures);
        int status = 0;
        const bool exited = child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status);
        if (!received || !exited || WEXITSTATUS(status) != kMeasured) {
            state.SkipWithError(exited && WEXITSTATUS(status) == kNoPeakReset
                                    ? "cannot reset the peak resident size (clear_refs)"
                                    : "the measuring child failed");
            break;
        }
        const double decoded = static_cast<double>(Folder().decodedBytes);
        const double peak = static_cast<double>(figures.peak - figures.before) * 1024;
        const double kept = static_cast<double>(figures.after - figures.before) * 1024;
        using benchmark::Counter;
        state.counters["decoded"] = Counter(decoded, Counter::kDefaults, Counter::kIs1024);
        state.counters["peak_growth"] = Counter(peak, Counter::kDefaults, Counter::kIs1024);
        state.counters["kept"] = Counter(kept, Counter::kDefaults, Counter::kIs1024);
        state.counters["peak_x_decoded"] = peak / decoded;
    }
}
BENCHMARK(BM_StartupPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
