#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/ArtifactName.h"

namespace {

// Digests from another implementation, at the lengths where the padding changes: it fits the
// last block or takes one more.
TEST(FuzzArtifactName, IsTheSha1OfTheInput) {
    const struct {
        std::size_t length;
        const char* sha1;
    } cases[] = {
        {0, "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {3, "75550941124b46eb4161d17ac200c05c4fc03ce7"},
        {55, "a83f94113f5292bb7ed9d7df07178ad7d931341a"},
        {56, "372e1b20329e0b2862472089ac00c55505116275"},
        {63, "6944938dc131b6453b7d9637cfcbad8a3db28104"},
        {64, "aec4b7f13a2b75ec13bc0c3f13fa55caf97e621d"},
        {65, "29a20455c2f21fa85c66014ff3b75bfcce5aaba5"},
        {119, "43610a35bbf6783ba62fc82d421abc8b2f3e1abf"},
        {120, "482b555c1bda1cd10f9bdc34081249810af9fd77"},
        {1000, "33f233c97a803d84a0db9f3dbc05b63ff2045d92"},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> input(c.length);
        for (std::size_t k = 0; k < input.size(); ++k)
            input[k] = static_cast<std::uint8_t>(k * 7 % 251);
        const fuzzsupport::Sha1Hex hex = fuzzsupport::Sha1OfInput(input.data(), input.size());
        EXPECT_EQ(std::string(hex.begin(), hex.end()), c.sha1) << c.length << " bytes";
    }
}

}  // namespace
