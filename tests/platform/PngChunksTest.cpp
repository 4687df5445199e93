#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/PngChunks.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes chunk(std::uint32_t declared, const std::string& type, std::size_t held) {
    Bytes bytes(12 + held, 'x');
    for (std::size_t k = 0; k < 4; ++k) {
        bytes[k] = static_cast<std::uint8_t>(declared >> (24 - 8 * k));
        bytes[4 + k] = static_cast<std::uint8_t>(type[k]);
    }
    return bytes;
}

Bytes png(std::initializer_list<Bytes> chunks) {
    Bytes bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    for (const Bytes& c : chunks)
        bytes.insert(bytes.end(), c.begin(), c.end());
    return bytes;
}

// What libpng would take memory for, against what the file holds.
TEST(PngChunks, DeclaredBytesAreWhatTheChunksSayUpToTheirEnd) {
    const Bytes header = chunk(13, "IHDR", 13);
    const Bytes end = chunk(0, "IEND", 0);
    Bytes withArchiveZero = png({header, end});
    withArchiveZero.push_back(0);
    Bytes cutInAHeader = png({header});
    cutInAHeader.insert(cutInAHeader.end(), {0, 0, 0});
    const struct {
        const char* what;
        Bytes bytes;
        std::uint64_t declared;
    } rows[] = {
        {"whole", png({header, end}), 8 + 25 + 12},
        {"with the archive's zero after its end", withArchiveZero, 8 + 25 + 12 + 1},
        {"a comment declaring a mebibyte it does not hold",
         png({header, chunk(1 << 20, "tEXt", 5)}), 8 + 25 + 12 + (1 << 20)},
        {"a chunk declaring the most a length can", png({header, chunk(0xffffffff, "zTXt", 5)}),
         8 + 25 + 12 + 0xffffffffULL},
        {"bytes after its end that look like a chunk",
         png({header, end, chunk(1 << 20, "tEXt", 0)}), 8 + 25 + 12 + 12},
        {"cut inside a chunk's length", cutInAHeader, 8 + 25 + 3},
    };
    for (const auto& row : rows)
        EXPECT_EQ(platform::PngDeclaredBytes(row.bytes), row.declared) << row.what;
}

}  // namespace
