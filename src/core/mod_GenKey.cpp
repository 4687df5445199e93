#include "core/mod_GenKey.h"

#include <chrono>
#include <mutex>

namespace mod_GenKey {

namespace {

std::mt19937_64 SeededOnce() {
    std::random_device device;
    const auto ticks =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seed{device(), device(), static_cast<std::uint32_t>(ticks),
                       static_cast<std::uint32_t>(ticks >> 32)};
    return std::mt19937_64(seed);
}

// Seeded once so that calls within one clock tick still differ; the lock keeps the
// generator whole if keys are ever made off the main thread.
struct Generator {
    std::mutex mutex;
    std::mt19937_64 engine = SeededOnce();
};

Generator& TheGenerator() {
    static Generator generator;
    return generator;
}

}  // namespace

std::string GenKey(std::int16_t n) {
    if (n <= 0) return {};
    std::uniform_int_distribution<int> code('0', 'Z');
    Generator& generator = TheGenerator();
    const std::lock_guard lock(generator.mutex);
    std::string key(static_cast<std::size_t>(n), '\0');
    for (char& c : key)
        c = static_cast<char>(code(generator.engine));
    return key;
}

void SeedForTesting(std::uint64_t seed) {
    Generator& generator = TheGenerator();
    const std::lock_guard lock(generator.mutex);
    generator.engine.seed(seed);
}

}  // namespace mod_GenKey
