#include "core/mod_MD5.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace mod_MD5 {

namespace {

using Block = std::array<std::uint8_t, 64>;

struct State {
    std::array<std::uint32_t, 4> abcd{0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u};
};

constexpr std::array<std::uint32_t, 64> kSine{
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

constexpr std::array<int, 16> kShift{7, 12, 17, 22, 5, 9, 14, 20, 4, 11, 16, 23, 6, 10, 15, 21};

void MD5Transform(State& state, const std::uint8_t* block) {
    std::array<std::uint32_t, 16> x{};
    for (std::size_t w = 0; w < x.size(); ++w) {
        const std::uint8_t* p = block + 4 * w;
        x[w] = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
               static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    }
    auto [a, b, c, d] = state.abcd;
    for (std::size_t step = 0; step < 64; ++step) {
        const std::size_t round = step / 16;
        std::uint32_t f = 0;
        std::size_t word = 0;
        switch (round) {
            case 0:
                f = (b & c) | (~b & d);
                word = step;
                break;
            case 1:
                f = (b & d) | (c & ~d);
                word = (5 * step + 1) % 16;
                break;
            case 2:
                f = b ^ c ^ d;
                word = (3 * step + 5) % 16;
                break;
            default:
                f = c ^ (b | ~d);
                word = (7 * step) % 16;
                break;
        }
        const std::uint32_t rotated =
            std::rotl(a + f + kSine[step] + x[word], kShift[round * 4 + step % 4]);
        a = d;
        d = c;
        c = b;
        b += rotated;
    }
    state.abcd[0] += a;
    state.abcd[1] += b;
    state.abcd[2] += c;
    state.abcd[3] += d;
}

void PutLength(Block& block, std::uint64_t bits) {
    for (std::size_t i = 0; i < 8; ++i) {
        block[56 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

// RFC 1321 padding, except that a tail of 56..63 bytes after at least one full block (or
// exactly 56 bytes) keeps only its first 56 bytes and takes the length in the same block.
// Stored digests were made this way, so the rule stays.
void MD5Final(State& state, const std::uint8_t* tail, std::size_t r, std::size_t n) {
    const std::uint64_t bits = static_cast<std::uint64_t>(n) * 8u;
    Block block{};
    if (r == 56 || (r > 56 && n >= 64)) {
        std::copy_n(tail, 56, block.data());
        PutLength(block, bits);
        MD5Transform(state, block.data());
        return;
    }
    std::copy_n(tail, r, block.data());
    block[r] = 0x80;
    if (r > 56) {
        MD5Transform(state, block.data());
        block.fill(0);
    }
    PutLength(block, bits);
    MD5Transform(state, block.data());
}

std::string Hex(const State& state) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(32);
    for (const std::uint32_t word : state.abcd) {
        for (int i = 0; i < 4; ++i) {
            const auto byte = static_cast<std::uint8_t>(word >> (8 * i));
            hex.push_back(kDigits[byte >> 4]);
            hex.push_back(kDigits[byte & 0x0f]);
        }
    }
    return hex;
}

}  // namespace

std::string MD5String(std::string_view text) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
    const std::size_t n = text.size();
    const std::size_t whole = n - n % 64;
    State state;
    for (std::size_t offset = 0; offset < whole; offset += 64) {
        MD5Transform(state, data + offset);
    }
    MD5Final(state, data + whole, n - whole, n);
    return Hex(state);
}

}  // namespace mod_MD5
