#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace fuzzsupport {

// The SHA-1 of an input in lower-case hex, as libFuzzer names its artifacts (timeout-HASH).
// Computed without allocating: the watchdog calls it while a hung round may hold malloc's
// lock.
using Sha1Hex = std::array<char, 40>;
Sha1Hex Sha1OfInput(const std::uint8_t* data, std::size_t size);

}  // namespace fuzzsupport
