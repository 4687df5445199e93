#include <gtest/gtest.h>

#include <string>

#include "formats/Windows1252.h"
#include "platform/TextCodec.h"

namespace {

using platform::fromQt;
using platform::toQt;

std::string allBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

TEST(TextCodec, EveryByteRoundTripsThroughItsCodePoint) {
    const std::string bytes = allBytes();
    const QString text = toQt(bytes);
    ASSERT_EQ(text.size(), 256);
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(text[b].unicode(), formats::Windows1252ToUnicode(static_cast<unsigned char>(b)));
    }
    EXPECT_EQ(fromQt(text), bytes);
    // The five bytes the code page leaves undefined keep their C1 control.
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
