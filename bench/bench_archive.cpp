#include <benchmark/benchmark.h>

#include "ScratchFolder.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/AbortFlag.h"
#include "core/cls_Crypt_RC4.h"
#include "core/cls_RCFile.h"
#include "formats/FileIo.h"

namespace {

constexpr std::size_t kEntryCount = 200;
constexpr std::size_t kEntryBytes = (64u << 20) / kEntryCount;

using Clock = std::chrono::steady_clock;

// Random data, so the figures do not depend on how compressible the content is.
struct SampleArchive {
    ScratchFolder folder{"examsim-bench-archive-"};
    std::filesystem::path file = folder.path() / "sample.dat";
    std::uintmax_t bytes = 0;

    SampleArchive() {
        std::mt19937_64 rng(20240601);
        std::vector<std::pair<std::string, formats::Bytes>> files;
        for (std::size_t i = 0; i < kEntryCount; ++i) {
            formats::Bytes content(kEntryBytes);
            for (std::uint8_t& b : content)
                b = static_cast<std::uint8_t>(rng());
            files.emplace_back("entry" + std::to_string(1000 + i) + ".bin", std::move(content));
        }
        const auto archive = cls_RCFile().BuildArchive(files);
        if (archive && formats::WriteFileReplacing(file, *archive)) bytes = archive->size();
    }
};

// Written on first use only, so other benchmarks of the binary do not pay for it.
const SampleArchive& Sample() {
    static const SampleArchive sample;
    return sample;
}

// Seconds per iteration of each floor in this run, for the ratios the extraction reports.
double plainReadSeconds = 0;
double plainReadRc4Seconds = 0;

double SecondsPerIteration(Clock::duration total, const benchmark::State& state) {
    return std::chrono::duration<double>(total).count() /
           static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

// Reads the whole file into memory, then optionally enciphers it: the floors.
void PlainRead(benchmark::State& state, bool encipher, double& secondsPerIteration) {
    const SampleArchive& sample = Sample();
    if (sample.bytes == 0) return state.SkipWithError("cannot write the sample archive");
    cls_Crypt_RC4 rc4;
    // RC4 runs at the same speed under any key.
    rc4.Key("benchmark key");
    Clock::duration total{};
    for (auto _ : state) {
        const auto start = Clock::now();
        std::optional<formats::Bytes> bytes = formats::ReadFileBytes(sample.file);
        if (!bytes) {
            state.SkipWithError("cannot read the sample archive");
            break;
        }
        if (encipher) rc4.EncryptByte(*bytes);
        benchmark::DoNotOptimize(bytes->data());
        benchmark::ClobberMemory();
        bytes.reset();
        total += Clock::now() - start;
    }
    secondsPerIteration = SecondsPerIteration(total, state);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(sample.bytes));
}

void BM_ArchivePlainRead64MB(benchmark::State& state) {
    PlainRead(state, false, plainReadSeconds);
}
BENCHMARK(BM_ArchivePlainRead64MB)->Unit(benchmark::kMillisecond);

void BM_ArchivePlainReadRc4_64MB(benchmark::State& state) {
    PlainRead(state, true, plainReadRc4Seconds);
}
BENCHMARK(BM_ArchivePlainReadRc4_64MB)->Unit(benchmark::kMillisecond);

// Reports x_read and x_read_rc4: its time over each floor's, when those ran before it.
void BM_ArchiveExtractData64MB(benchmark::State& state) {
    const SampleArchive& sample = Sample();
    if (sample.bytes == 0) return state.SkipWithError("cannot write the sample archive");
    AbortFlag = false;
    cls_RCFile archive;
    Clock::duration total{};
    for (auto _ : state) {
        const auto start = Clock::now();
        archive.ExtractData(sample.file);
        if (AbortFlag || ArchiveEntries.size() != kEntryCount + 1) {
            state.SkipWithError("ExtractData did not read the sample archive");
            break;
        }
        benchmark::DoNotOptimize(ArchiveEntries.data());
        benchmark::ClobberMemory();
        ArchiveEntries.clear();
        total += Clock::now() - start;
    }
    const double seconds = SecondsPerIteration(total, state);
    if (plainReadSeconds > 0) state.counters["x_read"] = seconds / plainReadSeconds;
    if (plainReadRc4Seconds > 0) state.counters["x_read_rc4"] = seconds / plainReadRc4Seconds;
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(sample.bytes));
}
BENCHMARK(BM_ArchiveExtractData64MB)->Unit(benchmark::kMillisecond);

}  // namespace
