#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "browsers/ResourceDocument.h"
#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/SystemVars.h"
#include "formats/BinaryWriter.h"
#include "support/SampleArchives.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

struct ResourceDocumentTest : ::testing::Test {
    TempProgramFolder folder;
    fs::path temp = AppPaths::ResourcesTempFolder();

    void SetUp() override {
        AbortFlag = false;
        SystemVars = MinimalSystemVars();
        DataKey = KeyOf(SystemVars);
    }

    static std::pair<std::string, formats::Bytes> header(std::string_view madeFor) {
        return {"header.dat",
                BytesOf(mod_Viewer::DocumentDigest(SystemVars.ProductName, SystemVars.ProductCode,
                                                   DataKey, madeFor))};
    }
    // A container in Data/Resources/ whose header.dat is made for its own name, first.
    fs::path container(const std::string& name, const ArchiveFiles& files) {
        ArchiveFiles all{header(name)};
        all.insert(all.end(), files.begin(), files.end());
        return writeRaw(name, Archive(all));
    }
    static fs::path writeRaw(const std::string& name, const formats::Bytes& bytes) {
        const fs::path path = AppPaths::ResourcesFolder() / name;
        WriteFile(path, bytes);
        return path;
    }
    std::optional<std::string> unpack(const fs::path& path) const {
        return mod_Viewer::UnpackResourceDocument(path, temp);
    }
    bool tempHolds(const std::string& name) const { return fs::exists(temp / name); }
};

TEST_F(ResourceDocumentTest, UnpacksFilesAndPointsThePageAtThem) {
    const auto path = container(
        "About.dat", {{"pic.gif", BytesOf("GIF89a-picture")},
                      {"page.html", BytesOf("<img src=\"{APP.PATH}pic.gif\"> {app.path}\0tail")},
                      {"notes.htm", BytesOf("kept as a file")}});
    const auto page = unpack(path);
    ASSERT_TRUE(page);
    // Read up to the first NUL; the lower-case placeholder is left alone.
    EXPECT_EQ(*page, "<img src=\"" + mod_Viewer::FolderUrl(temp) + "pic.gif\"> {app.path}");
    // Written byte for byte, the archive's trailing 0 included.
    EXPECT_EQ(ReadFile(temp / "pic.gif"), BytesOf(std::string_view("GIF89a-picture\0", 15)));
    EXPECT_TRUE(tempHolds("notes.htm"));
    EXPECT_FALSE(tempHolds("page.html"));
    EXPECT_FALSE(tempHolds("header.dat"));
    EXPECT_FALSE(AbortFlag);
}

TEST_F(ResourceDocumentTest, TheLastPageInAnyLetterCaseWinsAndNoPageIsAnEmptyPage) {
    EXPECT_EQ(unpack(container("Tips.dat", {{"a.html", BytesOf("first")},
                                            {"B.HTML", BytesOf("second")},
                                            {"c.htm", BytesOf("third")}})),
              "second");
    EXPECT_EQ(unpack(container("Others.dat", {{"pic.gif", BytesOf("x")}})), "");
}

TEST_F(ResourceDocumentTest, ALaterDocumentReplacesAFileOfTheSameName) {
    ASSERT_TRUE(unpack(container("About.dat", {{"pic.gif", BytesOf("first")}})));
    ASSERT_TRUE(unpack(container("Tips.dat", {{"pic.gif", BytesOf("second")}})));
    EXPECT_EQ(ReadFile(temp / "pic.gif"), BytesOf(std::string_view("second\0", 7)));
}

TEST_F(ResourceDocumentTest, TheDigestBindsProductKeyAndTheFileNameWithItsCase) {
    const formats::Bytes madeForLowerCase =
        Archive({header("about.dat"), {"pic.gif", BytesOf("x")}});
    EXPECT_FALSE(unpack(writeRaw("About.dat", madeForLowerCase)));
    EXPECT_TRUE(unpack(writeRaw("about.dat", madeForLowerCase)));
    fs::remove_all(temp);

    DataKey = "XYZ-1234";
    EXPECT_FALSE(unpack(writeRaw("about.dat", madeForLowerCase)));
    EXPECT_FALSE(tempHolds("pic.gif"));
}

