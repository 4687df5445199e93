#include <gtest/gtest.h>

#include "formats/FileIo.h"
#include "support/TempProgramFolder.h"

using formats::Bytes;
using testsupport::TempProgramFolder;

namespace {
std::size_t entriesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                  std::filesystem::directory_iterator()));
}
}  // namespace

TEST(FileIoTest, ReplacesContentAndCreatesMissingFolders) {
    TempProgramFolder folder;
    const auto path = folder.path() / "Data" / "Save" / "deep" / "a.sav";
    ASSERT_TRUE(formats::WriteFileReplacing(path, Bytes{1, 2, 3, 4, 5}));
    ASSERT_TRUE(formats::WriteFileReplacing(path, Bytes{9}));
    EXPECT_EQ(formats::ReadFileBytes(path), Bytes{9});  // shorter content is not padded by the old
    EXPECT_EQ(entriesIn(path.parent_path()), 1u);       // no temporary file left behind
}

TEST(FileIoTest, AFailedReplaceKeepsTheOldFileAndLeavesNoTemporary) {
    TempProgramFolder folder;
    // Renaming a file over a non-empty folder fails: the write must report it.
    const auto target = folder.path() / "Data" / "Config.dat";
    std::filesystem::create_directories(target / "inside");
    EXPECT_FALSE(formats::WriteFileReplacing(target, Bytes{1, 2}));
    EXPECT_TRUE(std::filesystem::is_directory(target / "inside"));
    EXPECT_EQ(entriesIn(folder.path() / "Data"), 1u);
}

TEST(FileIoTest, ReadingAMissingFileOrAFolderGivesNothing) {
    TempProgramFolder folder;
    EXPECT_FALSE(formats::ReadFileBytes(folder.path() / "missing").has_value());
    EXPECT_FALSE(formats::ReadFileBytes(folder.path() / "Data").has_value());
    testsupport::WriteFile(folder.path() / "empty", {});
    EXPECT_EQ(formats::ReadFileBytes(folder.path() / "empty"), Bytes{});
}
