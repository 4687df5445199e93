#include <gtest/gtest.h>

#include <functional>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/QuestionBank.h"
#include "evaluation/mod_Performance.h"
#include "exam/CurrentExam.h"
#include "exam/ExamRecordIo.h"
#include "exam/ExamSession.h"
#include "exam/mod_Exam.h"
#include "support/SampleArchives.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;
using exam::CurrentExamSession;
using exam::ExamOpening;

namespace {

QuestionRecord question(std::int32_t id, std::int16_t type, std::string choices,
                        std::string topic = "Routing") {
    QuestionRecord q;
    q.QuestionID = id;
    q.GroupCode = 51;
    q.Topic = std::move(topic);
    q.Level = 1;
    q.QuestionType = type;
    q.Choices = std::move(choices);
    return q;
}

QuestionStats fresh(std::int32_t id) {
    QuestionStats s;
    s.QuestionID = id;
    return s;
}

struct ExamSessionTest : ::testing::Test {
    TempProgramFolder folder;
    ScriptedMessageBoxes boxes;
    std::filesystem::path savePath = AppPaths::SaveFolder() / "exam.sav";

    void SetUp() override {
        AbortFlag = false;
        SystemVars = MinimalSystemVars();
        DataKey = KeyOf(SystemVars);
        QuestionBank = {question(1, 1, "0<f><f>A<f>x<c>1<f><f>B<f>y"),
                        question(2, 2, "1<f><f>A<f>a<c>0<f><f>B<f>b<c>1<f><f>C<f>c"),
                        question(3, 6, "1<f><f>1<f>Hello World", "Switching")};
        QuestionStatsTable = {fresh(1), fresh(2), fresh(3)};
        PerformanceHistory.clear();
        CurrentExam = BlankExam;
        CurrentQuestionIndex = 0;
    }
    void TearDown() override {
        CurrentExamSession = exam::ExamSession{};
        mod_Exam::SetRandomDraw({});
        QuestionBank.clear();
        QuestionStatsTable.clear();
        PerformanceHistory.clear();
        CurrentExam = BlankExam;
        AbortFlag = false;
    }

    // What a start button does, then the exam window's load.
    static void startExam(bool showScore, std::string minutes = "10") {
        CurrentExam = BlankExam;
        CurrentExam.Title = "Practice";
        CurrentExam.Minutes = std::move(minutes);
        CurrentExam.RemainingText = "00:00:00";
        CurrentExam.TimerOn = true;
        CurrentExam.Groups = std::vector<std::int16_t>{51};
        CurrentExam.ShowScore = showScore;
        CurrentExam.AnswerMode = 2;
        mod_Exam::BuildExamQuestions();
        ASSERT_TRUE(CurrentExamSession.Open(ExamOpening::kNew));
    }

    // One right, one wrong, one unanswered.
    static void answerSome() {
        ASSERT_TRUE(CurrentExamSession.RecordAnswer("B", false));
        ASSERT_TRUE(CurrentExamSession.GoTo(1));
        ASSERT_TRUE(CurrentExamSession.RecordAnswer("A", true));
    }

    static std::vector<std::int32_t> timesAsked() {
        std::vector<std::int32_t> asked;
        for (const QuestionStats& s : QuestionStatsTable)
            asked.push_back(s.TimesAsked);
        return asked;
    }
};

using Counts = std::vector<std::int32_t>;

}  // namespace

TEST_F(ExamSessionTest, OpeningANewOrResumedExamSetsDateClockAndPosition) {
    startExam(false);
    EXPECT_GT(CurrentExam.ExamDate, 40000.0);
    EXPECT_EQ(CurrentExamSession.TimeLimitSeconds(), 600);
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 600);
    EXPECT_TRUE(CurrentExamSession.ClockRunning());
    EXPECT_TRUE(CurrentExamSession.InProgress());
    EXPECT_EQ(CurrentExam.Questions->at(1).AnswerKey, (std::vector<std::string>{"A", "C"}));

    CurrentExam.ExamDate = 3.0;
    CurrentExam.RemainingText = "00:05:00";
    CurrentExam.StartIndex = 2;
    ASSERT_TRUE(CurrentExamSession.Open(ExamOpening::kResumed, savePath));
    EXPECT_EQ(CurrentExam.ExamDate, 3.0);
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 300);
    EXPECT_EQ(CurrentQuestionIndex, 2);
    EXPECT_EQ(CurrentExamSession.SavePath(), savePath);

    CurrentExam = BlankExam;
    EXPECT_FALSE(CurrentExamSession.Open(ExamOpening::kNew));  // nothing was built
}

