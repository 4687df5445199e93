#include <gtest/gtest.h>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/mod_GenKey.h"
#include "core/mod_MD5.h"
#include "core/mod_System.h"
#include "core/mod_User.h"
#include "formats/BinaryWriter.h"
#include "support/SampleArchives.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;
using formats::Bytes;

namespace {

struct SignedFileTest : ::testing::Test {
    TempProgramFolder folder;
    ScriptedMessageBoxes boxes;

    void SetUp() override {
        AbortFlag = false;
        SystemVars = {};
        SystemVars.ProductCode = "TP-1";
        SystemVars.SupportEmail = "help@test.example";
        DataKey = "abc-defg";
        UserSettings = {};
    }
    void TearDown() override { AbortFlag = false; }

    bool readBack(const std::filesystem::path& path, std::size_t bodyBytes) {
        return mod_System::ReadSignedFile(path,
                                          [&](formats::BinaryReader& in) { in.skip(bodyBytes); }) &&
               mod_System::IsFileSignatureValid();
    }
};

void appendString(Bytes& out, std::string_view text) {
    out.push_back(static_cast<std::uint8_t>(text.size() & 0xFF));
    out.push_back(static_cast<std::uint8_t>(text.size() >> 8));
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

TEST_F(SignedFileTest, ConfigDatHasTheDocumentedBytes) {
    mod_GenKey::SeedForTesting(7);
    const std::string random = mod_GenKey::GenKey(8);
    mod_GenKey::SeedForTesting(7);
    UserSettings.SkipStopTimerConfirm = true;
    ASSERT_TRUE(mod_User::SaveConfig());

    const std::string path = AppPaths::ConfigDat().string();
    const std::string check = mod_MD5::MD5String(random);
    ASSERT_EQ(check.size(), 32u);
    Bytes expected;
    appendString(expected, path);
    appendString(expected, "TP-1");
    appendString(expected, "");
    appendString(expected, check);
    expected.insert(expected.end(), {0, 0, 0xFF, 0xFF, 0, 0, 0, 0});  // the stop-timer flag second
    appendString(expected, "");
    appendString(expected, "");
    appendString(expected, "");
    cls_Crypt_RC4 cipher;
    appendString(expected, cipher.EncryptString(path + "TP-1" + check, "abc-defg"));
    EXPECT_EQ(ReadFile(AppPaths::ConfigDat()), expected);

    UserSettings = {};
    mod_User::LoadConfig();
    EXPECT_FALSE(AbortFlag);
    EXPECT_TRUE(UserSettings.SkipStopTimerConfirm);
    EXPECT_FALSE(UserSettings.SkipResetTimerConfirm);
}

TEST_F(SignedFileTest, TheCheckRejectsEditsOtherProductsAndSwappedFields) {
    mod_System::MakeFileSignature("p", "5");
    EXPECT_TRUE(mod_System::IsFileSignatureValid());

    std::swap(SignatureHeader.ExtraText, SignatureHeader.CheckText);
    EXPECT_FALSE(mod_System::IsFileSignatureValid());
    std::swap(SignatureHeader.ExtraText, SignatureHeader.CheckText);

    SignatureFooter.CheckText.clear();
    EXPECT_FALSE(mod_System::IsFileSignatureValid());

    mod_System::MakeFileSignature("p", "");
    SystemVars.ProductCode = "OTHER";
    EXPECT_FALSE(mod_System::IsFileSignatureValid());
}

TEST_F(SignedFileTest, FilesPassWhenMovedAndEachWriteGetsAFreshSignature) {
    formats::BinaryWriter body;
    body.writeInt32(42);
    const auto a = folder.path() / "Data" / "a.dat";
    ASSERT_TRUE(mod_System::WriteSignedFile(a, "", body));
    const std::string firstCheck = SignatureHeader.CheckText;
    ASSERT_TRUE(mod_System::WriteSignedFile(a, "", body));
    EXPECT_NE(SignatureHeader.CheckText, firstCheck);

    const auto moved = folder.path() / "elsewhere.dat";
    std::filesystem::copy_file(a, moved);
    EXPECT_TRUE(readBack(moved, 4));
    EXPECT_FALSE(readBack(moved, 3));  // a body of another length misplaces the footer
    boxes.expectNone();
}

TEST_F(SignedFileTest, AFailedWriteKeepsTheOldFileAndIsReported) {
    ASSERT_TRUE(mod_User::SaveConfig());
    const Bytes before = ReadFile(AppPaths::ConfigDat());

    formats::BinaryWriter tooLong;
    tooLong.writeString(std::string(70000, 'a'));
    boxes.queue(platform::kOk);
    EXPECT_FALSE(mod_System::WriteSignedFile(AppPaths::ConfigDat(), "", tooLong));
    EXPECT_EQ(ReadFile(AppPaths::ConfigDat()), before);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].style, platform::kCritical);
    EXPECT_NE(boxes.shown()[0].text.find(AppPaths::ConfigDat().string()), std::string::npos);
    EXPECT_FALSE(AbortFlag);  // during a session the program goes on

    boxes.queue(platform::kOk);
    EXPECT_FALSE(mod_System::WriteSignedFile(AppPaths::ConfigDat(), "", tooLong,
                                             mod_System::WriteFailure::kStopProgram));
    EXPECT_TRUE(AbortFlag);
    EXPECT_EQ(ReadFile(AppPaths::ConfigDat()), before);
}

