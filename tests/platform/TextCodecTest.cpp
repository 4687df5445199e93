#include <gtest/gtest.h>

#include <string>

#include "platform/TextCodec.h"

namespace {

using platform::fromQt;
using platform::toQt;

// Each byte is one character and comes back; the five bytes the code page leaves undefined keep
// their C1 control.
TEST(TextCodec, EveryByteRoundTripsThroughOneCharacter) {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    const QString text = toQt(bytes);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(fromQt(text), bytes);
    for (const char b : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'})
        EXPECT_EQ(toQt(std::string(1, b))[0].unicode(), static_cast<unsigned char>(b));
}

TEST(TextCodec, TypographicCharactersMapBothWays) {
    EXPECT_EQ(toQt("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(fromQt(QString(QChar(0x20AC))), "\x80");
    EXPECT_EQ(toQt("\x93Quote\x94 \x96 caf\xE9"), QString::fromUtf8("“Quote” – café"));
    EXPECT_EQ(fromQt(QString::fromUtf8("“Quote” – café")), "\x93Quote\x94 \x96 caf\xE9");
}

TEST(TextCodec, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
    EXPECT_EQ(fromQt(QString::fromUtf8("a\u03A9b")), "a?b");
    // U+0080 is a C1 control the code page replaced by the euro sign.
    EXPECT_EQ(fromQt(QString(QChar(0x0080))), "?");
    // A character beyond the BMP is a surrogate pair, still one character.
    EXPECT_EQ(fromQt(QString::fromUtf8("x\U0001F600y")), "x?y");
    EXPECT_EQ(fromQt(QString(QChar(0xD800)) + u'z'), "?z");
}

TEST(TextCodec, EmbeddedNulAndEmptyText) {
    EXPECT_EQ(toQt(std::string_view("a\0b", 3)).size(), 3);
    EXPECT_EQ(fromQt(toQt(std::string_view("a\0b", 3))), std::string("a\0b", 3));
    EXPECT_TRUE(toQt({}).isEmpty());
    EXPECT_EQ(fromQt(QString()), "");
}

}  // namespace
