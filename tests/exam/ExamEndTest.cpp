#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>
#include <functional>

#include "core/AppPaths.h"
#include "core/PictureButton.h"
#include "core/mod_Question.h"
#include "core/mod_System.h"
#include "evaluation/mod_Performance.h"
#include "exam/ExamRecordIo.h"
#include "exam/ExamWindowFixture.h"
#include "exam/frm_ExamEnd.h"
#include "platform/mod_Forms.h"
#include "support/GuiTestSupport.h"

using namespace testsupport;
using exam::CurrentExamSession;

namespace {

using Counts = std::vector<std::int32_t>;

// The real end dialog over a running exam of the fixture's four questions.
struct ExamEndTest : examtest::ExamWindowFixture {
    void SetUp() override {
        ExamWindowFixture::SetUp();
        SystemVars.ExamEndTexts.at(mod_Exam::kTimeUpReason) = "Time is up.";
        SystemVars.ExamEndTexts.at(mod_Exam::kEvaluateReason) = "Evaluate now?";
        SystemVars.ExamEndTexts.at(mod_Exam::kEndReason) = "End the exam?";
        ASSERT_TRUE(open());
    }

    // Opens the dialog and lets `act` work it while it is modal.
    static void runDialog(int reason, const std::function<void(frm_ExamEnd&)>& act) {
        const ModalWatcher watcher([&](QWidget* modal) {
            auto* dialog = qobject_cast<frm_ExamEnd*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->parentWidget(), exam::ExamWindow());
            act(*dialog);
        });
        mod_Exam::ShowExamEnd(reason);
        EXPECT_TRUE(watcher.acted());
        EXPECT_FALSE(mod_Forms::IsFormLoaded("frm_ExamEnd"));
    }
    static std::function<void(frm_ExamEnd&)> choose(int option) {
        return [option](frm_ExamEnd& dialog) {
            dialog.Option1[static_cast<std::size_t>(option)]->setChecked(true);
            dialog.Command1->click();
        };
    }

    static Counts timesAskedOnDisk() {
        std::vector<QuestionStats> stored;
        mod_System::ReadSignedFile(AppPaths::ResourceDat(), [&](formats::BinaryReader& in) {
            stored = mod_Question::ReadStatsBody(in, QuestionBank.size());
        });
        Counts asked;
        for (const QuestionStats& s : stored)
            asked.push_back(s.TimesAsked);
        return asked;
    }
    static std::size_t recordedExams() {
        return mod_Performance::HasPerformanceHistory() ? PerformanceHistory.size() : 0;
    }
};

}  // namespace

TEST_F(ExamEndTest, EachReasonPreselectsItsOptionAndATimeOutOnlyRetitlesTheOpenDialog) {
    const struct {
        int reason;
        const char* message;
        int option;
    } cases[] = {{6, "Time is up.", 0}, {7, "Evaluate now?", 1}, {8, "End the exam?", 2}};
    for (const auto& c : cases) {
        runDialog(c.reason, [&](frm_ExamEnd& dialog) {
            EXPECT_EQ(dialog.Label1->text(), c.message);
            EXPECT_TRUE(dialog.Option1[static_cast<std::size_t>(c.option)]->isChecked());
            EXPECT_FALSE(dialog.Picture1->pixmap().isNull());
            dialog.close();  // the window frame: nothing else changes
        });
    }
    EXPECT_TRUE(CurrentExamSession.InProgress());
    EXPECT_FALSE(CurrentExam.Continued);
    EXPECT_EQ(chooserCalls, 0);

    window->button_end->showLook(PictureButton::Look::Pressed);
    runDialog(8, [](frm_ExamEnd& dialog) {
        mod_Exam::ShowExamEnd(mod_Exam::kTimeUpReason);  // the clock's time-out behind the dialog
        const auto names = mod_Forms::OpenWindowNames();
        EXPECT_EQ(std::count(names.begin(), names.end(), "frm_ExamEnd"), 1);
        EXPECT_EQ(dialog.Label1->text(), "Time is up.");
        EXPECT_TRUE(dialog.Option1[0]->isChecked());
        dialog.Command1->click();  // continue
    });
    EXPECT_EQ(exam::ExamWindow(), window);
    EXPECT_EQ(window->button_end->look(), PictureButton::Look::Normal);
    EXPECT_TRUE(CurrentExam.Continued);
    EXPECT_TRUE(CurrentExamSession.InProgress());
    EXPECT_FALSE(std::filesystem::exists(AppPaths::ResourceDat()));
    EXPECT_EQ(recordedExams(), 0U);
}

