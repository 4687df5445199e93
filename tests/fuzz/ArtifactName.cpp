#include "ArtifactName.h"

#include <bit>

namespace fuzzsupport {

namespace {

constexpr std::size_t kBlockBytes = 64;

struct Sha1State {
    std::array<std::uint32_t, 5> h{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};

    void addBlock(const std::uint8_t* block) {
        std::array<std::uint32_t, 80> w{};
        for (std::size_t k = 0; k < 16; ++k)
            w[k] = std::uint32_t{block[4 * k]} << 24 | std::uint32_t{block[4 * k + 1]} << 16 |
                   std::uint32_t{block[4 * k + 2]} << 8 | std::uint32_t{block[4 * k + 3]};
        for (std::size_t k = 16; k < 80; ++k)
            w[k] = std::rotl(w[k - 3] ^ w[k - 8] ^ w[k - 14] ^ w[k - 16], 1);
        auto [a, b, c, d, e] = h;
        for (std::size_t k = 0; k < 80; ++k) {
            std::uint32_t f = 0;
            std::uint32_t constant = 0;
            if (k < 20) {
                f = (b & c) | (~b & d);
                constant = 0x5A827999;
            } else if (k < 40) {
                f = b ^ c ^ d;
                constant = 0x6ED9EBA1;
            } else if (k < 60) {
                f = (b & c) | (b & d) | (c & d);
                constant = 0x8F1BBCDC;
            } else {
                f = b ^ c ^ d;
                constant = 0xCA62C1D6;
            }
            const std::uint32_t next = std::rotl(a, 5) + f + e + constant + w[k];
            e = d;
            d = c;
            c = std::rotl(b, 30);
            b = a;
            a = next;
        }
        h[0] += a;
        h[1] += b;
        h[2] += c;
        h[3] += d;
        h[4] += e;
    }
};

}  // namespace

Sha1Hex Sha1OfInput(const std::uint8_t* data, std::size_t size) {
    Sha1State state;
    std::size_t at = 0;
    for (; size - at >= kBlockBytes; at += kBlockBytes)
        state.addBlock(data + at);
    // The last bytes, a one bit, zeros, and the length in bits: one block or two.
    std::array<std::uint8_t, 2 * kBlockBytes> tail{};
    const std::size_t left = size - at;
    for (std::size_t k = 0; k < left; ++k)
        tail[k] = data[at + k];
    tail[left] = 0x80;
    const std::size_t tailBytes = left + 9 <= kBlockBytes ? kBlockBytes : 2 * kBlockBytes;
    const std::uint64_t bits = static_cast<std::uint64_t>(size) * 8;
    for (std::size_t k = 0; k < 8; ++k)
        tail[tailBytes - 1 - k] = static_cast<std::uint8_t>(bits >> (8 * k));
    for (std::size_t from = 0; from < tailBytes; from += kBlockBytes)
        state.addBlock(tail.data() + from);

    constexpr std::array<char, 16> kDigits{'0', '1', '2', '3', '4', '5', '6', '7',
                                           '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    Sha1Hex hex{};
    for (std::size_t k = 0; k < hex.size(); ++k)
        hex[k] = kDigits[(state.h[k / 8] >> (28 - 4 * (k % 8))) & 0xF];
    return hex;
}

}  // namespace fuzzsupport
