#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <deque>
#include <filesystem>
#include <functional>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/PictureButton.h"
#include "core/ReadOnlyTextBox.h"
#include "core/frm_Confirm.h"
#include "core/mod_Question.h"
#include "core/mod_User.h"
#include "evaluation/mod_Performance.h"
#include "exam/ExamEnd.h"
#include "exam/ExamRecordIo.h"
#include "exam/ExamSession.h"
#include "exam/ExamWindow.h"
#include "exam/frm_Exam.h"
#include "exam/frm_ExamEnd.h"
#include "exam/mod_Exam.h"
#include "platform/SaveDialog.h"
#include "platform/mod_Forms.h"
#include "support/GuiTestSupport.h"
#include "support/SampleArchives.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;
using exam::CurrentExamSession;

namespace {

using Counts = std::vector<std::int32_t>;

struct ExamEndTest : ::testing::Test {
    TempProgramFolder folder;
    ScriptedMessageBoxes boxes;
    std::deque<std::filesystem::path> chosenPaths;  // answers of the save dialog, in turn
    int chooserCalls = 0;
    int evaluationLoads = 0;

    void SetUp() override {
        AbortFlag = false;
        UserSettings = {};
        SystemVars = MinimalSystemVars();
        const char* endTexts[] = {"How?", "Continue",    "Evaluate",      "Save",         "Record",
                                  "Go",   "Time is up.", "Evaluate now?", "End the exam?"};
        for (int k = 0; k <= 8; ++k)
            SystemVars.ExamEndTexts.at(k) = endTexts[k];
        for (int k = 1; k <= 5; ++k)
            SystemVars.SaveInfoTexts.at(k) = k == 2 ? "3" : "Saved " + std::to_string(k);
        DataKey = KeyOf(SystemVars);
        QuestionBank = mod_Question::ParseQuestions(
                           JoinQuestions({Question(1, 51, "Routing"), Question(2, 51, "Routing"),
                                          Question(3, 51, "Routing")}))
                           ->questions;
        QuestionStatsTable = {{1, 0, 0, 0, false}, {2, 0, 0, 0, false}, {3, 0, 0, 0, false}};
        platform::SetSavePathChooser([this](QWidget*) {
            ++chooserCalls;
            if (chosenPaths.empty()) return std::filesystem::path();
            auto path = chosenPaths.front();
            chosenPaths.pop_front();
            return path;
        });
        mod_Exam::SetEvaluationWindowLoader([this] { ++evaluationLoads; });
        startExam();
    }
    void TearDown() override {
        exam::UnloadExamWindow();
        platform::SetSavePathChooser({});
        mod_Exam::SetEvaluationWindowLoader({});
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CurrentExamSession = exam::ExamSession{};
        CurrentExam = BlankExam;
        QuestionBank.clear();
        QuestionStatsTable.clear();
        UserSettings = {};
        AbortFlag = false;
    }