TEST_F(ExamEndTest, EvaluatingAndRecordingStoreEachExamOnceInHistoryAndStatistics) {
    runDialog(7, choose(frm_ExamEnd::kEvaluate));
    EXPECT_EQ(evaluationLoads, 1);
    EXPECT_NE(exam::ExamWindow(), nullptr);  // closed later with the evaluation window
    EXPECT_FALSE(CurrentExamSession.InProgress());
    EXPECT_TRUE(std::filesystem::exists(CurrentExam.PerformanceFile));
    EXPECT_EQ(recordedExams(), 1U);
    EXPECT_EQ(timesAskedOnDisk(), (Counts{1, 1, 1, 1}));

    exam::UnloadExamWindow();
    ASSERT_TRUE(open());
    runDialog(8, choose(frm_ExamEnd::kRecord));
    EXPECT_EQ(evaluationLoads, 1);
    EXPECT_EQ(exam::ExamWindow(), nullptr);
    EXPECT_TRUE(CurrentExam.Title.empty());
    EXPECT_EQ(recordedExams(), 2U);
    EXPECT_EQ(timesAskedOnDisk(), (Counts{2, 2, 2, 2}));
    boxes.expectNone();

    // An exam under review: only the evaluation window comes forward.
    ASSERT_TRUE(open());
    QWidget evaluation;
    mod_Forms::Register(&evaluation, "frm_Evaluate");
    const ModalWatcher noDialog([](QWidget* modal) {
        ADD_FAILURE() << "end dialog shown";
        modal->close();
    });
    mod_Exam::ShowExamEnd(mod_Exam::kEndReason);
    EXPECT_TRUE(evaluation.isVisible());
    EXPECT_FALSE(noDialog.acted());
}

