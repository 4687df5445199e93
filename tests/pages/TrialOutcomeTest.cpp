#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <future>
#include <optional>
#include <string>

#include "pages/PageRefusals.h"
#include "pages/PageTrial.h"
#include "support/Repeated.h"
#include "support/TempProgramFolder.h"

namespace {

using namespace std::chrono_literals;

// Each way a child can end, played by a scripted trial server in its place: what the user is told,
// whether the page was tried at all, and whether the verdict is kept (a second request starts no
// child).
struct TrialOutcomeTest : ::testing::Test {
    testsupport::TempProgramFolder folder;
    std::filesystem::path program = page_trial::ChildProgram();
    page_trial::Limits limits = page_trial::CurrentLimits();
    std::filesystem::path play = folder.path() / "play";
    std::filesystem::path pidFile = folder.path() / "child.pid";
    int reports = 0;

    TrialOutcomeTest() {
        page_trial::ForgetVerdicts();
        page_trial::Limits quick;
        quick.comingIn = 200ms;
        quick.held = 800ms;
        quick.startAllowance = 300ms;
        page_trial::SetLimits(quick);
        ::setenv("SCRIPTED_TRIAL_PLAY", play.c_str(), 1);
        ::setenv("SCRIPTED_TRIAL_PID", pidFile.c_str(), 1);
        page_trial::SetChildProgram(SCRIPTED_TRIAL_SERVER);
    }
    ~TrialOutcomeTest() override {
        ::unsetenv("SCRIPTED_TRIAL_PLAY");
        ::unsetenv("SCRIPTED_TRIAL_PID");
        page_trial::SetLimits(limits);
        page_trial::SetChildProgram(program);
        page_trial::ForgetVerdicts();
    }

    void playEachTrial(const std::string& line) {
        testsupport::WriteFile(play, formats::Bytes(line.begin(), line.end()));
    }
    std::string reportFile(const page_trial::TrialReport& report) {
        const auto path = folder.path() / ("report" + std::to_string(++reports));
        const std::string bytes = page_trial::Encode(report);
        testsupport::WriteFile(path, formats::Bytes(bytes.begin(), bytes.end()));
        return path.string();
    }
    // The trial, run aside: a child that is not ended at its deadline fails here, at once,
    // rather than holding the test for as long as the child lives.
    std::optional<page_refusals::Refusal> tryPage(const std::string& page,
                                                  page_trial::Standing standing) {
        page_trial::TrialRequest request;
        request.page = page;
        request.widths = {470, 455};
        auto trial =
            std::async(std::launch::async, [&] { return page_trial::TryPage(request, standing); });
        if (trial.wait_for(10s) != std::future_status::ready) {
            ADD_FAILURE() << "the late child was not ended at its deadline";
            std::ifstream in(pidFile);
            pid_t child = 0;
            if (in >> child && child > 0) ::kill(child, SIGKILL);
        }
        return trial.get();
    }
};

TEST_F(TrialOutcomeTest, EachEndOfTheChildGivesItsOwnVerdict) {
    page_trial::TrialReport quick;
    quick.laidOutMicros = 1000;
    page_trial::TrialReport overBudget;
    overBudget.laidOutMicros = 800'001;
    page_trial::TrialReport refused;
    refused.refusal = "Its tables are nested too deep.";
    struct Row {
        const char* what;
        std::string body;  // empty: no child at all
        page_trial::Standing standing;
        const char* reason;  // nullptr: shown
        bool tried;
        bool kept;
    };
    const Row rows[] = {
        {"lays it out in time", "file " + reportFile(quick), page_trial::Standing::kComingIn,
         nullptr, true, true},
        {"reports a layout over the held limit", "file " + reportFile(overBudget),
         page_trial::Standing::kAlreadyHeld, "takes longer than 0.8 seconds", true, true},
        {"reports a refusal", "file " + reportFile(refused), page_trial::Standing::kAlreadyHeld,
         "stopped with an error", true, true},
        {"crashes at once", "signal 11", page_trial::Standing::kComingIn, "stopped with an error",
         true, true},
        {"runs out of memory", "exit 3", page_trial::Standing::kComingIn, "of memory", true, true},
        {"writes no report", "exit 0", page_trial::Standing::kComingIn, "stopped with an error",
         true, true},
        {"never ends", "sleep", page_trial::Standing::kComingIn, "the computer may be busy", false,
         false},
        {"is missing", "", page_trial::Standing::kBeingWritten, "cannot be started", false, false},
    };
    const std::filesystem::path missing = folder.path() / "missing";
    int k = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        page_trial::SetChildProgram(row.body.empty() ? missing : SCRIPTED_TRIAL_SERVER);
        playEachTrial(row.body);
        const std::string page = "<p>" + testsupport::Repeated("words ", 100) + std::to_string(++k);
        const std::size_t before = page_trial::TrialsStarted();
        const auto verdict = tryPage(page, row.standing);
        EXPECT_EQ(page_trial::TrialsStarted(), before + 1);
        const std::string said =
            verdict ? page_refusals::Reason(*verdict, page_refusals::Subject::kPage) : "shown";
        if (!row.reason) {
            EXPECT_FALSE(verdict) << said;
        } else {
            ASSERT_TRUE(verdict);
            EXPECT_NE(said.find(row.reason), std::string::npos) << said;
            EXPECT_EQ(page_refusals::Tried(*verdict), row.tried);
            if (row.tried) {
                EXPECT_EQ(said.find("busy"), std::string::npos);
            }
        }
        // A verdict that would not be so again, with the child back, is not kept.
        page_trial::SetChildProgram(SCRIPTED_TRIAL_SERVER);
        playEachTrial("file " + reportFile(quick));
        const auto again = tryPage(page, row.standing);
        EXPECT_EQ(page_trial::TrialsStarted(), before + (row.kept ? 1 : 2));
        EXPECT_EQ(again.has_value(), row.kept && row.reason != nullptr);
    }
}

}  // namespace