    // What a start button or the restore button does: the exam window opens the exam.
    static void startExam(const std::filesystem::path& resumedFrom = {}) {
        CurrentExam = BlankExam;
        CurrentExam.Title = "Practice";
        CurrentExam.Minutes = "10";
        CurrentExam.RemainingText = "00:00:00";
        CurrentExam.TimerOn = true;
        CurrentExam.Groups = std::vector<std::int16_t>{51};
        mod_Exam::BuildExamQuestions();
        ASSERT_NE(exam::LoadExamWindow(
                      resumedFrom.empty() ? exam::ExamOpening::kNew : exam::ExamOpening::kResumed,
                      resumedFrom),
                  nullptr);
        ASSERT_TRUE(CurrentExamSession.RecordAnswer("A", false));
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

TEST_F(ExamEndTest, EachReasonShowsItsMessageAndPreselectsItsOption) {
    const struct {
        int reason;
        const char* message;
        int option;
    } cases[] = {{6, "Time is up.", 0}, {7, "Evaluate now?", 1}, {8, "End the exam?", 2}};
    for (const auto& c : cases) {
        runDialog(c.reason, [&](frm_ExamEnd& dialog) {
            EXPECT_EQ(dialog.Label1->text(), c.message);
            EXPECT_EQ(dialog.Tag, std::to_string(c.reason));
            EXPECT_TRUE(dialog.Option1[static_cast<std::size_t>(c.option)]->isChecked());
            EXPECT_EQ(dialog.Label2->text() + dialog.Option1[3]->text() + dialog.Command1->text(),
                      "How?RecordGo");
            EXPECT_FALSE(dialog.Picture1->pixmap().isNull());
            dialog.close();  // the window frame: nothing else changes
        });
    }
    EXPECT_NE(exam::ExamWindow(), nullptr);
    EXPECT_TRUE(CurrentExamSession.InProgress());
    EXPECT_FALSE(CurrentExam.Continued);
    EXPECT_EQ(chooserCalls, 0);
}

TEST_F(ExamEndTest, TimeRunningOutWhileOpenOnlyRetitlesTheDialogAndContinueKeepsTheExam) {
    frm_Exam* window = exam::ExamWindow();
    window->button_end->showLook(PictureButton::Look::Pressed);
    runDialog(8, [](frm_ExamEnd& dialog) {
        mod_Exam::ShowExamEnd(6);  // the clock's time-out behind the dialog
        const auto names = mod_Forms::OpenWindowNames();
        EXPECT_EQ(std::count(names.begin(), names.end(), "frm_ExamEnd"), 1);
        EXPECT_EQ(dialog.Label1->text(), "Time is up.");
        EXPECT_TRUE(dialog.Option1[0]->isChecked());
        dialog.Command1->click();
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
    EXPECT_EQ(timesAskedOnDisk(), (Counts{1, 1, 1}));

    exam::UnloadExamWindow();
    startExam();
    runDialog(8, choose(frm_ExamEnd::kRecord));
    EXPECT_EQ(evaluationLoads, 1);
    EXPECT_EQ(exam::ExamWindow(), nullptr);
    EXPECT_TRUE(CurrentExam.Title.empty());
    EXPECT_EQ(recordedExams(), 2U);
    EXPECT_EQ(timesAskedOnDisk(), (Counts{2, 2, 2}));
    boxes.expectNone();

    // An exam under review: only the evaluation window comes forward.
    startExam();
    QWidget evaluation;
    mod_Forms::Register(&evaluation, "frm_Evaluate");
    const ModalWatcher noDialog([](QWidget* modal) {
        ADD_FAILURE() << "end dialog shown";
        modal->close();
    });
    mod_Exam::ShowExamEnd(8);
    EXPECT_TRUE(evaluation.isVisible());
    EXPECT_FALSE(noDialog.acted());
}

TEST_F(ExamEndTest, ABrokenHistoryClosesTheProgramInsteadOfGoingOn) {
    for (const int option : {frm_ExamEnd::kEvaluate, frm_ExamEnd::kRecord}) {
        exam::UnloadExamWindow();
        AbortFlag = false;
        startExam();
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

TEST_F(ExamEndTest, SavingAsksForAFileOnceThenEndsTheExamWithoutANotice) {
    chosenPaths = {AppPaths::SaveFolder() / "mine"};
    std::filesystem::create_directories(AppPaths::SaveFolder());
    runDialog(8, choose(frm_ExamEnd::kSave));
    const auto saved = AppPaths::SaveFolder() / "mine.sav";
    EXPECT_EQ(chooserCalls, 1);
    EXPECT_EQ(exam::ExamWindow(), nullptr);
    EXPECT_TRUE(CurrentExam.Title.empty());
    EXPECT_EQ(timesAskedOnDisk(), (Counts{1, 1, 1}));
    const auto read = exam::ReadExamFile(saved);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Questions->at(0).GivenAnswers, std::vector<std::string>{"A"});

    // A resumed exam goes back to its own file unasked.
    startExam(saved);
    ASSERT_TRUE(CurrentExamSession.GoTo(2));
    runDialog(8, choose(frm_ExamEnd::kSave));
    EXPECT_EQ(chooserCalls, 1);
    EXPECT_EQ(exam::ExamWindow(), nullptr);
    EXPECT_EQ(exam::ReadExamFile(saved)->StartIndex, 2);
}

TEST_F(ExamEndTest, ACancelledOrFailedSaveKeepsTheExamRunningAndTheDialogOpen) {
    const auto good = AppPaths::SaveFolder() / "good.sav";
    std::filesystem::create_directories(AppPaths::SaveFolder());
    WriteFile(folder.path() / "plain", {});
    const auto unwritable = folder.path() / "plain" / "x.sav";  // under a file, not a folder
    chosenPaths = {{}, unwritable, good, good};
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
    EXPECT_TRUE(exam::ReadExamFile(good));
    EXPECT_EQ(timesAskedOnDisk(), (Counts{1, 1, 1}));
}

TEST_F(ExamEndTest, TheSaveButtonsNoticeShowsUntilRememberIsTicked) {
    chosenPaths = {AppPaths::SaveFolder() / "button.sav"};
    std::filesystem::create_directories(AppPaths::SaveFolder());
    for (const bool remember : {false, true}) {
        const ModalWatcher notice([&](QWidget* modal) {
            auto* box = qobject_cast<frm_Confirm*>(modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), "Saved 1");
            EXPECT_EQ(box->Message->text(), "Saved 3");
            EXPECT_EQ(box->Remember->text(), "Saved 4");
            EXPECT_EQ(box->Yes->text(), "&Saved 5");
            EXPECT_FALSE(box->No->isVisible());
            box->Remember->setChecked(remember);
            box->Yes->click();
        });
        EXPECT_TRUE(mod_Exam::SaveRunningExam(exam::ExamWindow()));
        EXPECT_TRUE(notice.acted());
        EXPECT_EQ(UserSettings.SkipSaveExamNotice, remember);
        EXPECT_EQ(std::filesystem::exists(AppPaths::ConfigDat()), remember);
    }
    const ModalWatcher none([](QWidget* modal) {
        ADD_FAILURE() << "notice shown";
        modal->close();
    });
    EXPECT_TRUE(mod_Exam::SaveRunningExam(exam::ExamWindow()));
    EXPECT_EQ(chooserCalls, 1);
    EXPECT_NE(exam::ExamWindow(), nullptr);
    EXPECT_TRUE(CurrentExamSession.InProgress());
    EXPECT_FALSE(std::filesystem::exists(AppPaths::ResourceDat()));  // nothing counted yet
}
