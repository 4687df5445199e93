#include <benchmark/benchmark.h>

#include "ScratchFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "browsers/ResourceDocument.h"
#include "core/DataKey.h"
#include "core/SystemVars.h"
#include "core/cls_RCFile.h"
#include "formats/FileIo.h"

namespace {

constexpr std::size_t kEntryCount = 20000;
constexpr const char* kProductName = "Bench";
constexpr const char* kProductCode = "BN-1";
constexpr const char* kKey = "abc-defg";

// A genuine container of 20,000 one-byte files and a page (about 2 MB, almost all of it the
// entries' fixed-width names).
struct ManyFileDocument {
    ScratchFolder folder{"examsim-bench-document-"};
    std::filesystem::path container = folder.path() / "Guides.dat";
    std::filesystem::path temp = folder.path() / "temp";
    bool written = false;

    ManyFileDocument() {
        std::vector<std::pair<std::string, formats::Bytes>> files;
        const std::string digest =
            mod_Viewer::DocumentDigest(kProductName, kProductCode, kKey, "Guides.dat");
        files.emplace_back("header.dat", formats::Bytes(digest.begin(), digest.end()));
        files.emplace_back("guides.html", formats::Bytes{'<', 'p', '>'});
        for (std::size_t i = 0; i < kEntryCount; ++i)
            files.emplace_back("picture" + std::to_string(10000 + i) + ".png", formats::Bytes{1});
        const auto archive = cls_RCFile().BuildArchive(files);
        written = archive && formats::WriteFileReplacing(container, *archive);
    }
};

// Written on first use only, so other benchmarks of the binary do not pay for it.
const ManyFileDocument& Document() {
    static const ManyFileDocument document;
    return document;
}

using Clock = std::chrono::steady_clock;

double SecondsPerIteration(Clock::duration total, const benchmark::State& state) {
    return std::chrono::duration<double>(total).count() /
           static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

double floorSeconds = 0;

// A folder of its own for each iteration, beside the container. The folders are removed only
// at exit: files deleted moments before make a new file dearer on some file systems (ext4
// without a journal passes over every inode freed in the last minutes), which is not the
// unpacker's cost.
std::filesystem::path FreshFolder(const ManyFileDocument& document) {
    static int made = 0;
    return document.temp.parent_path() / ("fresh" + std::to_string(++made));
}

// Floor of a first opening: making the folder and its 20,000 one-byte files with nothing but
// open, write and close.
void BM_UnpackDocument20000Floor(benchmark::State& state) {
    const ManyFileDocument& document = Document();
    if (!document.written) return state.SkipWithError("cannot write the container");
    const std::uint8_t byte = 1;
    Clock::duration total{};
    for (auto _ : state) {
        const auto start = Clock::now();
        const std::filesystem::path folder = FreshFolder(document);
        std::filesystem::create_directory(folder);
        for (std::size_t i = 0; i < kEntryCount; ++i) {
            const std::string name =
                (folder / ("picture" + std::to_string(10000 + i) + ".png")).string();
            const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 || ::write(fd, &byte, 1) != 1) state.SkipWithError("cannot write a file");
            if (fd >= 0) ::close(fd);
        }
        total += Clock::now() - start;
    }
    floorSeconds = SecondsPerIteration(total, state);
}
BENCHMARK(BM_UnpackDocument20000Floor)->Unit(benchmark::kMillisecond);

// Opening the document: into a folder of its own (over_earlier:0, as the first opening of a
// run) or over the files of the previous opening (over_earlier:1). x_floor: a first opening's
// time over the floor's, when the floor ran before it.
void BM_UnpackDocument20000(benchmark::State& state) {
    const ManyFileDocument& document = Document();
    if (!document.written) return state.SkipWithError("cannot write the container");
    SystemVars.ProductName = kProductName;
    SystemVars.ProductCode = kProductCode;
    DataKey = kKey;
    const bool overEarlier = state.range(0) != 0;
    Clock::duration total{};
    for (auto _ : state) {
        const auto start = Clock::now();
        const std::filesystem::path folder = overEarlier ? document.temp : FreshFolder(document);
        if (!mod_Viewer::UnpackResourceDocument(document.container, folder)) {
            state.SkipWithError("the container was refused");
            break;
        }
        total += Clock::now() - start;
    }
    if (!overEarlier && floorSeconds > 0)
        state.counters["x_floor"] = SecondsPerIteration(total, state) / floorSeconds;
    state.counters["budget_ms"] = 500;
}
BENCHMARK(BM_UnpackDocument20000)
    ->ArgName("over_earlier")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
