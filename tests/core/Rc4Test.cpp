#include "core/cls_Crypt_RC4.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "support/TempProgramFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Hex(std::string_view bytes) {
    std::string hex;
    for (const char c : bytes) {
        hex += "0123456789ABCDEF"[static_cast<std::uint8_t>(c) >> 4];
        hex += "0123456789ABCDEF"[c & 0x0f];
    }
    return hex;
}

std::string Encrypt(std::string_view plain, std::string_view key) {
    return Hex(cls_Crypt_RC4{}.EncryptString(plain, key));
}

Bytes Sample(std::size_t length) {
    Bytes bytes(length);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{3});
    return bytes;
}

std::vector<std::int32_t> Reports(Bytes& bytes) {
    cls_Crypt_RC4 rc4;
    std::vector<std::int32_t> reports;
    rc4.Progress = [&reports](std::int32_t percent) { reports.push_back(percent); };
    rc4.EncryptByte(bytes, "progress");
    return reports;
}

TEST(Rc4Vectors, PublishedCiphertextsAndKeystreams) {
    EXPECT_EQ(Encrypt("Plaintext", "Key"), "BBF316E8D940AF0AD3");
    EXPECT_EQ(Encrypt("pedia", "Wiki"), "1021BF0420");
    EXPECT_EQ(Encrypt("Attack at dawn", "Secret"), "45A01F645FC35B383552544B9BF5");
    // RFC 6229 at offsets 0 and 1024; the second key has bytes above 0x7F.
    const std::string stream = Encrypt(std::string(1040, '\0'), "\x01\x02\x03\x04\x05");
    EXPECT_EQ(stream.substr(0, 32), "B2396305F03DC027CCC3524A0A1118A8");
    EXPECT_EQ(stream.substr(2048), "30ABBCC7C20B01609F23EE2D5F6BB7DF");
    EXPECT_EQ(Encrypt(std::string(16, '\0'), "\x83\x32\x22\x77\x2a"),
              "80AD97BDC973DF8A2E879E92A497EFDA");
}

TEST(Rc4Cipher, LatestKeyRulesTheKeystreamRestartsOnEveryCallAndNulBytesCount) {
    cls_Crypt_RC4 rc4;
    EXPECT_EQ(rc4.EncryptString("unchanged"), "unchanged");
    const std::string withKey = Encrypt("Plaintext", "Key");
    rc4.Key("Key");
    rc4.Key("Key");
    EXPECT_EQ(Hex(rc4.EncryptString("Plaintext")), withKey);
    rc4.Key("Wiki");
    EXPECT_EQ(Hex(rc4.EncryptString("Plaintext", "Key")), withKey);
    EXPECT_EQ(Hex(rc4.EncryptString("Plaintext", "")), withKey);
    EXPECT_NE(Hex(rc4.EncryptString("Plaintext", "key")), withKey);
    // No bytes to schedule over: back to the state of a new object.
    rc4.Key("");
    EXPECT_EQ(rc4.EncryptString("unchanged"), "unchanged");

    const std::string plain("a\0b\0c", 5);
    const std::string cipher = rc4.EncryptString(plain, std::string("k\0y", 3));
    EXPECT_EQ(Hex(cipher), "6805EE1051");
    EXPECT_EQ(rc4.EncryptString(plain), cipher);
    EXPECT_EQ(rc4.DecryptString(cipher), plain);
}

// Nothing in the program listens; the percentages only have to follow the rounding rule and
// listening must not change the bytes.
TEST(Rc4Progress, HalfwayThresholdsRoundToEvenAndEmptyInputOnlyEnds) {
    // With 50 bytes many thresholds fall on a half; rounding halves up would go 30, 34, 38.
    Bytes fifty = Sample(50);
    Bytes expected = fifty;
    cls_Crypt_RC4{}.EncryptByte(expected, "progress");
    EXPECT_EQ(Reports(fifty),
              (std::vector<std::int32_t>{0,  4,  8,  12, 16, 20, 24, 28, 30, 32, 36, 40, 44, 48,
                                         52, 56, 57, 60, 64, 68, 72, 76, 80, 84, 88, 92, 96, 100}));
    EXPECT_EQ(fifty, expected);
    Bytes none;
    EXPECT_EQ(Reports(none), std::vector<std::int32_t>{100});
}

class Rc4File : public ::testing::Test {
protected:
    testsupport::TempProgramFolder folder_;
    std::filesystem::path source_ = folder_.path() / "plain.bin";
    std::filesystem::path cipher_ = folder_.path() / "cipher.bin";
    std::filesystem::path back_ = folder_.path() / "back.bin";
};

TEST_F(Rc4File, RoundTripsThroughFilesReplacingTheTarget) {
    const Bytes plain = Sample(5000);
    testsupport::WriteFile(source_, plain);
    testsupport::WriteFile(cipher_, Bytes(9000, 0xaa));
    EXPECT_FALSE(cls_Crypt_RC4{}.EncryptFile(source_, cipher_, "file key"));
    Bytes expected = plain;
    cls_Crypt_RC4{}.EncryptByte(expected, "file key");
    EXPECT_EQ(testsupport::ReadFile(cipher_), expected);
    EXPECT_FALSE(cls_Crypt_RC4{}.DecryptFile(cipher_, back_, "file key"));
    EXPECT_EQ(testsupport::ReadFile(back_), plain);
}

TEST_F(Rc4File, MissingOrEmptySourceIsReportedAndNothingIsWritten) {
    testsupport::WriteFile(cipher_, {1, 2, 3});
    testsupport::WriteFile(source_, {});
    cls_Crypt_RC4 rc4;
    for (const auto& source : {folder_.path() / "missing.bin", source_}) {
        for (const auto& dest : {cipher_, back_}) {
            for (const auto& error :
                 {rc4.EncryptFile(source, dest, "k"), rc4.DecryptFile(source, dest, "k")}) {
                ASSERT_TRUE(error) << source;
                EXPECT_EQ(error->number, static_cast<std::int32_t>(0x80040000u));
                EXPECT_EQ(error->description,
                          "Error in Skipjack EncryptFile procedure (Source file does not exist).");
            }
        }
    }
    EXPECT_EQ(testsupport::ReadFile(cipher_), (Bytes{1, 2, 3}));
    EXPECT_FALSE(std::filesystem::exists(back_));
}

}  // namespace
