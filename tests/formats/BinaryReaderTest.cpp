#include <gtest/gtest.h>

#include <limits>

#include "formats/BinaryReader.h"
#include "formats/BinaryWriter.h"

using formats::BinaryReader;
using formats::BinaryWriter;
using formats::Bytes;

TEST(BinaryReaderTest, ReadsLittleEndianFieldsFromHandMadeBytes) {
    const Bytes bytes = {0x34, 0x12,                                      // int16 0x1234
                         0xFE, 0xFF, 0xFF, 0xFF,                          // int32 -2
                         0xFF, 0xFF,                                      // True
                         0x02, 0x00,                                      // non-zero reads as True
                         0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0xE2, 0x40,  // date 38400.0
                         0x03, 0x00, 'a',  0xE9, 'c'};                    // "a\xE9c"
    BinaryReader r(bytes);
    EXPECT_EQ(r.readInt16(), 0x1234);
    EXPECT_EQ(r.readInt32(), -2);
    EXPECT_TRUE(r.readBool());
    EXPECT_TRUE(r.readBool());
    EXPECT_DOUBLE_EQ(r.readDate(), 38400.0);
    EXPECT_EQ(r.readString(),
              "a\xE9"
              "c");
    EXPECT_TRUE(r.atEnd());
    EXPECT_FALSE(r.failed());
}

TEST(BinaryReaderTest, ReadingPastTheEndGivesZerosAndEmptyTexts) {
    const Bytes bytes = {0x05, 0x00, 'a', 'b'};  // a length of 5 with only 2 bytes left
    BinaryReader r(bytes);
    EXPECT_EQ(r.readString(), std::string("ab\0\0\0", 5));
    EXPECT_EQ(r.readInt32(), 0);
    EXPECT_EQ(r.readString(), "");
    EXPECT_FALSE(r.readBool());
    EXPECT_FALSE(r.failed());  // not an error by itself
}

TEST(BinaryReaderTest, ListDescriptorsKeepNeverDimensionedApartFromEmpty) {
    BinaryWriter w;
    w.writeStringList(std::nullopt);
    w.writeStringList(std::vector<std::string>{});
    w.writeStringList(std::vector<std::string>{"x", "", "yz"});
    EXPECT_EQ(w.bytes(), (Bytes{0, 0,                               // never dimensioned
                                1, 0, 0,   0, 0, 0, 0, 0,   0,  0,  // empty
                                1, 0, 3,   0, 0, 0, 0, 0,   0,  0,  // three elements
                                1, 0, 'x', 0, 0, 2, 0, 'y', 'z'}));
    BinaryReader r(w.bytes());
    EXPECT_FALSE(r.readStringList().has_value());
    EXPECT_EQ(r.readStringList(), std::vector<std::string>{});
    EXPECT_EQ(r.readStringList(), (std::vector<std::string>{"x", "", "yz"}));
    EXPECT_FALSE(r.failed());
}

TEST(BinaryReaderTest, CountsThatCannotFitFailWithoutAllocatingAndSayWhy) {
    // 0x7FFFFFFF strings cannot follow in 6 bytes.
    const Bytes huge = {1, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0, 1, 0, 'a'};
    const Bytes negative = {1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
    const Bytes twoDimensions = {2, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const Bytes negativeDimensions = {0xFF, 0xFF};
    const Bytes oneBased = {1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0};
    const std::pair<Bytes, formats::ReadError> cases[] = {
        {huge, formats::ReadError::kCountBeyondData},
        {negative, formats::ReadError::kNegativeCount},
        {twoDimensions, formats::ReadError::kListShape},
        {oneBased, formats::ReadError::kListShape},
        {negativeDimensions, formats::ReadError::kNegativeCount},
    };
    for (const auto& [bytes, reason] : cases) {
        BinaryReader r(bytes);
        EXPECT_FALSE(r.readStringList().has_value());
        EXPECT_EQ(r.error(), reason);
    }
    BinaryReader r(huge);
    EXPECT_FALSE(r.canHold(std::numeric_limits<std::int64_t>::max() / 2, 4));
    EXPECT_FALSE(r.canHold(std::numeric_limits<std::int64_t>::max(), 2));
    // 384307168202282325 x 48 wraps to 32 in 64 bits: the check must not be fooled.
    EXPECT_FALSE(r.canHold(384307168202282325, 48));
    EXPECT_FALSE(r.canHold(-1, 1));
    EXPECT_TRUE(r.canHold(13, 1));
    EXPECT_FALSE(r.canHold(14, 1));
    EXPECT_TRUE(r.canHold(6, 2));

    r.fail(formats::ReadError::kCutShort);
    r.fail(formats::ReadError::kListShape);
    EXPECT_EQ(r.error(), formats::ReadError::kCutShort);  // the first reason stands
}

TEST(BinaryWriterTest, RefusesStringsLongerThanASixteenBitLength) {
    BinaryWriter ok;
    ok.writeString(std::string(65535, 'a'));
    EXPECT_FALSE(ok.failed());
    EXPECT_EQ(ok.bytes().size(), 65537u);
    EXPECT_EQ(ok.bytes()[0], 0xFF);
    EXPECT_EQ(ok.bytes()[1], 0xFF);

    BinaryWriter tooLong;
    tooLong.writeString(std::string(65536, 'a'));
    EXPECT_TRUE(tooLong.failed());
}

TEST(BinaryWriterTest, FixedStringsArePaddedWithSpacesOrCut) {
    BinaryWriter w;
    w.writeFixedString("ab", 4);
    w.writeFixedString("abcdef", 3);
    EXPECT_EQ(w.bytes(), (Bytes{'a', 'b', ' ', ' ', 'a', 'b', 'c'}));
}

TEST(BinaryWriterTest, RoundTripsEveryFieldKind) {
    BinaryWriter w;
    w.writeInt16(-32768);
    w.writeInt32(std::numeric_limits<std::int32_t>::min());
    w.writeBool(true);
    w.writeBool(false);
    w.writeDate(46000.75);
    w.writeString(std::string("\0\xFF", 2));
    BinaryReader r(w.bytes());
    EXPECT_EQ(r.readInt16(), -32768);
    EXPECT_EQ(r.readInt32(), std::numeric_limits<std::int32_t>::min());
    EXPECT_TRUE(r.readBool());
    EXPECT_FALSE(r.readBool());
    EXPECT_EQ(r.readDate(), 46000.75);
    EXPECT_EQ(r.readString(), std::string("\0\xFF", 2));
    EXPECT_TRUE(r.atEnd());
}
