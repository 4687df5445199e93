#include <gtest/gtest.h>

#include <array>
#include <sstream>

#include "core/AbortFlag.h"
#include "core/cls_RCFile.h"
#include "formats/BinaryWriter.h"
#include "formats/FileIo.h"
#include "support/TempProgramFolder.h"

using formats::Bytes;
using testsupport::TempProgramFolder;

namespace {

// First keystream bytes of RC4 under the archive key, computed outside this code base.
constexpr std::array<std::uint8_t, 24> kArchiveKeystream = {
    0x6D, 0x5A, 0xBE, 0x73, 0x7F, 0xA0, 0x71, 0x50, 0x40, 0xE5, 0x99, 0xE5,
    0xBB, 0x12, 0x5D, 0x7A, 0xE7, 0xF8, 0x38, 0x06, 0x47, 0x11, 0x44, 0x30};

Bytes enciphered(std::string_view plain) {
    Bytes out;
    for (std::size_t i = 0; i < plain.size(); ++i)
        out.push_back(static_cast<std::uint8_t>(plain[i]) ^ kArchiveKeystream[i]);
    return out;
}

// An archive entry assembled from raw parts; `data` includes the trailing byte.
void appendEntry(formats::BinaryWriter& w, std::string_view name, std::string_view data) {
    Bytes field = enciphered(name);
    field.resize(100, ' ');
    w.writeBytes(field);
    w.writeInt32(static_cast<std::int32_t>(data.size()) - 1);
    w.writeBytes(enciphered(data));
}

struct ArchiveFixture : ::testing::Test {
    TempProgramFolder folder;
    std::filesystem::path archive = folder.path() / "test.dat";

    void SetUp() override { AbortFlag = false; }
    void TearDown() override {
        AbortFlag = false;
        ArchiveEntries.clear();
    }
    ArchiveError extract(const Bytes& bytes) {
        testsupport::WriteFile(archive, bytes);
        cls_RCFile reader;
        reader.ExtractData(archive);
        return reader.LastError();
    }
};

Bytes handMadeArchive() {
    formats::BinaryWriter w;
    w.writeInt32(2);
    w.writeInt32(16 + 108 * 2 + 5 + 2);
    appendEntry(w, "hello.txt", std::string_view("Hello\0", 6));
    appendEntry(w, "b.gif", std::string_view("GI\0", 3));
    return w.takeBytes();
}

}  // namespace

TEST_F(ArchiveFixture, CreateFileWritesTheArchiveAssembledByHandWhichReadsBack) {
    testsupport::WriteFile(folder.path() / "hello.txt", Bytes{'H', 'e', 'l', 'l', 'o'});
    testsupport::WriteFile(folder.path() / "b.gif", Bytes{'G', 'I'});
    cls_RCFile packer;
    packer.Add_File(folder.path() / "hello.txt");
    packer.Add_File(folder.path() / "b.gif");
    packer.ArchivePath = archive;
    ASSERT_EQ(packer.Create_File(), std::nullopt);
    EXPECT_EQ(testsupport::ReadFile(archive), handMadeArchive());

    extract(handMadeArchive());
    ASSERT_FALSE(AbortFlag);
    ASSERT_EQ(ArchiveEntries.size(), 3u);
    EXPECT_TRUE(ArchiveEntries[0].Name.empty());
    EXPECT_EQ(ArchiveEntries[1].Name, "hello.txt" + std::string(91, ' '));
    EXPECT_EQ(ArchiveEntries[1].Size, 5);
    EXPECT_EQ(ArchiveEntries[1].Data, (Bytes{'H', 'e', 'l', 'l', 'o', 0}));
    EXPECT_EQ(ArchiveEntries[2].Name.size(), 100u);
    EXPECT_EQ(ArchiveEntries[2].Data, (Bytes{'G', 'I', 0}));
}

TEST_F(ArchiveFixture, EmptyArchivesAndOneByteEntriesAreValid) {
    formats::BinaryWriter none;
    none.writeInt32(0);
    none.writeInt32(16);
    extract(none.bytes());
    EXPECT_FALSE(AbortFlag);
    EXPECT_EQ(ArchiveEntries.size(), 1u);

    formats::BinaryWriter one;
    one.writeInt32(1);
    one.writeInt32(124);
    appendEntry(one, "x", std::string_view("\0", 1));
    extract(one.bytes());
    EXPECT_FALSE(AbortFlag);
    ASSERT_EQ(ArchiveEntries.size(), 2u);
    EXPECT_EQ(ArchiveEntries[1].Size, 0);
    EXPECT_EQ(ArchiveEntries[1].Data, Bytes{0});
}

