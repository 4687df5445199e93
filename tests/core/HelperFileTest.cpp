#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "core/mod_Helper.h"
#include "core/mod_file.h"
#include "support/TempProgramFolder.h"

namespace fs = std::filesystem;

namespace {

class HelperFileTest : public ::testing::Test {
protected:
    fs::path MakeFile(const fs::path& relative) {
        fs::path path = temp_.path() / relative;
        testsupport::WriteFile(path, {'x'});
        return path;
    }
    fs::path MakeFolder(const fs::path& relative) {
        fs::path path = temp_.path() / relative;
        fs::create_directories(path);
        return path;
    }

    testsupport::TempProgramFolder temp_;
};

// Bare names resolve against the current folder, so the tests move it for a scope.
class CurrentFolder {
public:
    explicit CurrentFolder(const fs::path& folder) : previous_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~CurrentFolder() { fs::current_path(previous_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    fs::path previous_;
};

}  // namespace

TEST_F(HelperFileTest, OnlyVisibleRegularFilesExistAndOnlyFilesHaveALength) {
    const fs::path file = MakeFile("notes.txt");
    const fs::path folder = MakeFolder("folder");
    EXPECT_TRUE(mod_Helper::FileExists(file));
    EXPECT_FALSE(mod_Helper::FileExists(fs::path()));
    EXPECT_FALSE(mod_Helper::FileExists(file.native() + "/"));
    EXPECT_FALSE(mod_Helper::FileExists(folder));
    EXPECT_FALSE(mod_Helper::FileExists(MakeFile(".hidden")));
    EXPECT_FALSE(mod_Helper::FileExists(temp_.path() / "missing.txt"));

    EXPECT_TRUE(mod_file::FileExistsByLen(file));
    EXPECT_FALSE(mod_file::FileExistsByLen(temp_.path() / "missing.dat"));
    EXPECT_FALSE(mod_file::FileExistsByLen(folder));
}

TEST_F(HelperFileTest, DeleteFolderRemovesANestedTreeAndLinksInsideButNotTheirTargets) {
    const fs::path outsideFile = MakeFile("outside/keep.txt");
    fs::permissions(outsideFile, fs::perms::owner_read);
    const fs::perms before = fs::status(outsideFile).permissions();
    const fs::path root = MakeFolder("tree");
    MakeFile("tree/top.txt");
    MakeFolder("tree/empty");
    const fs::path locked = MakeFile("tree/a/b/locked.txt");
    fs::permissions(locked, fs::perms::owner_read);
    fs::create_directory_symlink(temp_.path() / "outside", root / "folderLink");
    fs::create_symlink(outsideFile, root / "fileLink");
    fs::create_symlink(temp_.path() / "nowhere", root / "danglingLink");

    EXPECT_EQ(mod_file::DeleteFolder(root.native() + "/"), 0);  // the separator is dropped
    EXPECT_FALSE(fs::exists(fs::symlink_status(root)));
    EXPECT_TRUE(fs::exists(outsideFile));
    EXPECT_EQ(fs::status(outsideFile).permissions(), before);
}

TEST_F(HelperFileTest, DeleteFolderLeavesBareNamesFilesAndLinksAlone) {
    const fs::path bare = MakeFolder("bare");
    MakeFile("bare/keep.txt");
    {
        const CurrentFolder inTemp(temp_.path());
        EXPECT_EQ(mod_file::DeleteFolder("bare"), 0);
        EXPECT_EQ(mod_file::DeleteFolder("bare/"), 0);
    }
    EXPECT_TRUE(fs::exists(bare / "keep.txt"));

    const fs::path file = MakeFile("file.txt");
    EXPECT_EQ(mod_file::DeleteFolder(file), 0);
    EXPECT_TRUE(fs::exists(file));

    const fs::path link = temp_.path() / "link";
    fs::create_directory_symlink(bare, link);
    EXPECT_EQ(mod_file::DeleteFolder(link), 0);
    EXPECT_TRUE(fs::exists(bare / "keep.txt"));

    EXPECT_EQ(mod_file::DeleteFolder(fs::path()), 0);
}

TEST(HelperText, FileNameExtensionAndBytesUpToTheFirstNul) {
    EXPECT_EQ(mod_Helper::GetFileName("readme"), "readme");
    EXPECT_EQ(mod_Helper::GetFileName("data/exam/q1.dat"), "q1.dat");
    EXPECT_EQ(mod_Helper::GetFileName("C:\\Exams\\old.dat"), "old.dat");
    EXPECT_EQ(mod_Helper::GetFileName("data/"), "");

    EXPECT_EQ(mod_Helper::GetFileExtension("notes.old/readme"), "old/readme");
    EXPECT_EQ(mod_Helper::GetFileExtension("archive.tar.gz"), "gz");
    EXPECT_EQ(mod_Helper::GetFileExtension("readme"), "NO EXTENSION");
    EXPECT_EQ(mod_Helper::GetFileExtension("name."), "");

    using Raw = std::vector<std::uint8_t>;
    EXPECT_EQ(mod_Helper::BytesToString(Raw{'A', 'B', 0, 'C'}), "AB");
    EXPECT_EQ(mod_Helper::BytesToString(Raw{'x', 0xE9}), "x\xE9");
    EXPECT_EQ(mod_Helper::BytesToString({}), "");
}
