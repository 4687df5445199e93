#include <gtest/gtest.h>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/ImageStore.h"
#include "core/mod_System.h"
#include "support/SampleArchives.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;
using formats::Bytes;

TEST(SystemVarsTest, ReadsAHandMadeRecordInFileOrder) {
    // Text0 "", ProductName "Net", ProductCode "N-1", then the file ends.
    const Bytes bytes = {0, 0, 3, 0, 'N', 'e', 't', 3, 0, 'N', '-', '1'};
    const auto record = mod_System::ReadSystemVars(bytes);
    EXPECT_EQ(record.Text0, "");
    EXPECT_EQ(record.ProductName, "Net");
    EXPECT_EQ(record.ProductCode, "N-1");
    EXPECT_EQ(record.ProductSubtitle, "");  // past the end: empty, never an error
    EXPECT_EQ(record.TimeLimits, (std::array<std::int16_t, 5>{}));
}

TEST(SystemVarsTest, TheFileFormHas484StringsAndFiveLimits) {
    SystemVarsRecord record;
    record.TimeLimits = {1, 2, 3, 4, -5};
    record.LevelNames.at(1) = "Beginner";
    record.SwitchBoardCaptions.at(11) = "last";
    const Bytes bytes = mod_System::WriteSystemVars(record);
    EXPECT_EQ(bytes.size(), 484u * 2 + 10 + 8 + 4);
    const auto back = mod_System::ReadSystemVars(bytes);
    EXPECT_EQ(back.TimeLimits, record.TimeLimits);
    EXPECT_EQ(back.LevelNames(1), "Beginner");
    EXPECT_EQ(back.SwitchBoardCaptions(11), "last");
    // Indexes outside a table read as empty instead of failing.
    EXPECT_EQ(back.LevelNames(0), "");
    EXPECT_EQ(back.GroupNames(100), "");
    EXPECT_EQ(back.GroupNames(-1), "");
}

TEST(SystemVarsTest, ImageSlotsMatchTrimmedCaseSensitiveNames) {
    TempProgramFolder folder;
    ScriptedMessageBoxes boxes;
    AbortFlag = false;
    WriteSystemDat(MinimalSystemVars(), {{"  main_Logo.gif  ", BytesOf("logo")},
                                         {"Splash.jpg", BytesOf("wrong case")},
                                         {"splash.jpg", BytesOf("first")},
                                         {"splash.jpg", BytesOf("second")},
                                         {"unknown.gif", BytesOf("ignored")}});
    ImageStore = {};
    mod_System::LoadSystemVars();
    EXPECT_FALSE(AbortFlag);
    EXPECT_EQ(SystemVars.ProductName, "TestPrep");
    EXPECT_EQ(ImageStore[kLogoImageSlot].Name, "main_Logo.gif");
    EXPECT_EQ(ImageStore[kLogoImageSlot].Bytes, BytesOf(std::string("logo\0", 5)));
    EXPECT_EQ(ImageStore[kSplashImageSlot].Bytes, BytesOf(std::string("second\0", 7)));
    for (const int empty : {5, 9, 21, 29, 39, 42, 43})
        EXPECT_TRUE(ImageStore[empty].Name.empty());
}

TEST(DataKeyTest, TakesSevenLowerCasedCharactersWithAHyphenFourth) {
    const auto key = MakeDataKey("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->size(), 8u);
    EXPECT_EQ((*key)[3], '-');
    EXPECT_EQ(*key, "dkm-bqjt");
    EXPECT_FALSE(MakeDataKey("ABCDEFGHIJKLMNOPQRS").has_value());  // one short
    // Windows-1252 capitals beyond ASCII: \xC9 and \x8A lower to \xE9 and \x9A.
    EXPECT_EQ(MakeDataKey("ABC\xC9"
                          "EFGHIJ\x8A"
                          "LMNOPQRSTUVWXYZ"),
              "\xE9\x9A"
              "m-bqjt");
}
