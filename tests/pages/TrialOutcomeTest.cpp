#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <future>
#include <optional>
#include <string>

#include "pages/PageTrial.h"
#include "support/Repeated.h"
#include "support/TempProgramFolder.h"

namespace {

using namespace std::chrono_literals;

// Each way a child can end, played by a script in its place: what the user is told, whether the
// page was tried at all, and whether the verdict is kept (a second request starts no child).
struct TrialOutcomeTest : ::testing::Test {
    testsupport::TempProgramFolder folder;
    std::filesystem::path program = page_trial::ChildProgram();
    page_trial::Limits limits = page_trial::CurrentLimits();
    std::filesystem::path script = folder.path() / "child";
    std::filesystem::path pidFile = folder.path() / "child.pid";
    int reports = 0;

    TrialOutcomeTest() {
        page_trial::ForgetVerdicts();
        page_trial::Limits quick;
        quick.comingIn = 200ms;
        quick.held = 800ms;
        quick.startAllowance = 300ms;
        page_trial::SetLimits(quick);
        page_trial::SetChildProgram(script);
    }
    ~TrialOutcomeTest() override {
        page_trial::SetLimits(limits);
        page_trial::SetChildProgram(program);
        page_trial::ForgetVerdicts();
    }

    void writeScript(const std::string& body) {
        std::filesystem::remove(script);
        const std::string text = "#!/bin/sh\necho $$ > '" + pidFile.string() + "'\n" + body + "\n";
        testsupport::WriteFile(script, formats::Bytes(text.begin(), text.end()));
        ::chmod(script.c_str(), 0700);
    }
    std::string reportFile(const page_trial::TrialReport& report) {
        const auto path = folder.path() / ("report" + std::to_string(++reports));
        const std::string bytes = page_trial::Encode(report);
        testsupport::WriteFile(path, formats::Bytes(bytes.begin(), bytes.end()));
        return path.string();
    }
    // The trial, run aside: a child that is not ended at its deadline fails here, at once,
    // rather than holding the test for as long as the child lives.
    std::optional<page_trial::Refusal> tryPage(const std::string& page,
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
        {"lays it out in time", "cat '" + reportFile(quick) + "'", page_trial::Standing::kComingIn,
         nullptr, true, true},
        {"reports a layout over the held limit", "cat '" + reportFile(overBudget) + "'",
         page_trial::Standing::kAlreadyHeld, "takes longer than 0.8 seconds", true, true},
        {"reports a refusal", "cat '" + reportFile(refused) + "'",
         page_trial::Standing::kAlreadyHeld, "nested too deep", true, true},
        {"crashes at once", "kill -SEGV $$", page_trial::Standing::kComingIn,
         "Laying it out failed.", true, true},
        {"runs out of memory", "exit 3", page_trial::Standing::kComingIn, "of memory", true, true},
        {"writes no report", "exit 0", page_trial::Standing::kComingIn, "Laying it out failed.",
         true, true},
        {"never ends", "exec sleep 30", page_trial::Standing::kComingIn, "the computer may be busy",
         false, false},
        {"is missing", "", page_trial::Standing::kBeingWritten, "cannot be started", false, false},
    };
    int k = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::remove(script);
        if (!row.body.empty()) writeScript(row.body);
        const std::string page = "<p>" + testsupport::Repeated("words ", 100) + std::to_string(++k);
        const std::size_t before = page_trial::TrialsStarted();
        const auto verdict = tryPage(page, row.standing);
        EXPECT_EQ(page_trial::TrialsStarted(), before + 1);
        if (!row.reason) {
            EXPECT_FALSE(verdict) << verdict->reason;
        } else {
            ASSERT_TRUE(verdict);
            EXPECT_NE(verdict->reason.find(row.reason), std::string::npos) << verdict->reason;
            EXPECT_EQ(verdict->tried, row.tried);
            if (row.tried) {
                EXPECT_EQ(verdict->reason.find("busy"), std::string::npos);
            }
        }
        // A verdict that would not be so again, with the child back, is not kept.
        writeScript("cat '" + reportFile(quick) + "'");
        const auto again = tryPage(page, row.standing);
        EXPECT_EQ(page_trial::TrialsStarted(), before + (row.kept ? 1 : 2));
        EXPECT_EQ(again.has_value(), row.kept && row.reason != nullptr);
    }
}

}  // namespace
