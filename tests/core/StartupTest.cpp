#include <gtest/gtest.h>

#include <fstream>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/QuestionBank.h"
#include "core/mod_Main.h"
#include "core/mod_Question.h"
#include "core/mod_System.h"
#include "core/mod_User.h"
#include "formats/BinaryWriter.h"
#include "platform/MessageBox.h"
#include "support/SampleArchives.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;

namespace {

struct RecordingWindows : StartupWindows {
    std::vector<std::string> calls;
    void ShowSplash() override { calls.push_back("splash"); }
    void UnloadSplash() override { calls.push_back("unload splash"); }
    void ShowMainWindow() override { calls.push_back("main"); }
};

// Without an address (no System.dat to give one) the message does not ask for an email.
std::string criticalText(const std::filesystem::path& file, std::string_view email,
                         std::string_view note) {
    const std::string support =
        email.empty() ? ""
                      : "\r\n\r\nIf the problem persists, please email us at " + std::string(email);
    return "Critical Error!\r\n\r\nMissing or Invalid file : " + file.string() + std::string(note) +
           support + "\r\n\r\nThe program will now exit.";
}

std::string keptNote(const std::filesystem::path& file) {
    return "\r\n\r\nThe file was kept as : " + mod_System::SetAsidePath(file).string();
}

struct StartupTest : ::testing::Test {
    TempProgramFolder folder;
    ScriptedMessageBoxes boxes;
    RecordingWindows windows;

    void SetUp() override {
        SystemVars = {};
        UserSettings = {};
    }
    // A fresh process: nothing kept in memory from the previous start.
    void start() {
        SystemVars = {};
        UserSettings = {};
        windows.calls.clear();
        mod_Main::Main(windows);
    }
    // Exactly one critical box, naming `file`.
    void expectCritical(const std::filesystem::path& file, std::string_view email,
                        std::string_view note = {}) {
        EXPECT_EQ(boxes.shown(), (std::vector<ShownBox>{{criticalText(file, email, note),
                                                         "Critical Error!", platform::kCritical}}));
        EXPECT_TRUE(AbortFlag);
        boxes.clear();
    }
};

constexpr std::string_view kEmail = "help@test.example";

}  // namespace

TEST_F(StartupTest, FirstStartCreatesSettingsAndStatisticsAndShowsTheMainWindow) {
    WriteValidSampleData();
    start();
    boxes.expectNone();
    EXPECT_FALSE(AbortFlag);
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"splash", "unload splash", "main"}));
    EXPECT_EQ(DataKey, KeyOf(MinimalSystemVars()));
    EXPECT_EQ(SystemVars.DataKeySource, DataKey);
    EXPECT_EQ(platform::ApplicationTitle(), "TestPrep Simulator");
    EXPECT_EQ(QuestionBank.size(), 3u);
    EXPECT_TRUE(std::filesystem::exists(AppPaths::ConfigDat()));
    ASSERT_EQ(QuestionStatsTable.size(), 3u);
    EXPECT_EQ(QuestionStatsTable[2].QuestionID, 3);

    start();  // the files written just now pass their own check
    boxes.expectNone();
    EXPECT_EQ(windows.calls.back(), "main");
}

TEST_F(StartupTest, MissingSystemDatStopsBeforeAnyUserFileOrWindow) {
    WriteFile(AppPaths::ConfigDat(), BytesOf("not even signed"));
    boxes.queue(platform::kOk);
    start();
    EXPECT_EQ(boxes.shown().at(0).text,
              "Critical Error!\r\n\r\nMissing or Invalid file : " + AppPaths::SystemDat().string() +
                  "\r\n\r\nThe program will now exit.");
    expectCritical(AppPaths::SystemDat(), "");
    EXPECT_TRUE(windows.calls.empty());
    EXPECT_EQ(ReadFile(AppPaths::ConfigDat()), BytesOf("not even signed"));
}

TEST_F(StartupTest, ADamagedSystemDatIsNamedAndNeverCostsUserFiles) {
    WriteFile(AppPaths::ConfigDat(), BytesOf("kept"));
    const auto record = MinimalSystemVars();

    WriteFile(AppPaths::SystemDat(), BytesOf("not an archive"));
    boxes.queue(platform::kOk);
    start();
    expectCritical(AppPaths::SystemDat(), "");

    WriteFile(AppPaths::SystemDat(), Archive({{"main_Logo.gif", BytesOf("GIF")}}));
    boxes.queue(platform::kOk);
    start();
    expectCritical(AppPaths::SystemDat(), "");

    auto shortKey = record;
    shortKey.DataKeySource = "too short";
    WriteSystemDat(shortKey);
    boxes.queue(platform::kOk);
    start();
    expectCritical(AppPaths::SystemDat(), kEmail);

    EXPECT_TRUE(std::filesystem::exists(AppPaths::SystemDat()));
    EXPECT_EQ(ReadFile(AppPaths::ConfigDat()), BytesOf("kept"));
    EXPECT_TRUE(windows.calls.empty());
}