TEST_F(ExamSessionTest, TheClocksCountDownTimeOutAndMirrorIntoTheRecord) {
    startExam(false, "1");
    for (int k = 0; k < 59; ++k)
        EXPECT_FALSE(CurrentExamSession.TickClock());
    CurrentExamSession.TickElapsed();
    EXPECT_EQ(CurrentExam.RemainingText, "00:00:01");
    EXPECT_EQ(CurrentExam.ElapsedText, "00:00:01");
    EXPECT_TRUE(CurrentExamSession.TickClock());
    EXPECT_FALSE(CurrentExamSession.ClockRunning());
    EXPECT_FALSE(CurrentExamSession.RecordAnswer("B", false));  // time is up
    EXPECT_FALSE(CurrentExamSession.Pause());

    CurrentExamSession.ResetClock();
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 60);
    EXPECT_FALSE(CurrentExamSession.ClockRunning());
    EXPECT_TRUE(CurrentExamSession.RecordAnswer("B", false));
    CurrentExamSession.ResumeClock();
    EXPECT_TRUE(CurrentExamSession.Pause());
    EXPECT_FALSE(CurrentExamSession.TickClock());
    EXPECT_FALSE(CurrentExamSession.RecordAnswer("A", false));
    CurrentExamSession.Resume();
    EXPECT_FALSE(CurrentExamSession.TickClock());
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 59);

    startExam(false, "0");
    for (int k = 0; k < 3; ++k)
        EXPECT_FALSE(CurrentExamSession.TickClock());
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 3);  // untimed counts up
}

TEST_F(ExamSessionTest, AnswersGoToThePositionShownEvenWithARepeatedId) {
    QuestionBank.push_back(question(1, 1, "0<f><f>A<f>x<c>1<f><f>B<f>y"));
    startExam(false);
    ASSERT_EQ(CurrentExamSession.QuestionCount(), 4);
    ASSERT_TRUE(CurrentExamSession.GoTo(3));
    ASSERT_TRUE(CurrentExamSession.RecordAnswer("B", true));
    EXPECT_FALSE(CurrentExam.Questions->at(0).GivenAnswers);
    mod_Exam::GradeExam();
    EXPECT_EQ(CurrentExam.Correct, 1);
    EXPECT_EQ(CurrentExam.Unanswered, 3);

    ASSERT_TRUE(CurrentExamSession.GoTo(2));
    ASSERT_TRUE(CurrentExamSession.RecordAnswer(std::string(1500, 'x') + ", y", false));
    EXPECT_EQ(CurrentExamSession.CurrentState()->GivenAnswers,
              std::vector<std::string>{std::string(exam::kMaxFillInLength, 'x')});
    ASSERT_TRUE(CurrentExamSession.RecordAnswer("a, b", true));
    EXPECT_EQ(CurrentExamSession.CurrentState()->GivenAnswers,
              (std::vector<std::string>{"a", " b"}));
    ASSERT_TRUE(CurrentExamSession.ClearAnswer());
    EXPECT_FALSE(CurrentExamSession.CurrentState()->GivenAnswers);
    EXPECT_TRUE(CurrentExamSession.CurrentState()->Marked);
    ASSERT_TRUE(CurrentExamSession.SetMarked(0, true));
    const exam::StatusCounts counts = CurrentExamSession.Counts();
    EXPECT_EQ(counts.answered, 1);
    EXPECT_EQ(counts.unanswered, 3);
    EXPECT_EQ(counts.marked, 3);
    EXPECT_FALSE(CurrentExamSession.GoTo(4));
}

TEST_F(ExamSessionTest, TheScoreFollowsAnswersWithoutCountingStatistics) {
    startExam(true);
    EXPECT_EQ(CurrentExam.ScoreText, "Score : 0% (0/3)");
    answerSome();
    EXPECT_EQ(CurrentExam.ScoreText, "Score : 33% (1/3)");
    ASSERT_TRUE(CurrentExamSession.Save(savePath));  // the save button during the exam
    EXPECT_EQ(timesAsked(), (Counts{0, 0, 0}));
    EXPECT_FALSE(std::filesystem::exists(AppPaths::ResourceDat()));
}

TEST_F(ExamSessionTest, EvaluatingCountsOnceAndReviewNeverCountsAgain) {
    startExam(true);
    answerSome();
    ASSERT_TRUE(CurrentExamSession.GradeAndRecord());
    CurrentExamSession.EnterReview();
    EXPECT_EQ(timesAsked(), (Counts{1, 1, 1}));
    EXPECT_EQ(QuestionStatsTable[0].CorrectCount, 1);
    EXPECT_EQ(QuestionStatsTable[1].WrongCount, 1);
    EXPECT_FALSE(CurrentExamSession.RecordAnswer("B", false));
    EXPECT_FALSE(CurrentExamSession.ClearAnswer());
    EXPECT_FALSE(CurrentExamSession.TickClock());

    const CurrentExamRecord recorded = CurrentExam;
    EXPECT_TRUE(CurrentExamSession.Close().empty());
    EXPECT_EQ(CurrentExam, BlankExam);
    EXPECT_TRUE(QuestionStatsTable[1].Bookmarked);  // marked for review
    EXPECT_FALSE(QuestionStatsTable[0].Bookmarked);

    // Reopened from the history for review: opening grades for the score, nothing counts.
    ASSERT_TRUE(mod_Performance::HasPerformanceHistory());
    ASSERT_TRUE(mod_Performance::OpenPerformanceRecord(0));
    EXPECT_EQ(CurrentExam, recorded);
    ASSERT_TRUE(CurrentExamSession.Open(ExamOpening::kReview));
    CurrentExamSession.EnterReview();
    EXPECT_EQ(CurrentExam.ScoreText, "Score : 33% (1/3)");
    EXPECT_EQ(timesAsked(), (Counts{1, 1, 1}));
    boxes.expectNone();
}