TEST_F(ResourceDocumentTest, NothingIsWrittenUnlessTheHeaderIsPresentAndRight) {
    // Without header.dat.
    EXPECT_FALSE(unpack(writeRaw(
        "About.dat", Archive({{"pic.gif", BytesOf("x")}, {"page.html", BytesOf("page")}}))));
    // A wrong one after the files.
    EXPECT_FALSE(unpack(writeRaw("Guides.dat", Archive({{"pic.gif", BytesOf("x")},
                                                        {"page.html", BytesOf("page")},
                                                        header("Other.dat")}))));
    // A right one, then a wrong one.
    EXPECT_FALSE(unpack(writeRaw("Tips.dat", Archive({header("Tips.dat"),
                                                      {"pic.gif", BytesOf("x")},
                                                      {"header.dat", BytesOf("0123")}}))));
    EXPECT_FALSE(fs::exists(temp));
}

TEST_F(ResourceDocumentTest, AnEntryNameThatIsNotAPlainFileNameFailsTheWholeContainer) {
    for (const std::string name : {"..", ".", "../evil.gif", "sub/evil.gif", "sub\\evil.gif",
                                   "/tmp/evil.gif", "bell\x07.gif", "tab\t.gif"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(
            unpack(container("About.dat", {{"good.gif", BytesOf("x")}, {name, BytesOf("evil")}})));
        EXPECT_FALSE(fs::exists(temp));
        EXPECT_FALSE(fs::exists(AppPaths::ResourcesFolder() / "evil.gif"));
    }
    EXPECT_FALSE(fs::exists("/tmp/evil.gif"));
    EXPECT_TRUE(mod_Viewer::IsPlainFileName("Diagram 1 (OSI).gif"));
    EXPECT_FALSE(mod_Viewer::IsPlainFileName(""));
}

TEST_F(ResourceDocumentTest, MissingEmptyTruncatedAndAbsurdContainersFailWithoutWriting) {
    EXPECT_FALSE(unpack(AppPaths::ResourcesFolder() / "Missing.dat"));
    EXPECT_FALSE(unpack(writeRaw("Empty.dat", {})));

    const formats::Bytes whole =
        Archive({header("Cut.dat"), {"pic.gif", BytesOf("picture")}, {"p.html", BytesOf("p")}});
    for (std::size_t length = 1; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        EXPECT_FALSE(
            unpack(writeRaw("Cut.dat", formats::Bytes(whole.begin(), whole.begin() + length))));
        EXPECT_FALSE(AbortFlag);
    }
    EXPECT_TRUE(unpack(writeRaw("Cut.dat", whole)));

    for (const std::int32_t count : {-1, 0x7FFFFFFF}) {
        formats::BinaryWriter out;
        out.writeInt32(count);
        out.writeInt32(0);
        EXPECT_FALSE(unpack(writeRaw("Count.dat", out.takeBytes())));
    }
    for (const std::int32_t size : {-2, 0x7FFFFFFE}) {
        formats::BinaryWriter out;
        out.writeInt32(1);
        out.writeInt32(0);
        out.writeFixedString("name", 100);
        out.writeInt32(size);
        out.writeBytes(BytesOf("abc"));
        EXPECT_FALSE(unpack(writeRaw("Size.dat", out.takeBytes())));
    }
    EXPECT_FALSE(AbortFlag);
}

TEST_F(ResourceDocumentTest, AnAbortPendingBeforeTheReadStaysPending) {
    AbortFlag = true;
    EXPECT_FALSE(unpack(writeRaw("Bad.dat", BytesOf("xx"))));
    EXPECT_TRUE(AbortFlag);
    EXPECT_TRUE(unpack(container("Good.dat", {})));
    EXPECT_TRUE(AbortFlag);
}

TEST_F(ResourceDocumentTest, NothingIsWrittenThroughWhatStandsInTheTemporaryFolder) {
    const fs::path elsewhere = folder.path() / "elsewhere";
    WriteFile(elsewhere / "pic.gif", BytesOf("the user's own"));
    const fs::path path = container("Guides.dat", {{"pic.gif", BytesOf("picture")},
                                                   {"more.gif", BytesOf("more")},
                                                   {"page.html", BytesOf("page")}});
    const auto elsewhereIsUntouched = [&] {
        EXPECT_EQ(ReadFile(elsewhere / "pic.gif"), BytesOf("the user's own"));
        EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere), fs::directory_iterator()), 1);
    };
    const auto unpackedIntoARealFolder = [&] {
        ASSERT_EQ(unpack(path), "page");
        EXPECT_EQ(fs::symlink_status(temp).type(), fs::file_type::directory);
        EXPECT_EQ(fs::symlink_status(temp / "pic.gif").type(), fs::file_type::regular);
        EXPECT_EQ(ReadFile(temp / "pic.gif"), BytesOf(std::string_view("picture\0", 8)));
        EXPECT_TRUE(tempHolds("more.gif"));
    };

    // A link in the folder's place: the link goes, never its target.
    fs::create_directories(temp.parent_path());
    fs::create_directory_symlink(elsewhere, temp);
    unpackedIntoARealFolder();
    elsewhereIsUntouched();

    // A link inside it named like an entry is replaced as a file.
    fs::remove(temp / "pic.gif");
    fs::create_symlink(elsewhere / "pic.gif", temp / "pic.gif");
    unpackedIntoARealFolder();
    elsewhereIsUntouched();

    // A plain file in the folder's place.
    fs::remove_all(temp);
    WriteFile(temp, BytesOf("a plain file"));
    unpackedIntoARealFolder();

    // A link to a file in the folder's place.
    fs::remove_all(temp);
    fs::create_symlink(elsewhere / "pic.gif", temp);
    unpackedIntoARealFolder();
    elsewhereIsUntouched();
}

