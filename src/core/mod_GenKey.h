#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace mod_GenKey {

// n characters drawn uniformly from codes 48..90 ("0".."Z").
std::string GenKey(std::int16_t n);

// Replaces the generator (seeded once from the clock) for reproducible tests.
void SeedForTesting(std::uint64_t seed);

}  // namespace mod_GenKey