TEST_F(ExamSessionTest, SavingAtTheEndCountsAndFinishingTheSaveCountsAgain) {
    startExam(false);
    answerSome();
    EXPECT_FALSE(CurrentExamSession.SaveAndEnd({}));  // save dialog cancelled
    EXPECT_TRUE(CurrentExamSession.InProgress());
    ASSERT_TRUE(CurrentExamSession.RecordAnswer("A", true));
    EXPECT_EQ(timesAsked(), (Counts{0, 0, 0}));

    ASSERT_TRUE(CurrentExamSession.SaveAndEnd(savePath));
    EXPECT_EQ(timesAsked(), (Counts{1, 1, 1}));
    EXPECT_EQ(CurrentExamSession.Close(), savePath);

    ASSERT_TRUE(mod_Exam::LoadSavedExam(savePath));
    EXPECT_EQ(CurrentExam.StartIndex, 1);
    ASSERT_TRUE(CurrentExamSession.Open(ExamOpening::kResumed, savePath));
    EXPECT_EQ(CurrentQuestionIndex, 1);
    ASSERT_TRUE(CurrentExamSession.GradeAndRecord());
    EXPECT_EQ(timesAsked(), (Counts{2, 2, 2}));  // the documented double count
    EXPECT_EQ(QuestionStatsTable[1].WrongCount, 2);
}

TEST_F(ExamSessionTest, EveryKindOfExamRunsFromBuildToHistory) {
    const std::vector<std::function<void()>> kinds = {
        [] { mod_Exam::BuildExamQuestions(); },
        [] {
            CurrentExam.Randomize = true;
            mod_Exam::SetRandomDraw([] { return 0.5f; });
            mod_Exam::BuildExamQuestions();
        },
        [] {
            CurrentExam.IsCustom = true;
            CurrentExam.Objectives = std::vector<ObjectiveCount>{{true, "routing", 2, 0, 0},
                                                                 {true, "Switching", 1, 0, 0}};
            mod_Exam::BuildCustomExamQuestions();
        },
        [] {
            QuestionStatsTable[2].WrongCount = 3;
            CurrentExam.IsCustom = true;
            CurrentExam.Objectives = std::vector<ObjectiveCount>{{true, "Switching", 1, 0, 0}};
            CurrentExam.SmartMode = CurrentExam.Smart0 = true;
            CurrentExam.Smart0Count = 2;
            mod_Exam::BuildCustomExamQuestions();
        },
    };
    std::size_t recorded = 0;
    for (const auto& build : kinds) {
        CurrentExam = BlankExam;
        CurrentExam.Title = "Kind " + std::to_string(recorded);
        CurrentExam.Minutes = "5";
        CurrentExam.RemainingText = "00:00:00";
        CurrentExam.TimerOn = CurrentExam.ShowScore = true;
        CurrentExam.Groups = std::vector<std::int16_t>{51};
        build();
        ASSERT_TRUE(CurrentExamSession.Open(ExamOpening::kNew));
        for (std::int16_t k = 0; k < CurrentExamSession.QuestionCount(); ++k) {
            ASSERT_TRUE(CurrentExamSession.GoTo(k));
            CurrentExamSession.RecordAnswer(k % 2 ? "B" : "hello  world", k == 0);
            CurrentExamSession.TickClock();
            CurrentExamSession.TickElapsed();
        }
        ASSERT_TRUE(CurrentExamSession.Save(savePath));
        const CurrentExamRecord saved = CurrentExam;
        ASSERT_TRUE(mod_Exam::LoadSavedExam(savePath));
        EXPECT_EQ(CurrentExam, saved);

        ASSERT_TRUE(CurrentExamSession.GradeAndRecord());
        ++recorded;
        ASSERT_TRUE(mod_Performance::HasPerformanceHistory());
        ASSERT_EQ(PerformanceHistory.size(), recorded);
        EXPECT_EQ(PerformanceHistory.back().ScoreText, CurrentExam.ScoreText);
        EXPECT_EQ(exam::ReadExamFile(CurrentExam.PerformanceFile), CurrentExam);
        CurrentExamSession.Close();
    }
    boxes.expectNone();
}
