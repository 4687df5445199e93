#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "core/cls_Crypt_RC4.h"

namespace {

constexpr std::size_t kBufferBytes = 16u << 20;

std::vector<std::uint8_t> Buffer() {
    std::vector<std::uint8_t> bytes(kBufferBytes);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 31);
    return bytes;
}

// The floor the cipher is measured against: touching the same bytes without enciphering.
void BM_Rc4PlainCopy16MB(benchmark::State& state) {
    const std::vector<std::uint8_t> source = Buffer();
    std::vector<std::uint8_t> dest(source.size());
    for (auto _ : state) {
        std::memcpy(dest.data(), source.data(), source.size());
        benchmark::DoNotOptimize(dest.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}
BENCHMARK(BM_Rc4PlainCopy16MB)->Unit(benchmark::kMillisecond);

void BM_Rc4EncryptByte16MB(benchmark::State& state) {
    std::vector<std::uint8_t> bytes = Buffer();
    cls_Crypt_RC4 rc4;
    rc4.Key("benchmark key");
    for (auto _ : state) {
        rc4.EncryptByte(bytes);
        benchmark::DoNotOptimize(bytes.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_Rc4EncryptByte16MB)->Unit(benchmark::kMillisecond);

// Shows what a listener costs; reports come only once per percent.
void BM_Rc4EncryptByteWithProgress16MB(benchmark::State& state) {
    std::vector<std::uint8_t> bytes = Buffer();
    cls_Crypt_RC4 rc4;
    rc4.Key("benchmark key");
    std::int32_t last = 0;
    rc4.Progress = [&last](std::int32_t percent) { last = percent; };
    for (auto _ : state) {
        rc4.EncryptByte(bytes);
        benchmark::DoNotOptimize(bytes.data());
        benchmark::DoNotOptimize(last);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_Rc4EncryptByteWithProgress16MB)->Unit(benchmark::kMillisecond);

}  // namespace
