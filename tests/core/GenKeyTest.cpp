#include "core/mod_GenKey.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(GenKey, LengthAndQuickSuccessiveCallsDiffer) {
    const std::string first = mod_GenKey::GenKey(8);
    EXPECT_EQ(first.size(), 8u);
    EXPECT_NE(mod_GenKey::GenKey(8), first);
    EXPECT_EQ(mod_GenKey::GenKey(0), "");
    EXPECT_EQ(mod_GenKey::GenKey(-5), "");
}

TEST(GenKey, SeedingForTestsRepeatsTheSequence) {
    mod_GenKey::SeedForTesting(1234);
    const std::string first = mod_GenKey::GenKey(8);
    const std::string second = mod_GenKey::GenKey(8);
    mod_GenKey::SeedForTesting(1234);
    EXPECT_EQ(mod_GenKey::GenKey(8), first);
    EXPECT_EQ(mod_GenKey::GenKey(8), second);
}

TEST(GenKey, DrawsEveryCharacterFromZeroToCapitalZAndNoOther) {
    std::set<char> seen;
    for (int i = 0; i < 200; ++i) {
        for (const char c : mod_GenKey::GenKey(100))
            seen.insert(c);
    }
    // 43 distinct codes bounded by '0' and 'Z' can only be the whole range.
    ASSERT_EQ(seen.size(), 43u);
    EXPECT_EQ(*seen.begin(), '0');
    EXPECT_EQ(*seen.rbegin(), 'Z');
}

}  // namespace
