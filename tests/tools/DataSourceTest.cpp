#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "DataBuilder.h"
#include "QuestionSource.h"
#include "support/TempProgramFolder.h"

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

Lines question(int id, int group, const std::string& objective, const std::string& extra = {}) {
    Lines lines = {"id: " + std::to_string(id),
                   "group: " + std::to_string(group),
                   "objective: " + objective,
                   "level: 1",
                   "type: 1",
                   "question: Which?",
                   "choice*: A | yes",
                   "choice: B | no"};
    if (!extra.empty()) lines.push_back(extra);
    lines.emplace_back();
    return lines;
}

Lines bank(const std::vector<Lines>& questions) {
    Lines lines;
    for (const Lines& q : questions)
        lines.insert(lines.end(), q.begin(), q.end());
    return lines;
}

std::string errorsOf(const Lines& lines) {
    return datapack::describe(datapack::parseQuestionSource(lines, "q.txt").errors);
}

using FolderContents = std::map<std::string, formats::Bytes>;

// Every entry below a folder, dot files included, with a regular file's bytes.
FolderContents contentsOf(const fs::path& folder) {
    FolderContents contents;
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
        const std::string name = item.path().lexically_relative(folder).string();
        contents[name] =
            item.is_regular_file() ? testsupport::ReadFile(item.path()) : formats::Bytes{};
    }
    return contents;
}

// The names of the entries that came, went or changed.
std::vector<std::string> changed(const FolderContents& before, const FolderContents& after) {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : after) {
        const auto old = before.find(name);
        if (old == before.end() || old->second != bytes) names.push_back(name);
    }
    for (const auto& [name, bytes] : before)
        if (!after.contains(name)) names.push_back(name);
    return names;
}

void appendTo(const fs::path& file, std::string_view text) {
    formats::Bytes bytes = testsupport::ReadFile(file);
    bytes.insert(bytes.end(), text.begin(), text.end());
    testsupport::WriteFile(file, bytes);
}

}  // namespace

TEST(DataSourceTest, SourcesTheProgramWouldRefuseOrShowWronglyAreRefused) {
    EXPECT_EQ(errorsOf(bank({question(1, 11, "Routing"), question(2, 51, "Switching")})), "");

    // Every start would fail without a practice set.
    EXPECT_NE(errorsOf(bank({question(1, 11, "Routing"), question(2, 21, "Routing")}))
                  .find("q.txt:18: the bank has no practice set"),
              std::string::npos);

    // The objective list would show these two as one objective twice.
    const std::string cased = errorsOf(bank(
        {question(1, 51, "Routing"), question(2, 51, "Switching"), question(3, 51, "ROUTING")}));
    EXPECT_EQ(cased,
              "q.txt:19: objective 'ROUTING' differs from 'Routing' (line 1) only in "
              "letter case\n");
    EXPECT_NE(errorsOf(bank({question(1, 51, "\xC3\x89tude"), question(2, 51, "\xC3\xA9tude")}))
                  .find("only in letter case"),
              std::string::npos);

    // A picture named beyond ASCII would never be found.
    EXPECT_EQ(errorsOf(bank({question(1, 51, "Routing",
                                      "picture: \xC3\x9C"
                                      "bung.gif")})),
              "q.txt:1: picture: the file name must be ASCII: \xC3\x9C"
              "bung.gif\n");
}

TEST(DataSourceTest, APictureFileNamedBeyondAsciiIsRefusedByItsName) {
    testsupport::TempProgramFolder folder;
    const fs::path source = folder.path() / "source";
    fs::copy(fs::path(EXAMSIM_SOURCE_DIR) / "data", source, fs::copy_options::recursive);
    const fs::path odd = source / "bank" / "pictures" /
                         "\xC3\x9C"
                         "bung.gif";
    fs::copy_file(source / "images" / "splash.jpg", odd);
    std::string report;
    const auto anyPage = [](const std::string&, const fs::path&) {
        return std::optional<std::string>();
    };
    EXPECT_FALSE(datapack::buildDataFolder(source, folder.path() / "out", report, anyPage));
    EXPECT_NE(report.find(odd.string() + ": the file name must be ASCII"), std::string::npos)
        << report;
}

// A build that fails part of the way leaves every old output byte for byte and no temporary
// file, though each output would have changed.
TEST(DataSourceTest, AFailedBuildReplacesNoOutput) {
    const auto refuseMarked = [](const std::string& page, const fs::path&) {
        return page.find("refuse me") == std::string::npos ? std::optional<std::string>()
                                                           : std::optional<std::string>("marked");
    };
    struct Row {
        const char* what;
        std::function<void(const fs::path& source, const fs::path& data)> spoil;
        const char* reported;
    };
    const Row rows[] = {
        {"a page refused in the last document",
         [](const fs::path& source, const fs::path&) {
             appendTo(source / "resources" / "VOZOvi" / "information.html", "<p>refuse me</p>");
         },
         "information.html: the viewer would refuse the page: marked"},
        {"a folder in the last document's place",
         [](const fs::path&, const fs::path& data) {
             const fs::path last = data / "Resources" / "VOZOvi.dat";
             fs::remove(last);
             fs::create_directories(last / "inside");
         },
         "Resources/VOZOvi.dat\n"},
        {"a plain file in the documents' folder's place",
         [](const fs::path&, const fs::path& data) {
             fs::remove_all(data / "Resources");
             testsupport::WriteFile(data / "Resources", formats::Bytes{1});
         },
         "Resources/About.dat\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        testsupport::TempProgramFolder folder;
        const fs::path source = folder.path() / "source";
        const fs::path data = folder.path() / "Built";
        fs::copy(fs::path(EXAMSIM_SOURCE_DIR) / "data", source, fs::copy_options::recursive);
        std::string report;
        ASSERT_TRUE(datapack::buildDataFolder(source, data, report, refuseMarked)) << report;

        // Every output of the next build differs from the old one.
        fs::copy_file(source / "images" / "splash.jpg", source / "images" / "another.jpg");
        fs::copy_file(source / "bank" / "pictures" / "exhibit-acl-rules.gif",
                      source / "bank" / "pictures" / "another.gif");
        for (const auto& document : fs::directory_iterator(source / "resources"))
            if (document.is_directory())
                fs::copy_file(source / "images" / "splash.jpg", document.path() / "another.jpg");
        row.spoil(source, data);
        const auto before = contentsOf(data);

        report.clear();
        EXPECT_FALSE(datapack::buildDataFolder(source, data, report, refuseMarked));
        EXPECT_NE(report.find(row.reported), std::string::npos) << report;
        EXPECT_EQ(changed(before, contentsOf(data)), std::vector<std::string>{});
    }
}
