#include <gtest/gtest.h>

#include <QImage>
#include <QTextEdit>

#include <chrono>
#include <string>

#include "pages/ChildProgram.h"
#include "pages/PageReader.h"
#include "pages/PageTrial.h"
#include "support/CraftedPictures.h"
#include "support/TempProgramFolder.h"

namespace {

using namespace std::chrono_literals;
using platform::ChildRun;

// A trial of `page` in a 470 x 300 box, its pictures taken from `folder`, within `budget`.
ChildRun tryPage(const std::string& page, const std::filesystem::path& folder,
                 std::chrono::microseconds budget) {
    QTextEdit box;
    box.resize(470, 300);
    page_trial::TrialRequest request = page_reader::RequestFor(
        page, page_reader::BoxOf(box, {page_trial::PictureRule::kAnywhere, folder}));
    request.kind = page_trial::TrialKind::kPage;
    request.budgetMicros = static_cast<std::uint32_t>(budget.count());
    return platform::RunOnTrialServer(page_trial::ChildProgram(), page_trial::Encode(request), 60s,
                                      1 << 20);
}

// Reading pictures has a budget of its own: however long it takes, it never ends the trial,
// and the layout's time leaves it out.
TEST(PageTrialChildTest, ReadingPicturesLongerThanTheBudgetNeverEndsTheTrial) {
    testsupport::TempProgramFolder folder;
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::darkCyan);
    // Its header is read by inflating every comment before it.
    const QByteArray png = testsupport::PngWithComments(testsupport::Encoded(small, "png"), 40);
    testsupport::WriteFile(folder.path() / "comments.png", {png.begin(), png.end()});
    constexpr std::chrono::microseconds kBudget = 1ms;

    const ChildRun run = tryPage("<p>text <img src=comments.png></p>", folder.path(), kBudget);
    ASSERT_EQ(run.end, ChildRun::End::kExited) << run.status;
    const auto report = page_trial::DecodeReport(run.output);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->refusal, std::nullopt);
    const std::chrono::microseconds laidOut(report->laidOutMicros.value_or(0));
    EXPECT_GT(run.processorTime - laidOut, 100ms + kBudget) << "the pictures read in no time";
}

// The server forks Qt's fonts and settings, laid out once, into every trial: it must hold a
// single thread when it forks, and every trial gets the whole of its own report.
TEST(PageTrialChildTest, TheServerAnswersTrialAfterTrialFromASingleThread) {
    testsupport::TempProgramFolder folder;
    for (int k = 0; k < 30; ++k) {
        SCOPED_TRACE(k);
        const ChildRun run =
            tryPage("<p>" + std::string(300 + k, 'w') + "</p><ul><li>item</li></ul>", folder.path(),
                    page_trial::kLayoutBudget);
        ASSERT_EQ(run.end, ChildRun::End::kExited) << run.failure;
        ASSERT_EQ(run.status, 0);
        const auto report = page_trial::DecodeReport(run.output);
        ASSERT_TRUE(report);
        EXPECT_EQ(report->refusal, std::nullopt);
    }
    std::error_code ec;
    const auto tasks =
        std::filesystem::path("/proc") / std::to_string(platform::TrialServerProcess()) / "task";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tasks, ec), {}), 1);
    EXPECT_FALSE(ec) << ec.message();
}

}  // namespace
