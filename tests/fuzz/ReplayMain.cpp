// Runs a fuzz target over every file of its corpus (folders are walked), without libFuzzer:
// CI replays each corpus this way under the sanitizers. Flags (-name=value) are libFuzzer's,
// left to the target.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "FuzzSupport.h"
#include "formats/FileIo.h"

extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    std::vector<std::filesystem::path> inputs;
    for (int k = 1; k < argc; ++k) {
        if (argv[k][0] == '-') continue;
        const std::filesystem::path arg(argv[k]);
        if (!std::filesystem::is_directory(arg)) {
            inputs.push_back(arg);
            continue;
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(arg))
            if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }
    for (const auto& input : inputs) {
        const auto bytes = formats::ReadFileBytes(input);
        if (!bytes) {
            std::fprintf(stderr, "cannot read %s\n", input.c_str());
            return 1;
        }
        LLVMFuzzerTestOneInput(bytes->data(), bytes->size());
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return 0;
}
