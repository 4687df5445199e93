#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "DocumentBuilder.h"
#include "browsers/ResourceDocument.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/SystemVars.h"
#include "pages/PageJudge.h"
#include "pages/PageRefusals.h"
#include "support/SampleArchives.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

struct DocumentBuilderTest : ::testing::Test {
    TempProgramFolder folder;
    fs::path source = folder.path() / "source";
    fs::path temp = AppPaths::ResourcesTempFolder();
    datapack::ProductIdentity product;
    std::string report;

    void SetUp() override {
        SystemVars = MinimalSystemVars();
        DataKey = KeyOf(SystemVars);
        product = {SystemVars.ProductName, SystemVars.ProductCode, DataKey};
    }
    void write(const std::string& name, std::string_view text) {
        WriteFile(source / name, BytesOf(text));
    }
    bool build(const std::string& container) {
        return datapack::buildDocument(
            product, source, AppPaths::ResourcesFolder() / container, report,
            [](const std::string& page, const auto&) -> std::optional<std::string> {
                if (const auto refusal = page_judge::JudgePage(page))
                    return page_refusals::Reason(*refusal, page_refusals::Subject::kDocumentPage);
                return std::nullopt;
            });
    }
};

TEST_F(DocumentBuilderTest, ThePackedDocumentOpensUnderItsOwnNameOnly) {
    write("page.html", "<p>Caf\xC3\xA9</p><img src=\"{APP.PATH}pic one.gif\">");
    write("pic one.gif", "GIF89a");
    write(".hidden", "left out");
    ASSERT_TRUE(build("Tips.dat")) << report;

    const auto page =
        mod_Viewer::UnpackResourceDocument(AppPaths::ResourcesFolder() / "Tips.dat", temp);
    ASSERT_TRUE(page);
    // Stored in the program's code page.
    EXPECT_EQ(*page, "<p>Caf\xE9</p><img src=\"" + mod_Viewer::FolderUrl(temp) + "pic one.gif\">");
    EXPECT_TRUE(fs::exists(temp / "pic one.gif"));
    EXPECT_FALSE(fs::exists(temp / ".hidden"));

    fs::rename(AppPaths::ResourcesFolder() / "Tips.dat", AppPaths::ResourcesFolder() / "tips.dat");
    EXPECT_FALSE(
        mod_Viewer::UnpackResourceDocument(AppPaths::ResourcesFolder() / "tips.dat", temp));
}

TEST_F(DocumentBuilderTest, RefusesAFolderThatWouldMakeABrokenDocument) {
    write("a.html", "<img src=\"{APP.PATH}missing.png\">");
    EXPECT_FALSE(build("About.dat"));
    EXPECT_NE(report.find("\"missing.png\""), std::string::npos) << report;

    report.clear();
    write("missing.png", "now there");
    write("b.HTML", "second page");
    write("header.dat", "forged");
    EXPECT_FALSE(build("About.dat"));
    EXPECT_NE(report.find("exactly one *.html page"), std::string::npos) << report;
    EXPECT_NE(report.find("header.dat"), std::string::npos) << report;
    EXPECT_FALSE(fs::exists(AppPaths::ResourcesFolder() / "About.dat"));
}

}  // namespace
