#include <gtest/gtest.h>

#include <filesystem>
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
