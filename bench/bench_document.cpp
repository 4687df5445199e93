#include <benchmark/benchmark.h>

#include "ScratchFolder.h"

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

// Opening the document: into a folder of its own (over_earlier:0, as the first opening of a
// run) or over the files of the previous opening (over_earlier:1). The fresh folders are removed
// only at exit: files deleted moments before make a new file dearer on some file systems (ext4
// without a journal passes over every inode freed in the last minutes), which is not the
// unpacker's cost.
void BM_UnpackDocument20000(benchmark::State& state) {
    const ManyFileDocument& document = Document();
    if (!document.written) return state.SkipWithError("cannot write the container");
    SystemVars.ProductName = kProductName;
    SystemVars.ProductCode = kProductCode;
    DataKey = kKey;
    const bool overEarlier = state.range(0) != 0;
    static int freshFolders = 0;
    for (auto _ : state) {
        const std::filesystem::path folder =
            overEarlier ? document.temp
                        : document.temp.parent_path() / ("fresh" + std::to_string(++freshFolders));
        if (!mod_Viewer::UnpackResourceDocument(document.container, folder)) {
            state.SkipWithError("the container was refused");
            break;
        }
    }
    state.counters["budget_ms"] = 500;
}
BENCHMARK(BM_UnpackDocument20000)
    ->ArgName("over_earlier")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
