#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

// A held-back write changes nothing until it is replaced, and leaves nothing when dropped.
TEST(FileIoTest, APendingWriteReplacesTheOldFileOnlyWhenTold) {
    for (const bool replace : {true, false}) {
        SCOPED_TRACE(replace ? "replaced" : "dropped");
        TempProgramFolder folder;
        const auto path = folder.path() / "Data" / "System.dat";
        ASSERT_TRUE(formats::WriteFileReplacing(path, Bytes{1, 2, 3}));
        {
            std::optional<formats::PendingReplacement> pending =
                formats::WriteFilePending(path, Bytes{9});
            ASSERT_TRUE(pending);
            EXPECT_EQ(formats::ReadFileBytes(path), (Bytes{1, 2, 3}));
            if (replace) {
                EXPECT_TRUE(pending->Replace());
            }
        }
        EXPECT_EQ(formats::ReadFileBytes(path), replace ? Bytes{9} : (Bytes{1, 2, 3}));
        EXPECT_EQ(entriesIn(path.parent_path()), 1u);
    }
}

TEST(FileIoTest, AReplacedFileKeepsItsModeAndANewOneTakesTheUmask) {
    struct Case {
        std::optional<mode_t> old;
        mode_t umask = 0;
        mode_t expected = 0;
    };
    const Case cases[] = {
        {0600, 077, 0600}, {0640, 077, 0640}, {std::nullopt, 077, 0600},
        {0600, 022, 0600}, {0640, 022, 0640}, {std::nullopt, 022, 0644},
        {0600, 002, 0600}, {0640, 002, 0640}, {std::nullopt, 002, 0664},
    };
    TempProgramFolder folder;
    const auto path = folder.path() / "Data" / "MyNotes" / "1001.html";
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << std::oct << "old " << c.old.value_or(0) << ", umask " << c.umask);
        std::filesystem::remove(path);
        if (c.old) {
            testsupport::WriteFile(path, Bytes{1});
            ASSERT_EQ(::chmod(path.c_str(), *c.old), 0);
        }
        // The umask is set in a child, so that it cannot reach the other tests.
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::umask(c.umask);
            ::_exit(formats::WriteFileReplacing(path, Bytes{2}) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        ASSERT_EQ(WEXITSTATUS(status), 0);
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, c.expected) << std::oct << (info.st_mode & 0777);
        EXPECT_EQ(formats::ReadFileBytes(path), Bytes{2});
    }
}

TEST(FileIoTest, ACacheFileIsWrittenInPlaceOnlyWhenItsNameHoldsNothingElse) {
    TempProgramFolder folder;
    const auto user = folder.path() / "user.png";
    const auto cache = folder.path() / "Data" / "Resources" / "temp" / "pic.png";
    const std::vector<std::pair<std::string, std::function<void()>>> scenes = {
        {"nothing", [] {}},
        {"a longer file", [&] { testsupport::WriteFile(cache, Bytes(100, 7)); }},
        {"a shorter file", [&] { testsupport::WriteFile(cache, Bytes{7}); }},
        {"a link to the user's file", [&] { std::filesystem::create_symlink(user, cache); }},
        {"another name of the user's file",
         [&] { std::filesystem::create_hard_link(user, cache); }},
        {"a fifo", [&] { ASSERT_EQ(::mkfifo(cache.c_str(), 0600), 0); }},
    };
    for (const auto& [scene, make] : scenes) {
        SCOPED_TRACE(scene);
        testsupport::WriteFile(user, Bytes{'u', 's', 'e', 'r'});
        std::filesystem::remove(cache);
        std::filesystem::create_directories(cache.parent_path());
        make();
        ASSERT_TRUE(formats::WriteFileReplacing(cache, Bytes{1, 2, 3}, nullptr, nullptr,
                                                formats::Flush::kNone));
        EXPECT_EQ(std::filesystem::symlink_status(cache).type(),
                  std::filesystem::file_type::regular);
        EXPECT_EQ(formats::ReadFileBytes(cache), (Bytes{1, 2, 3}));
        EXPECT_EQ(formats::ReadFileBytes(user), (Bytes{'u', 's', 'e', 'r'}));
    }
}

