#include <gtest/gtest.h>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/cls_Crypt_RC4.h"
#include "core/mod_GenKey.h"
#include "core/mod_MD5.h"
#include "core/mod_System.h"
#include "mainscreen/CustomExamFile.h"
#include "support/SampleArchives.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;
using formats::Bytes;

namespace {

struct CustomExamFileTest : ::testing::Test {
    TempProgramFolder folder;
    ScriptedMessageBoxes boxes;

    void SetUp() override {
        AbortFlag = false;
        SystemVars = MinimalSystemVars();
        DataKey = KeyOf(SystemVars);
        CustomExamTable.clear();
    }
    void TearDown() override {
        AbortFlag = false;
        CustomExamTable.clear();
    }

    static CustomExam diagnostic() {
        CustomExam record;
        record.Code = 21;
        record.Groups = std::vector<std::int16_t>{21};
        record.Objectives =
            std::vector<ObjectiveCount>{{true, "Routing", 2, 0, 1}, {false, "", 3, 4, 5}};
        record.Timer = true;
        record.Minutes = 45;
        record.Smart1 = true;
        record.Smart1Count = 2;
        record.AnswerMode = 1;
        record.Save = true;
        return record;
    }

    // Rewrites the header's extra text of the file on disk, keeping a valid signature.
    static void resign(const std::string& extraText, const Bytes& body) {
        formats::BinaryWriter out;
        out.writeBytes(body);
        ASSERT_TRUE(mod_System::WriteSignedFile(AppPaths::CustomDat(), extraText, out));
    }
};

// Bytes by hand: 16- and 32-bit little-endian values, texts with their 16-bit length.
struct Hand {
    formats::BinaryWriter out;
    Hand& i16(std::initializer_list<int> values) {
        for (const int v : values)
            out.writeInt16(static_cast<std::int16_t>(v));
        return *this;
    }
    Hand& i32(std::int32_t value) {
        out.writeInt32(value);
        return *this;
    }
    Hand& text(std::string_view value) {
        out.writeString(value);
        return *this;
    }
    // One dimension, `count` elements, lower bound 0.
    Hand& list(std::int32_t count) { return i16({1}).i32(count).i32(0); }
};

}  // namespace

TEST_F(CustomExamFileTest, WritesTheDocumentedBytesWithoutTheCustomTabRecord) {
    CustomExam customTab;
    customTab.Code = CustomExamFile::kCustomPageCode;
    CustomExam trial;
    trial.Code = 11;
    trial.Groups = std::vector<std::int16_t>{11, 46};
    trial.Objectives = std::vector<ObjectiveCount>{};
    trial.Randomize = true;
    CustomExamTable = {diagnostic(), customTab, trial};

    mod_GenKey::SeedForTesting(11);
    const std::string check = mod_MD5::MD5String(mod_GenKey::GenKey(8));
    mod_GenKey::SeedForTesting(11);
    ASSERT_TRUE(CustomExamFile::WriteCustomExamFile());

    const std::string path = AppPaths::CustomDat().string();
    Hand expected;
    expected.text(path).text("TP-1").text("1").text(check);  // "1": the last index written
    expected.i32(21).list(1).i16({21}).list(2);
    expected.i16({-1}).text("Routing").i16({2, 0, 1}).i16({0}).text("").i16({3, 4, 5});
    // Randomize, Timer, Minutes, SmartMode, Smart0, Smart0Count, Smart1, Smart1Count,
    // ShowScore, ShowAnswers, AnswerMode, Save.
    expected.i16({0, -1, 45, 0, 0, 0, -1, 2, 0, 0, 1, -1});
    expected.i32(11).list(2).i16({11, 46}).list(0).i16({-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    expected.text("").text("").text("");
    expected.text(cls_Crypt_RC4().EncryptString(path + "TP-1" + check + "1", DataKey));
    EXPECT_EQ(ReadFile(AppPaths::CustomDat()), expected.out.bytes());

    CustomExamTable.clear();
    ASSERT_TRUE(CustomExamFile::ReadCustomExamFile());
    EXPECT_EQ(CustomExamTable, (std::vector<CustomExam>{diagnostic(), trial}));
}

TEST_F(CustomExamFileTest, DamagedFilesGoToTheCriticalErrorAndAreSetAside) {
    CustomExamTable = {diagnostic()};
    EXPECT_TRUE(CustomExamFile::ReadCustomExamFile());  // no file yet: nothing changes
    EXPECT_EQ(CustomExamTable.size(), 1u);

    formats::BinaryWriter two;
    CustomExamFile::WriteRecord(two, diagnostic());
    CustomExamFile::WriteRecord(two, diagnostic());
    Hand hugeList;
    hugeList.i32(21).list(1).i16({21}).list(1'000'000'000);

    const std::string ownKey = DataKey;
    struct Case {
        const char* what;
        std::string extraText;
        Bytes body;
        std::string key;
        mod_System::SignedFileError error;
        formats::ReadError bodyError = formats::ReadError::kNone;
    };
    using formats::ReadError;
    using mod_System::SignedFileError;
    const Case cases[] = {
        // The third record's lists are read from the footer's bytes.
        {"a header count above the records", "2", two.bytes(), ownKey, SignedFileError::kBadBody,
         ReadError::kCountBeyondData},
        {"a header count that is no number", "one", two.bytes(), ownKey, SignedFileError::kBadBody,
         ReadError::kBadRecordIndex},
        {"a negative header count", "-1", two.bytes(), ownKey, SignedFileError::kBadBody,
         ReadError::kBadRecordIndex},
        // One more, times the smallest record size (38 bytes), wraps to 2 in 64 bits: once it
        // passed the size check and made the reader throw.
        {"a header count beyond 16 bits", "485440633518672410", two.bytes(), ownKey,
         SignedFileError::kBadBody, ReadError::kBadRecordIndex},
        {"a header count the bytes cannot hold", "32767", two.bytes(), ownKey,
         SignedFileError::kBadBody, ReadError::kCountBeyondData},
        {"a list longer than the file", "0", hugeList.out.bytes(), ownKey,
         SignedFileError::kBadBody, ReadError::kCountBeyondData},
        {"another product's key", "1", two.bytes(), "xyz-abcd", SignedFileError::kBadSignature},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AbortFlag = false;
        CustomExamTable = {diagnostic()};
        DataKey = ownKey;
        resign(c.extraText, c.body);
        DataKey = c.key;
        boxes.clear();
        boxes.queue(platform::kOk);
        EXPECT_FALSE(CustomExamFile::ReadCustomExamFile());
        EXPECT_TRUE(AbortFlag);
        EXPECT_EQ(mod_System::LastSignedFileError(), c.error);
        EXPECT_EQ(mod_System::LastBodyError(), c.bodyError);
        EXPECT_FALSE(std::filesystem::exists(AppPaths::CustomDat()));
        EXPECT_TRUE(std::filesystem::exists(mod_System::SetAsidePath(AppPaths::CustomDat())));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_NE(boxes.shown()[0].text.find(AppPaths::CustomDat().string()), std::string::npos);
        EXPECT_EQ(CustomExamTable.size(), 1u);
    }
}
