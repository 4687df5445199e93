#include "core/mod_GenKey.h"

#include <chrono>

namespace mod_GenKey {

namespace {

// Seeded once, so that calls within one clock tick still differ.
std::mt19937_64& generator() {
    static std::mt19937_64 engine = [] {
        std::random_device device;
        const auto ticks =
            static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        std::seed_seq seed{device(), device(), static_cast<std::uint32_t>(ticks),
                           static_cast<std::uint32_t>(ticks >> 32)};
        return std::mt19937_64(seed);
    }();
    return engine;
}

}  // namespace

std::string GenKey(std::int16_t n) {
    if (n <= 0) return {};
    std::uniform_int_distribution<int> code('0', 'Z');
    std::string key(static_cast<std::size_t>(n), '\0');
    for (char& c : key)
        c = static_cast<char>(code(generator()));
    return key;
}

void SeedForTesting(std::uint64_t seed) {
    generator().seed(seed);
}

}  // namespace mod_GenKey
