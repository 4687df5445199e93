#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "pages/PageJudge.h"

namespace {

// 16 MiB pages, the largest note file read: the judge's own cost, whatever it decides.
std::string page16MiB(int shape) {
    constexpr std::size_t kSize = std::size_t{16} << 20;
    const std::array<std::string, 4> parts = {"lorem ipsum ", "</b>", "<p>x", "a \\ display "};
    std::string page;
    if (shape == 4) {
        page = "<img src=\"data:" + std::string(kSize, 'A') + "\">";
    } else {
        const std::string& part = parts.at(static_cast<std::size_t>(shape));
        page.reserve(kSize);
        while (page.size() + part.size() <= kSize)
            page += part;
    }
    return page;
}

void BM_JudgePage16MiB(benchmark::State& state) {
    const std::string page = page16MiB(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(page_judge::JudgePage(page));
    state.counters["budget_ms"] = 100;
}
BENCHMARK(BM_JudgePage16MiB)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

}  // namespace
