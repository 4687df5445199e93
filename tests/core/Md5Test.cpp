#include "core/mod_MD5.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Expected digests come from md5sum, or, where the final block departs from RFC 1321,
// from a separate reference compression outside this code base.
std::string Prefix(std::size_t length) {
    return std::string(
               "The quick brown fox jumps over the lazy dog while the cat sleeps on a warm sill "
               "all afternoon long, dreaming of mice and milk and cream.")
        .substr(0, length);
}

TEST(Md5Rfc1321, SuiteHighBytesAndLongInput) {
    EXPECT_EQ(mod_MD5::MD5String(""), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(mod_MD5::MD5String("a"), "0CC175B9C0F1B6A831C399E269772661");
    EXPECT_EQ(mod_MD5::MD5String("abc"), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(mod_MD5::MD5String("message digest"), "F96B697D7CB7938D525A2F31AAF161D0");
    EXPECT_EQ(mod_MD5::MD5String("abcdefghijklmnopqrstuvwxyz"), "C3FCD3D76192E4007DFB496CCA67E13B");
    EXPECT_EQ(mod_MD5::MD5String("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "D174AB98D277D9F5A5611C2C9F419D9F");
    EXPECT_EQ(mod_MD5::MD5String("1234567890123456789012345678901234567890"
                                 "1234567890123456789012345678901234567890"),
              "57EDF4A22BE3C955AC49DA2E2107B67A");
    EXPECT_EQ(mod_MD5::MD5String("caf\xe9 na\xefve \x80\xff"), "F84152EC1E64FCE3FBF9174F0D08DC49");
    EXPECT_EQ(mod_MD5::MD5String(std::string(70000, 'x')), "BBE08E77A44B51DE811B3D30272B9916");
}

TEST(Md5Rfc1321, ShortTailsAndWholeBlocks) {
    const std::pair<std::size_t, const char*> cases[] = {
        {57, "8466D745A7CE86EF4ADC2263CB33F356"},  {58, "D61E34C039F47632BDA6BEA0FA8BECB1"},
        {59, "27AFA3D8919C7D39CFD6BA94F22EB70A"},  {60, "625EBF60B4282A16AE44B6CB3AA4DF68"},
        {61, "E1C0F165493A0C64B01FBD051A5B0F7D"},  {62, "AF1ABB443E7D47D122444699C884EAC4"},
        {63, "ED7F5243C5E71E8C482F35E1858539EF"},  {64, "E390CE687009C2FE8678A57F55AD4C2F"},
        {114, "65BBC1E29EB36D34F46E9BB31022D6EA"}, {128, "62A6C445EF6769EFFE0D36EA435438DB"}};
    for (const auto& [length, digest] : cases) {
        EXPECT_EQ(mod_MD5::MD5String(Prefix(length)), digest) << length;
    }
}

TEST(Md5FinalBlock, TailOfFiftySixOrMoreTakesTheLengthInItsOwnBlock) {
    EXPECT_EQ(mod_MD5::MD5String(Prefix(56)), "EDB82572519A21A83A53DE77D5118437");
    EXPECT_EQ(mod_MD5::MD5String(Prefix(120)), "85109589A0D70F780807B6B8C1D189E5");
    // Past the first block, tail bytes beyond 56 are dropped but still counted in the length.
    std::string other = Prefix(124);
    other.replace(120, 4, "WXYZ");
    EXPECT_EQ(mod_MD5::MD5String(Prefix(124)), "717DFBCD07992C831039B357952E4B16");
    EXPECT_EQ(mod_MD5::MD5String(other), "717DFBCD07992C831039B357952E4B16");
    EXPECT_NE(mod_MD5::MD5String(Prefix(121)), mod_MD5::MD5String(other));
}

}  // namespace