// The box names the file and asks for an email only when there is an address to write to.
TEST_F(SignedFileTest, AFailedWritesMessageAsksForAnEmailOnlyWithAnAddress) {
    const std::pair<std::string, std::string> addresses[] = {
        {"help@test.example",
         "\r\n\r\nIf the problem persists, please email us at help@test.example"},
        {"", ""},
        {"  ", ""},
    };
    formats::BinaryWriter tooLong;
    tooLong.writeString(std::string(70000, 'a'));
    for (const auto& [address, sentence] : addresses) {
        SCOPED_TRACE("address \"" + address + "\"");
        SystemVars.SupportEmail = address;
        boxes.queue(platform::kOk);
        EXPECT_FALSE(mod_System::WriteSignedFile(AppPaths::ConfigDat(), "", tooLong));
        EXPECT_EQ(
            boxes.shown(),
            (std::vector<ShownBox>{{"Critical Error!\r\n\r\nThe file could not be written : " +
                                        AppPaths::ConfigDat().string() + sentence,
                                    "Critical Error!", platform::kCritical}}));
        boxes.clear();
    }
}

TEST_F(SignedFileTest, ADamagedFileReadBeforeNeverLeaksIntoTheNextFileWritten) {
    const auto damaged = folder.path() / "damaged.dat";
    Bytes bytes(8, 0);  // empty header texts
    appendString(bytes, "leaked path");
    WriteFile(damaged, bytes);
    mod_System::ReadSignedFile(damaged, [](formats::BinaryReader&) {});
    ASSERT_EQ(SignatureFooter.FilePath, "leaked path");

    ASSERT_TRUE(mod_User::SaveConfig());
    mod_System::ReadSignedFile(AppPaths::ConfigDat(),
                               [](formats::BinaryReader& in) { in.skip(8); });
    EXPECT_EQ(SignatureFooter.FilePath, "");
    EXPECT_TRUE(mod_System::IsFileSignatureValid());
}

TEST_F(SignedFileTest, EveryRefusedReadSaysWhy) {
    using mod_System::SignedFileError;
    const auto noBody = [](formats::BinaryReader&) {};
    EXPECT_FALSE(mod_System::ReadSignedFile(folder.path() / "missing.dat", noBody));
    EXPECT_EQ(mod_System::LastSignedFileError(), SignedFileError::kMissing);
    EXPECT_FALSE(mod_System::ReadSignedFile(folder.path() / "Data", noBody));
    EXPECT_EQ(mod_System::LastSignedFileError(), SignedFileError::kNotAFile);

    formats::BinaryWriter body;
    body.writeInt32(42);
    const auto path = folder.path() / "Data" / "a.dat";
    ASSERT_TRUE(mod_System::WriteSignedFile(path, "", body));
    auto padded = ReadFile(path);
    padded.resize(padded.size() + mod_System::kMaxSignatureBytes);
    WriteFile(folder.path() / "padded.dat", padded);
    EXPECT_FALSE(mod_System::ReadSignedFile(folder.path() / "padded.dat", noBody, 4));
    EXPECT_EQ(mod_System::LastSignedFileError(), SignedFileError::kTooLarge);

    // A reader whose counts ask for more than memory holds fails like any damaged body.
    EXPECT_FALSE(mod_System::ReadSignedFile(
        path, [](formats::BinaryReader&) { throw std::length_error("vector::reserve"); }));
    EXPECT_EQ(mod_System::LastSignedFileError(), SignedFileError::kBadBody);
    EXPECT_EQ(mod_System::LastBodyError(), formats::ReadError::kOutOfMemory);

    ASSERT_TRUE(readBack(path, 4));
    EXPECT_EQ(mod_System::LastSignedFileError(), SignedFileError::kNone);
    EXPECT_FALSE(readBack(path, 3));
    EXPECT_EQ(mod_System::LastSignedFileError(), SignedFileError::kBadSignature);
    SystemVars.ProductCode = "OTHER";
    EXPECT_FALSE(readBack(path, 4));
    EXPECT_EQ(mod_System::LastSignedFileError(), SignedFileError::kOtherProduct);
    boxes.expectNone();
}

TEST_F(SignedFileTest, OneStepThatWritesSeveralFilesReportsItsFailuresOnce) {
    formats::BinaryWriter body;
    body.writeInt32(1);
    const auto blocked = [&](const char* name) {
        const auto path = folder.path() / "Data" / name;
        std::filesystem::create_directories(path / "in the way");
        return path;
    };
    const auto statistics = blocked("Resource.dat");
    const auto history = blocked("index.dat");
    const auto elsewhere = blocked("elsewhere.sav");
    {
        mod_System::WriteFailureReport failures;
        EXPECT_FALSE(mod_System::WriteSignedFile(statistics, "", body));
        EXPECT_FALSE(mod_System::WriteSignedFile(history, "", body));
        boxes.expectNone();
        boxes.queue(platform::kOk);
        failures.Report();
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_NE(boxes.shown()[0].text.find(statistics.string()), std::string::npos);
        boxes.clear();

        EXPECT_FALSE(mod_System::WriteSignedFile(statistics, "", body));  // already told
        boxes.expectNone();
        boxes.queue(platform::kOk);
        EXPECT_FALSE(mod_System::WriteSignedFile(elsewhere, "", body));  // a new failure
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_NE(boxes.shown()[0].text.find(elsewhere.string()), std::string::npos);
        boxes.clear();
    }
    boxes.queue(platform::kOk);
    EXPECT_FALSE(mod_System::WriteSignedFile(statistics, "", body));  // outside: shown again
    EXPECT_EQ(boxes.shown().size(), 1u);
}