TEST(FileIoTest, ReadingAMissingFileOrAFolderGivesNothing) {
    TempProgramFolder folder;
    EXPECT_FALSE(formats::ReadFileBytes(folder.path() / "missing").has_value());
    EXPECT_FALSE(formats::ReadFileBytes(folder.path() / "Data").has_value());
    testsupport::WriteFile(folder.path() / "empty", {});
    EXPECT_EQ(formats::ReadFileBytes(folder.path() / "empty"), Bytes{});
}

TEST(FileIoTest, AWriteStoppedPartWayIsNeverReportedAsSuccess) {
    TempProgramFolder folder;
    const auto path = folder.path() / "Data" / "Resource.dat";
    const Bytes old(100, 7);
    ASSERT_TRUE(formats::WriteFileReplacing(path, old));

    // A file-size limit with its signal ignored: write() stops short, then fails.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        constexpr rlim_t kLimit = 4096;
        const rlimit limit{kLimit, kLimit};
        ::signal(SIGXFSZ, SIG_IGN);
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
        formats::FileWriteError why = formats::FileWriteError::kNone;
        const bool reported = formats::WriteFileReplacing(path, Bytes(64 * 1024, 1), &why);
        ::_exit(reported ? 1 : why == formats::FileWriteError::kWriteFailed ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(formats::ReadFileBytes(path), old);
    EXPECT_EQ(entriesIn(path.parent_path()), 1u);
}

TEST(FileIoTest, EveryFailureSaysWhy) {
    TempProgramFolder folder;
    formats::FileWriteError writeError = formats::FileWriteError::kNone;
    const auto blocked = folder.path() / "Data" / "Config.dat";
    std::filesystem::create_directories(blocked / "inside");
    EXPECT_FALSE(formats::WriteFileReplacing(blocked, Bytes{1}, &writeError));
    EXPECT_EQ(writeError, formats::FileWriteError::kNotReplaced);
    // Refused before anything is written: no later rename could replace a folder.
    EXPECT_FALSE(formats::WriteFilePending(blocked, Bytes{1}, &writeError));
    EXPECT_EQ(writeError, formats::FileWriteError::kNotReplaced);
    EXPECT_EQ(entriesIn(blocked.parent_path()), 1u);

    testsupport::WriteFile(folder.path() / "plain", Bytes{1});
    EXPECT_FALSE(
        formats::WriteFileReplacing(folder.path() / "plain" / "below", Bytes{1}, &writeError));
    EXPECT_EQ(writeError, formats::FileWriteError::kNoFolder);

    // The target's name fits, its temporary name (dot, name, six more letters) does not.
    EXPECT_FALSE(
        formats::WriteFileReplacing(folder.path() / std::string(250, 'n'), Bytes{1}, &writeError));
    EXPECT_EQ(writeError, formats::FileWriteError::kNoTemporary);

    formats::FileReadError readError = formats::FileReadError::kNone;
    EXPECT_FALSE(
        formats::ReadFileBytes(folder.path() / "missing", formats::kNoSizeLimit, &readError));
    EXPECT_EQ(readError, formats::FileReadError::kMissing);
    EXPECT_FALSE(formats::ReadFileBytes(blocked, formats::kNoSizeLimit, &readError));
    EXPECT_EQ(readError, formats::FileReadError::kNotAFile);
}

TEST(FileIoTest, AFileLargerThanItsLimitIsRefusedUnread) {
    TempProgramFolder folder;
    const auto sparse = folder.path() / "Data" / "Config.dat";
    {
        std::ofstream out(sparse, std::ios::binary);
        out.seekp((std::int64_t{64} << 30) - 1);  // 64 GiB, almost all of it a hole
        out.put('\0');
    }
    formats::FileReadError why = formats::FileReadError::kNone;
    EXPECT_FALSE(formats::ReadFileBytes(sparse, 1024, &why).has_value());
    EXPECT_EQ(why, formats::FileReadError::kTooLarge);

    testsupport::WriteFile(sparse, Bytes(1024, 5));
    EXPECT_EQ(formats::ReadFileBytes(sparse, 1024, &why), Bytes(1024, 5));
    EXPECT_EQ(why, formats::FileReadError::kNone);
}
