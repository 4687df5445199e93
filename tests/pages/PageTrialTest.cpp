#include <gtest/gtest.h>

#include <QImage>
#include <QTextEdit>

#include <string>

#include "pages/PageReader.h"
#include "pages/PageTrial.h"
#include "support/CraftedPictures.h"
#include "support/Repeated.h"
#include "support/TempProgramFolder.h"

namespace {

using testsupport::Repeated;

formats::Bytes pngOf(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QByteArray bytes = testsupport::Encoded(image, "PNG");
    return {bytes.begin(), bytes.end()};
}

struct PageTrialTest : ::testing::Test {
    testsupport::TempProgramFolder folder;
    QTextEdit box;
    std::filesystem::path program = page_trial::ChildProgram();

    PageTrialTest() {
        box.resize(470, 300);
        page_trial::ForgetVerdicts();
    }
    ~PageTrialTest() override { page_trial::SetChildProgram(program); }

    page_reader::PageBox boxOfFolder() {
        return page_reader::BoxOf(box, {page_trial::PictureRule::kAnywhere, folder.path()});
    }
    std::optional<page_refusals::Refusal> judge(const std::string& page) {
        return page_reader::JudgePage(page, boxOfFolder());
    }
};

// Moving back and forth between pages tries each once; a picture the page showed that
// changed since, or another width, is tried again.
TEST_F(PageTrialTest, APageIsTriedOnceUntilWhatDecidedItChanges) {
    testsupport::WriteFile(folder.path() / "p.png", pngOf(40, 30));
    const std::string page = "<p>" + Repeated("a few words ", 30) + "<img src=\"p.png\"></p>";
    const std::string other = "<p>" + Repeated("other words ", 30) + "</p>";
    const std::size_t before = page_trial::TrialsStarted();
    const auto tried = [&] { return page_trial::TrialsStarted() - before; };

    EXPECT_EQ(judge(page), std::nullopt);
    EXPECT_EQ(judge(other), std::nullopt);
    EXPECT_EQ(judge(page), std::nullopt);
    EXPECT_EQ(judge(other), std::nullopt);
    EXPECT_EQ(tried(), 2u);

    testsupport::WriteFile(folder.path() / "p.png", pngOf(40, 31));
    EXPECT_EQ(judge(page), std::nullopt);
    EXPECT_EQ(judge(other), std::nullopt);
    EXPECT_EQ(tried(), 3u);

    box.resize(300, 300);
    EXPECT_EQ(judge(other), std::nullopt);
    EXPECT_EQ(tried(), 4u);

    // A small page needs no trial, unless it holds what its size does not bound: a table (41
    // bytes of spanned cells take seconds) or a picture, in the text or behind it.
    EXPECT_EQ(judge("<p>short</p>"), std::nullopt);
    EXPECT_EQ(tried(), 4u);
    for (const char* small : {"<table><tr><td>x</td></tr></table>", "<body background=p.png>x",
                              "<p><img src=p.png></p>"}) {
        const std::size_t triedBefore = tried();
        EXPECT_EQ(judge(small), std::nullopt) << small;
        EXPECT_EQ(tried(), triedBefore + 1) << small;
    }
}

// Nothing that needs a trial is shown untried: without the child such a page is refused
// with that reason, and what needs none still shows.
TEST_F(PageTrialTest, WithoutItsChildOnlyPagesThatNeedNoTrialShow) {
    page_trial::SetChildProgram(folder.path() / "no-such-program");
    testsupport::WriteFile(folder.path() / "p.png", pngOf(4, 3));
    const auto refusal = judge("<p>" + Repeated("a few words ", 30) + "</p>");
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->cause, page_refusals::Cause::kCheckerMissing);
    EXPECT_EQ(refusal->program, (folder.path() / "no-such-program").string());
    EXPECT_TRUE(judge("<img src=\"p.png\">"));
    EXPECT_EQ(judge("<p>short</p>"), std::nullopt);

    // The verdict was not kept: with its child back the page is shown.
    page_trial::SetChildProgram(program);
    EXPECT_EQ(judge("<p>" + Repeated("a few words ", 30) + "</p>"), std::nullopt);
}

}  // namespace