TEST_F(ArchiveFixture, MissingArchivesDamagedCountsAndSizesSetAbortFlagWithoutHugeAllocations) {
    cls_RCFile missing;
    missing.ExtractData(folder.path() / "missing.dat");
    EXPECT_TRUE(AbortFlag);
    EXPECT_EQ(missing.LastError(), ArchiveError::kUnreadable);

    const auto withHeader = [](std::int32_t count, std::int32_t entrySize) {
        formats::BinaryWriter w;
        w.writeInt32(count);
        w.writeInt32(0);
        w.writeFixedString("", 100);
        w.writeInt32(entrySize);
        w.writeBytes(Bytes(8, 0));
        return w.takeBytes();
    };
    const std::pair<Bytes, ArchiveError> cases[] = {
        {withHeader(1, -1), ArchiveError::kEntryBeyondData},
        {withHeader(1, -2147483647 - 1), ArchiveError::kEntryBeyondData},
        {withHeader(1, 0x7FFFFFFF), ArchiveError::kEntryBeyondData},
        {withHeader(0x7FFFFFFF, 3), ArchiveError::kCountBeyondData},
        {withHeader(-1, 3), ArchiveError::kCountBeyondData},
        {withHeader(2, 3), ArchiveError::kCountBeyondData},
    };
    for (const auto& [bytes, reason] : cases) {
        AbortFlag = false;
        EXPECT_EQ(extract(bytes), reason);
        EXPECT_TRUE(AbortFlag);
    }
}

TEST_F(ArchiveFixture, EveryTruncationIsRefused) {
    const Bytes full = handMadeArchive();
    for (std::size_t length = 0; length < full.size(); ++length) {
        std::istringstream in(std::string(full.begin(), full.begin() + length));
        cls_RCFile reader;
        EXPECT_FALSE(reader.ReadEntries(in, length).has_value()) << length;
        const ArchiveError reason = length < 8                   ? ArchiveError::kTooShort
                                    : length < 8 + 2 * (100 + 4) ? ArchiveError::kCountBeyondData
                                                                 : ArchiveError::kEntryBeyondData;
        EXPECT_EQ(reader.LastError(), reason) << length;
    }
    std::istringstream in(std::string(full.begin(), full.end()));
    EXPECT_TRUE(cls_RCFile().ReadEntries(in, full.size()).has_value());
}

TEST_F(ArchiveFixture, NamesWhoseCipherBeginsOrEndsWithASpaceAreRefused) {
    cls_RCFile rc;
    // 'M' enciphers to a space as first byte, 'z' as second byte.
    EXPECT_FALSE(rc.NameRoundTrips("Mx.txt"));
    EXPECT_FALSE(rc.NameRoundTrips("az"));
    EXPECT_FALSE(rc.NameRoundTrips(""));
    EXPECT_FALSE(rc.NameRoundTrips(std::string(101, 'a')));
    EXPECT_TRUE(rc.NameRoundTrips("hello.txt"));

    testsupport::WriteFile(folder.path() / "Mx.txt", Bytes{1});
    rc.Add_File(folder.path() / "Mx.txt");
    rc.ArchivePath = archive;
    EXPECT_TRUE(rc.Create_File().has_value());
    EXPECT_FALSE(std::filesystem::exists(archive));
}

TEST_F(ArchiveFixture, ExtractWritesFreshFilesAndRefusesUnsafeNames) {
    const auto outside = folder.path() / "out";
    std::filesystem::create_directories(outside);
    testsupport::WriteFile(outside / "hello.txt", Bytes(50, 'Z'));  // older, longer file
    cls_RCFile rc;
    rc.ArchivePath = archive;
    testsupport::WriteFile(archive, handMadeArchive());
    ASSERT_EQ(rc.Extract(outside), std::nullopt);
    EXPECT_EQ(testsupport::ReadFile(outside / "hello.txt"), (Bytes{'H', 'e', 'l', 'l', 'o', 0}));

    for (const std::string_view bad : {"../evil", "sub/x", "..", "a\\b"}) {
        formats::BinaryWriter w;
        w.writeInt32(2);
        w.writeInt32(0);
        appendEntry(w, "fine.txt", std::string_view("1\0", 2));
        appendEntry(w, bad, std::string_view("2\0", 2));
        testsupport::WriteFile(archive, w.bytes());
        const auto target = folder.path() / "refused";
        EXPECT_TRUE(rc.Extract(target).has_value()) << bad;
        EXPECT_FALSE(std::filesystem::exists(target / "fine.txt")) << bad;
        EXPECT_FALSE(std::filesystem::exists(folder.path() / "evil"));
    }
}

TEST(ArchivePathList, KeepsOrderAndRemovesByOneBasedIndex) {
    cls_RCFile rc;
    for (const char* path : {"a", "b", "c"})
        rc.Add_File(path);
    rc.Remove_File(2);
    rc.Remove_File(9);
    EXPECT_EQ(rc.File_Count(), 2);
    EXPECT_EQ(rc.Get_Files(), (std::vector<std::filesystem::path>{"", "a", "c"}));
}
