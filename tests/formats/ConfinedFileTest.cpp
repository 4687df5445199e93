#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "formats/ConfinedFile.h"
#include "support/TempProgramFolder.h"

using formats::Bytes;
using formats::ReadFileInside;
using testsupport::TempProgramFolder;
using testsupport::WriteFile;
namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kLimit = 1024;

struct ConfinedFileTest : ::testing::Test {
    TempProgramFolder program;
    fs::path folder = program.path() / "Data" / "MyNotes";
    fs::path outside = program.path() / "Data" / "secret.png";

    void SetUp() override {
        WriteFile(folder / "pic.png", Bytes{1, 2, 3});
        WriteFile(folder / "sub" / "deep.png", Bytes{4});
        WriteFile(outside, Bytes{9, 9});
    }
    std::optional<Bytes> read(std::string_view relative) const {
        return ReadFileInside(folder, relative, kLimit);
    }
};

TEST_F(ConfinedFileTest, ReadsARegularFileInsideTheFolderOrBelowIt) {
    EXPECT_EQ(read("pic.png"), (Bytes{1, 2, 3}));
    EXPECT_EQ(read("sub/deep.png"), Bytes{4});
    EXPECT_EQ(read("./sub//deep.png"), Bytes{4});
    WriteFile(folder / "my #1 pic%20.png", Bytes{5});
    EXPECT_EQ(read("my #1 pic%20.png"), Bytes{5});
    EXPECT_EQ(read("missing.png"), std::nullopt);
    EXPECT_EQ(read("sub"), std::nullopt);
}

TEST_F(ConfinedFileTest, NamesLeavingTheFolderOrAbsoluteAreRefused) {
    for (const std::string& name : std::vector<std::string>{
             "", ".", "../secret.png", "sub/../../secret.png", "sub/../pic.png", "..",
             outside.string(), (folder / "pic.png").string(), std::string("pic.png\0x", 9)}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(read(name), std::nullopt);
    }
}

TEST_F(ConfinedFileTest, NoLinkIsFollowedAnywhereOnTheWay) {
    fs::create_symlink(outside, folder / "to-secret.png");
    fs::create_directory_symlink(outside.parent_path(), folder / "to-data");
    fs::create_symlink(folder / "pic.png", folder / "to-own.png");
    fs::create_symlink("/dev/zero", folder / "zero.png");
    for (const char* name : {"to-secret.png", "to-data/secret.png", "to-own.png", "zero.png",
                             "to-data/MyNotes/pic.png"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(read(name), std::nullopt);
    }
}

TEST_F(ConfinedFileTest, DevicesFifosAndOversizeFilesAreRefusedWithoutReading) {
    // Opening a fifo with no writer would wait for one.
    ASSERT_EQ(::mkfifo((folder / "pipe.png").c_str(), 0644), 0);
    EXPECT_EQ(read("pipe.png"), std::nullopt);
    EXPECT_EQ(ReadFileInside("/dev", "zero", kLimit), std::nullopt);
    EXPECT_EQ(ReadFileInside("/dev", "null", kLimit), std::nullopt);

    WriteFile(folder / "exact.png", Bytes(kLimit, 7));
    EXPECT_EQ(read("exact.png"), Bytes(kLimit, 7));
    WriteFile(folder / "over.png", Bytes(kLimit + 1, 7));
    EXPECT_EQ(read("over.png"), std::nullopt);
    // Sparse: reading it would cost its size.
    WriteFile(folder / "huge.png", Bytes{});
    fs::resize_file(folder / "huge.png", std::uint64_t{1} << 36);
    EXPECT_EQ(ReadFileInside(folder, "huge.png", std::uint64_t{1} << 30), std::nullopt);
}

}  // namespace