TEST_F(ExamEndTest, ABrokenHistoryClosesTheProgramInsteadOfGoingOn) {
    for (const int option : {frm_ExamEnd::kEvaluate, frm_ExamEnd::kRecord}) {
        exam::UnloadExamWindow();
        AbortFlag = false;
        ASSERT_TRUE(open());
        QWidget main;
        mod_Forms::Register(&main, "mdi_Main");
        main.show();
        mod_Performance::InitPerformancePaths();
        WriteFile(mod_Performance::PerformanceIndexPath, BytesOf("garbage"));
        boxes.queue(platform::kOk);  // the critical error

        runDialog(8, choose(option));
        EXPECT_TRUE(AbortFlag);
        EXPECT_FALSE(main.isVisible());
        EXPECT_EQ(evaluationLoads, 0);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(ExamEndTest, SavingRetriesCancelledOrFailedFilesThenEndsAndResumesToTheSameFile) {
    ASSERT_TRUE(CurrentExamSession.RecordAnswer("A", false));
    const auto good = AppPaths::SaveFolder() / "good.sav";
    std::filesystem::create_directories(AppPaths::SaveFolder());
    WriteFile(folder.path() / "plain", {});
    const auto unwritable = folder.path() / "plain" / "x.sav";  // under a file, not a folder
    chosenPaths = {{}, unwritable, good, AppPaths::SaveFolder() / "good"};
    boxes.queue(platform::kOk);
    boxes.queue(platform::kOk);
    runDialog(8, [&](frm_ExamEnd& dialog) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            CurrentExam.Title = attempt == 2 ? std::string(70000, 'x') : "Practice";
            const std::int32_t elapsed = CurrentExamSession.ElapsedSeconds();
            dialog.Command1->click();
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_NE(exam::ExamWindow(), nullptr);
            EXPECT_TRUE(CurrentExamSession.InProgress());
            clock.Advance(std::chrono::seconds(1));
            CurrentExamSession.TickElapsed();
            EXPECT_EQ(CurrentExamSession.ElapsedSeconds(), elapsed + 1);
        }
        CurrentExam.Title = "Practice";
        dialog.Command1->click();  // the failed file is asked for again
    });
    ASSERT_EQ(boxes.shown().size(), 2U);
    EXPECT_EQ(boxes.shown()[0].style, platform::kCritical);
    EXPECT_NE(boxes.shown()[0].text.find(unwritable.string()), std::string::npos);
    EXPECT_NE(boxes.shown()[1].text.find(good.string()), std::string::npos);
    EXPECT_EQ(chooserCalls, 4);
    EXPECT_EQ(exam::ExamWindow(), nullptr);
    EXPECT_TRUE(CurrentExam.Title.empty());
    EXPECT_EQ(timesAskedOnDisk(), (Counts{0, 0, 0, 0}));  // counted when finally graded
    const auto read = exam::ReadExamFile(good);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Questions->at(0).GivenAnswers, std::vector<std::string>{"A"});

    // A resumed exam goes back to its own file unasked.
    ASSERT_TRUE(mod_Exam::LoadSavedExam(good));
    ASSERT_TRUE(load(exam::ExamOpening::kResumed, good));
    ASSERT_TRUE(CurrentExamSession.GoTo(2));
    runDialog(8, choose(frm_ExamEnd::kSave));
    EXPECT_EQ(chooserCalls, 4);
    EXPECT_EQ(exam::ExamWindow(), nullptr);
    EXPECT_EQ(exam::ReadExamFile(good)->StartIndex, 2);
}

TEST_F(ExamEndTest, AnExamThatCannotBeRecordedIsReportedOnceAndClosesOnlyWhenSaved) {
    ASSERT_TRUE(CurrentExamSession.RecordAnswer("A", false));
    // Nothing can be written in Data: the statistics and the history folder are in the way.
    std::filesystem::remove_all(AppPaths::ResourceDat());
    std::filesystem::create_directories(AppPaths::ResourceDat() / "in the way");
    std::filesystem::remove_all(AppPaths::PerformanceFolder());
    WriteFile(AppPaths::PerformanceFolder(), {});
    const auto elsewhere = folder.path() / "elsewhere.sav";
    const auto expectOneFailureBox = [this] {
        ASSERT_EQ(boxes.shown().size(), 1U);
        EXPECT_NE(boxes.shown()[0].text.find("could not be written"), std::string::npos);
        boxes.clear();
    };

    chosenPaths = {{}};
    boxes.queue(platform::kOk);
    runDialog(8, [&](frm_ExamEnd& dialog) {
        choose(frm_ExamEnd::kRecord)(dialog);  // the save dialog is cancelled
        EXPECT_TRUE(dialog.isVisible());
        dialog.close();
    });
    expectOneFailureBox();
    EXPECT_NE(exam::ExamWindow(), nullptr);
    EXPECT_EQ(chooserCalls, 1);

    chosenPaths = {elsewhere};
    boxes.queue(platform::kOk);
    runDialog(8, choose(frm_ExamEnd::kRecord));
    expectOneFailureBox();
    EXPECT_EQ(exam::ExamWindow(), nullptr);
    const auto saved = exam::ReadExamFile(elsewhere);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->Questions->at(0).GivenAnswers, std::vector<std::string>{"A"});
    for (const QuestionStats& stats : QuestionStatsTable)
        EXPECT_EQ(stats.TimesAsked, 1);  // graded once, however often the ending was offered
}