TEST_F(StartupTest, ASettingsFileOfAnotherProductIsSetAsideAndTheNextStartUsesDefaults) {
    WriteValidSampleData();
    start();
    SystemVars.ProductCode = "OTHER";
    UserSettings.SkipStopTimerConfirm = true;
    ASSERT_TRUE(mod_User::SaveConfig());
    const auto refused = ReadFile(AppPaths::ConfigDat());
    WriteFile(mod_System::SetAsidePath(AppPaths::ConfigDat()), BytesOf("an older one"));

    boxes.queue(platform::kOk);
    start();
    expectCritical(AppPaths::ConfigDat(), kEmail, keptNote(AppPaths::ConfigDat()));
    EXPECT_EQ(mod_System::LastSignedFileError(), mod_System::SignedFileError::kOtherProduct);
    EXPECT_FALSE(std::filesystem::exists(AppPaths::ConfigDat()));
    EXPECT_EQ(ReadFile(mod_System::SetAsidePath(AppPaths::ConfigDat())), refused);
    EXPECT_TRUE(windows.calls.empty());

    start();
    boxes.expectNone();
    EXPECT_FALSE(UserSettings.SkipStopTimerConfirm);
    EXPECT_EQ(windows.calls.back(), "main");
}

TEST_F(StartupTest, BankFailuresNameDataDatWhichIsNeverDeleted) {
    const auto record = MinimalSystemVars();
    WriteSystemDat(record);
    boxes.queue(platform::kOk);
    start();  // no Data.dat
    expectCritical(AppPaths::DataDat(), kEmail);
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"splash", "unload splash"}));

    auto otherKey = record;
    otherKey.DataKeySource = "ZYXWVUTSRQPONMLKJIHGFEDCBA";
    WriteDataDat(otherKey, JoinQuestions({Question(1, 51, "Routing")}));
    boxes.queue(platform::kOk);
    start();  // digest made under another key
    expectCritical(AppPaths::DataDat(), kEmail);
    EXPECT_TRUE(std::filesystem::exists(AppPaths::DataDat()));

    WriteDataDat(record, JoinQuestions({Question(1, 51, "Routing"),
                                        "2\x1F"
                                        "51\x1Fshort"}));
    boxes.queue(platform::kOk);
    start();
    expectCritical(AppPaths::DataDat(), kEmail);
    EXPECT_TRUE(std::filesystem::exists(AppPaths::DataDat()));
    EXPECT_EQ(windows.calls.back(), "unload splash");
}

TEST_F(StartupTest, BrokenStatisticsAreSetAsideAndRecreatedWithZeroCounts) {
    WriteValidSampleData();
    start();
    QuestionStatsTable[0].CorrectCount = 5;
    ASSERT_TRUE(mod_Question::WriteStatistics());

    auto bytes = ReadFile(AppPaths::ResourceDat());
    bytes.back() ^= 0x01;  // one bit of the signature
    WriteFile(AppPaths::ResourceDat(), bytes);
    boxes.queue(platform::kOk);
    start();
    expectCritical(AppPaths::ResourceDat(), kEmail, keptNote(AppPaths::ResourceDat()));
    EXPECT_EQ(mod_System::LastSignedFileError(), mod_System::SignedFileError::kBadSignature);
    EXPECT_FALSE(std::filesystem::exists(AppPaths::ResourceDat()));
    EXPECT_EQ(ReadFile(mod_System::SetAsidePath(AppPaths::ResourceDat())), bytes);

    start();
    boxes.expectNone();
    EXPECT_EQ(QuestionStatsTable[0].CorrectCount, 0);
    EXPECT_TRUE(std::filesystem::exists(AppPaths::ResourceDat()));
}