TEST_F(ResourceDocumentTest, AContainerWithNothingToUnpackLeavesWhatStandsInTheFolderPlace) {
    const fs::path elsewhere = folder.path() / "elsewhere";
    fs::create_directories(elsewhere);
    const fs::path path = container("Guides.dat", {});
    const std::vector<std::pair<std::string, std::function<void()>>> scenes = {
        {"nothing", [] {}},
        {"a plain file", [&] { WriteFile(temp, BytesOf("a plain file")); }},
        {"a link to a folder", [&] { fs::create_directory_symlink(elsewhere, temp); }},
    };
    for (const auto& [scene, make] : scenes) {
        SCOPED_TRACE(scene);
        fs::remove_all(temp);
        fs::create_directories(temp.parent_path());
        make();
        const auto before = fs::symlink_status(temp).type();
        EXPECT_EQ(unpack(path), "");
        EXPECT_EQ(fs::symlink_status(temp).type(), before);
    }
}

TEST_F(ResourceDocumentTest, AContainerAboveTheCeilingIsRefusedFromItsSizeAlone) {
    const fs::path path = container("Guides.dat", {{"pic.gif", BytesOf("picture")}});
    // Sparse: the valid container and zeros after it, which the reader would never reach.
    fs::resize_file(path, mod_Viewer::kLargestDocumentBytes + 1);
    EXPECT_FALSE(unpack(path));
    EXPECT_FALSE(fs::exists(temp));
    fs::resize_file(path, mod_Viewer::kLargestDocumentBytes);
    EXPECT_TRUE(unpack(path));
    EXPECT_TRUE(tempHolds("pic.gif"));
}

TEST(ResourceFolderUrl, EncodesWhatAUrlCannotCarryAndEndsInASlash) {
    EXPECT_EQ(mod_Viewer::FolderUrl("/opt/my #1 50%/temp"), "file:///opt/my%20%231%2050%25/temp/");
    EXPECT_EQ(mod_Viewer::FolderUrl("/opt/caf\xC3\xA9"), "file:///opt/caf%C3%A9/");
}

}  // namespace
