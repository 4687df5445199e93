#include <gtest/gtest.h>

#include "formats/Windows1252.h"

using namespace formats;

TEST(Windows1252Test, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    bool lossless = true;
    EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all), &lossless), all);
    EXPECT_TRUE(lossless);
}

TEST(Windows1252Test, TypographicCharactersUseTheirOwnBytes) {
    EXPECT_EQ(Windows1252ToUtf8("\x80\x96\xE9"), "\u20AC\u2013\u00E9");
    EXPECT_EQ(Utf8ToWindows1252("\u2019s \u2026"), "\x92s \x85");
}

TEST(Windows1252Test, UnrepresentableOrMalformedInputIsReported) {
    bool lossless = true;
    EXPECT_EQ(Utf8ToWindows1252("a\u4E2Db", &lossless), "a?b");
    EXPECT_FALSE(lossless);
    lossless = true;
    EXPECT_EQ(Utf8ToWindows1252("x\xC3", &lossless), "x?");  // cut in the middle of a character
    EXPECT_FALSE(lossless);
    lossless = true;
    EXPECT_EQ(Utf8ToWindows1252("\xE2\x28\xA1", &lossless), "?(?");
    EXPECT_FALSE(lossless);
}