TEST_F(StartupTest, StatisticsOfABankOfAnotherSizeFailOnce) {
    WriteValidSampleData();
    start();
    const auto record = MinimalSystemVars();
    WriteDataDat(record, JoinQuestions({Question(1, 51, "Routing"), Question(2, 51, "Routing")}));
    boxes.queue(platform::kOk);
    start();
    expectCritical(AppPaths::ResourceDat(), kEmail, keptNote(AppPaths::ResourceDat()));
    EXPECT_EQ(mod_System::LastSignedFileError(), mod_System::SignedFileError::kNoSignature);
    start();
    boxes.expectNone();
    EXPECT_EQ(QuestionStatsTable.size(), 2u);
}

TEST_F(StartupTest, AStaleEngineTmpGoesWithoutWritingThroughALink) {
    WriteValidSampleData();
    WriteFile(AppPaths::EngineTmp(), formats::Bytes(100000, 'x'));
    start();
    EXPECT_FALSE(std::filesystem::exists(AppPaths::EngineTmp()));

    const auto statistics = ReadFile(AppPaths::ResourceDat());
    std::filesystem::create_symlink(AppPaths::ResourceDat(), AppPaths::EngineTmp());
    start();
    EXPECT_FALSE(std::filesystem::is_symlink(AppPaths::EngineTmp()));
    std::filesystem::create_hard_link(AppPaths::ResourceDat(), AppPaths::EngineTmp());
    start();
    EXPECT_FALSE(std::filesystem::exists(AppPaths::EngineTmp()));
    boxes.expectNone();
    EXPECT_EQ(ReadFile(AppPaths::ResourceDat()), statistics);

    {
        std::ofstream sparse(AppPaths::EngineTmp(), std::ios::binary);
        sparse.seekp((std::int64_t{64} << 30) - 1);  // 64 GiB, nearly all of it a hole
        sparse.put('\0');
    }
    start();
    EXPECT_FALSE(std::filesystem::exists(AppPaths::EngineTmp()));
    EXPECT_EQ(windows.calls.back(), "main");
}

TEST_F(StartupTest, ABitFlippedInTheBankNamesDataDatAndCostsNoUserFile) {
    const auto record = MinimalSystemVars();
    WriteSystemDat(record);
    std::string bank = JoinQuestions({Question(1, 51, "Routing"), Question(2, 51, "Routing")});
    WriteDataDat(record, bank);
    start();
    const auto statistics = ReadFile(AppPaths::ResourceDat());

    // The bank would be cut to half a question: the statistics would no longer fit.
    bank[bank.find('\x1E') - 3] = '\0';
    WriteDataDat(record, bank);
    boxes.queue(platform::kOk);
    start();
    expectCritical(AppPaths::DataDat(), kEmail);
    EXPECT_EQ(ReadFile(AppPaths::ResourceDat()), statistics);
}

TEST_F(StartupTest, OversizedSettingsAreRefusedUnreadAndSetAside) {
    WriteValidSampleData();
    start();
    auto padded = ReadFile(AppPaths::ConfigDat());
    padded.resize(padded.size() + mod_System::kMaxSignatureBytes);  // still valid, but padded
    WriteFile(AppPaths::ConfigDat(), padded);
    boxes.queue(platform::kOk);
    start();
    expectCritical(AppPaths::ConfigDat(), kEmail, keptNote(AppPaths::ConfigDat()));
    EXPECT_EQ(mod_System::LastSignedFileError(), mod_System::SignedFileError::kTooLarge);

    {
        std::ofstream sparse(AppPaths::ConfigDat(), std::ios::binary);
        sparse.seekp((std::int64_t{64} << 30) - 1);  // 64 GiB, nearly all of it a hole
        sparse.put('\0');
    }
    boxes.queue(platform::kOk);
    start();
    expectCritical(AppPaths::ConfigDat(), kEmail, keptNote(AppPaths::ConfigDat()));
    EXPECT_EQ(mod_System::LastSignedFileError(), mod_System::SignedFileError::kTooLarge);
}

TEST_F(StartupTest, AFolderInTheWayOfAUserFileIsNamed) {
    WriteValidSampleData();
    const std::string note = "\r\n\r\nA folder of that name is in the way: move or rename it.";
    for (const auto& file : {AppPaths::ConfigDat(), AppPaths::ResourceDat()}) {
        std::filesystem::create_directories(file / "inside");
        boxes.queue(platform::kOk);
        start();
        expectCritical(file, kEmail, note);
        EXPECT_TRUE(std::filesystem::is_directory(file / "inside"));
        std::filesystem::remove_all(file);
    }
    start();
    boxes.expectNone();
}
