#include "platform/PngChunks.h"

#include <algorithm>
#include <array>

namespace platform {

std::uint64_t PngDeclaredBytes(std::span<const std::uint8_t> png) {
    constexpr std::uint64_t kSignature = 8;
    // Length, type and check around each chunk's data.
    constexpr std::uint64_t kChunkFrame = 12;
    constexpr std::array<std::uint8_t, 4> kEnd{'I', 'E', 'N', 'D'};
    std::uint64_t at = kSignature;
    while (at + 8 <= png.size()) {
        const std::uint64_t length = std::uint64_t{png[at]} << 24 |
                                     std::uint64_t{png[at + 1]} << 16 |
                                     std::uint64_t{png[at + 2]} << 8 | png[at + 3];
        const bool end = std::equal(kEnd.begin(), kEnd.end(), png.begin() + at + 4);
        at += kChunkFrame + length;
        if (end) break;
    }
    return std::max<std::uint64_t>(at, png.size());
}

}  // namespace platform
