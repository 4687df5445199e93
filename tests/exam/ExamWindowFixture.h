#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "core/AbortFlag.h"
#include "core/DataKey.h"
#include "core/QuestionBank.h"
#include "core/SystemVars.h"
#include "core/mod_User.h"
#include "exam/CurrentExam.h"
#include "exam/ExamEnd.h"
#include "exam/ExamSession.h"
#include "exam/ExamWindow.h"
#include "exam/FakeClock.h"
#include "exam/QuestionLookup.h"
#include "exam/frm_Exam.h"
#include "exam/mod_Exam.h"
#include "platform/SaveDialog.h"
#include "support/GuiTestSupport.h"
#include "support/SampleArchives.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

namespace examtest {

inline QuestionRecord question(std::int32_t id, std::int16_t group, std::int16_t level,
                               std::int16_t type, std::string text, std::string choices,
                               std::string picture = {}) {
    QuestionRecord q;
    q.QuestionID = id;
    q.GroupCode = group;
    q.Topic = "Topic " + std::to_string(id);
    q.Level = level;
    q.QuestionType = type;
    q.QuestionText = std::move(text);
    q.Explanation = "Explained " + std::to_string(id) + ".";
    q.PictureName = std::move(picture);
    q.Choices = std::move(choices);
    return q;
}

inline formats::Bytes pictureBytes() {
    return testsupport::PngBytes(QSize(40, 30), Qt::blue);
}

// Four questions: single answer with the picture above its text, two of four check boxes
// with the picture after its text, fill in the blank, and one whose group and level have
// no names. The window opens on them with its real timers parked and a fake monotonic
// clock: tests move time and tick by hand. The
// end dialog is recorded, the save dialog answers from chosenPaths ("" once they run out)
// and the evaluation window is only counted.
struct ExamWindowFixture : ::testing::Test {
    FakeClock clock;
    testsupport::TempProgramFolder folder;
    testsupport::ScriptedMessageBoxes boxes;
    std::vector<int> endReasons;
    std::deque<std::filesystem::path> chosenPaths;
    int chooserCalls = 0;
    int evaluationLoads = 0;
    frm_Exam::ExamEndDialog previousEndDialog;
    QPointer<frm_Exam> window;

    void SetUp() override {
        AbortFlag = false;
        UserSettings = {};
        SystemVars = testsupport::MinimalSystemVars();
        const char* examTexts[] = {"Exam:", "Objective:", "Level:", "Question",  "Mark",
                                   "Reset", "Stop",       "Pause",  "Time left", "Clear",
                                   "Go to", "Previous",   "Next",   "Resume",    "Time used",
                                   "Back",  "Notes"};
        for (int k = 0; k <= 16; ++k)
            SystemVars.ExamTexts.at(k) = examTexts[k];
        SystemVars.GroupNames.at(51) = "Practice Set 1";
        SystemVars.LevelNames.at(1) = "Beginner";
        SystemVars.TypeNames.at(2) = "Multiple answers ";
        SystemVars.TypeNames.at(10) = "Choose";
        const char* statusTexts[] = {"Answered: ", "Unanswered: ", "Marked: ", "Questions: "};
        for (int k = 0; k <= 3; ++k)
            SystemVars.StatusTexts.at(k) = statusTexts[k];
        for (int k = 1; k <= 6; ++k) {
            SystemVars.ResetTimerTexts.at(k) = k == 2 ? "2" : "Reset " + std::to_string(k);
            SystemVars.StopTimerTexts.at(k) = k == 2 ? "2" : "Stop " + std::to_string(k);
        }
        DataKey = testsupport::KeyOf(SystemVars);
        QuestionBank = {
            question(11, 51, 1, 1, "See the exhibit above. Which layer routes?",
                     "0<f><f>A<f>Transport<c>1<f><f>B<f>Network<c>0<f><f>C<f>Physical",
                     " exhibit.GIF"),
            question(12, 51, 2, 2, "Above all, pick the two switching methods.",
                     "1<f><f>A<f>Cut-through<c>0<f><f>B<f>Flooding<c>1<f><f>C<f>Store-and-"
                     "forward<c>0<f><f>D<f>Routing",
                     "Exhibit.gif"),
            question(13, 51, 3, 6, "Name the greeting.", "1<f><f>1<f>Hello World"),
            question(14, 120, 9, 1, "Unnamed group and level.", "1<f><f>A<f>Yes<c>0<f><f>B<f>No"),
        };
        QuestionStatsTable.clear();
        for (const QuestionRecord& q : QuestionBank)
            QuestionStatsTable.push_back({q.QuestionID, 0, 0, 0, false});
        QuestionPictures = {{"Exhibit.gif", pictureBytes()}};
        exam::InvalidateQuestionLookup();
        previousEndDialog =
            frm_Exam::SetExamEndDialog([this](int reason) { endReasons.push_back(reason); });
        platform::SetSavePathChooser([this](QWidget*) {
            ++chooserCalls;
            if (chosenPaths.empty()) return std::filesystem::path();
            auto path = chosenPaths.front();
            chosenPaths.pop_front();
            return path;
        });
        mod_Exam::SetEvaluationWindowLoader([this] { ++evaluationLoads; });
    }

    void TearDown() override {
        exam::UnloadExamWindow();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frm_Exam::SetExamEndDialog(previousEndDialog);
        platform::SetSavePathChooser({});
        mod_Exam::SetEvaluationWindowLoader({});
        exam::CurrentExamSession = exam::ExamSession{};
        CurrentExam = BlankExam;
        QuestionBank.clear();
        QuestionStatsTable.clear();
        QuestionPictures.clear();
        exam::InvalidateQuestionLookup();
        UserSettings = {};
        AbortFlag = false;
    }

    // What a start button does, then the window's load.
    frm_Exam* open(const std::string& minutes = "10", std::int16_t answerMode = 0,
                   bool showScore = true) {
        CurrentExam = BlankExam;
        CurrentExam.Title = "Practice";
        CurrentExam.Minutes = minutes;
        CurrentExam.RemainingText = "00:00:00";
        CurrentExam.TimerOn = true;
        CurrentExam.Groups = std::vector<std::int16_t>{51, 120};
        CurrentExam.AnswerMode = answerMode;
        CurrentExam.ShowScore = showScore;
        mod_Exam::BuildExamQuestions();
        return load(exam::ExamOpening::kNew);
    }

    frm_Exam* load(exam::ExamOpening opening, const std::filesystem::path& savedAt = {}) {
        window = exam::LoadExamWindow(opening, savedAt);
        if (window) {
            for (QTimer* timer : {window->Timer1, window->Timer2, window->Timer4})
                timer->setInterval(1 << 30);
            // Keyboard moves between buttons need an active window.
            window->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        }
        return window;
    }

    static const QuestionState& state(int position) {
        return CurrentExam.Questions->at(static_cast<std::size_t>(position));
    }
};

}  // namespace examtest
