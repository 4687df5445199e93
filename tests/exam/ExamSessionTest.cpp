#include <gtest/gtest.h>

#include <limits>

#include <array>
#include <functional>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/QuestionBank.h"
#include "core/mod_Question.h"
#include "core/mod_System.h"
#include "evaluation/mod_Performance.h"
#include "exam/CurrentExam.h"
#include "exam/ExamRecordIo.h"
#include "exam/ExamSession.h"
#include "exam/FakeClock.h"
#include "exam/mod_Exam.h"
#include "support/SampleArchives.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;
using exam::CurrentExamSession;
using exam::ExamOpening;
using Texts = std::vector<std::string>;

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

QuestionState asked(std::int32_t id, std::optional<Texts> given = std::nullopt) {
    return {id, std::nullopt, std::move(given), false};
}

// Asked, correct, wrong and bookmarked of each statistics row.
using Rows = std::vector<std::array<std::int32_t, 4>>;
Rows rowsOf(const std::vector<QuestionStats>& table) {
    Rows rows;
    for (const QuestionStats& s : table)
        rows.push_back({s.TimesAsked, s.CorrectCount, s.WrongCount, s.Bookmarked});
    return rows;
}

// Three questions: single answer (B), two of three (A and C), fill in the blank.
struct ExamSessionTest : ::testing::Test {
    examtest::FakeClock clock;
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
        QuestionStatsTable = {{1, 0, 0, 0, false}, {2, 0, 0, 0, false}, {3, 0, 0, 0, false}};
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
    static void startExam(bool showScore,
                          const std::function<void()>& build = mod_Exam::BuildExamQuestions) {
        CurrentExam = BlankExam;
        CurrentExam.Title = "Practice";
        CurrentExam.Minutes = "10";
        CurrentExam.RemainingText = "00:00:00";
        CurrentExam.TimerOn = true;
        CurrentExam.Groups = std::vector<std::int16_t>{51};
        CurrentExam.ShowScore = showScore;
        CurrentExam.AnswerMode = 2;
        build();
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
        asked.reserve(QuestionStatsTable.size());
        for (const QuestionStats& s : QuestionStatsTable)
            asked.push_back(s.TimesAsked);
        return asked;
    }
};

using GradingTest = ExamSessionTest;
using Counts = std::vector<std::int32_t>;

}  // namespace

TEST_F(GradingTest, AnswerKeysHoldTheCorrectChoicesCaptionOrText) {
    QuestionBank.push_back(question(4, 1, "0<f><f>A<f>x<c>x<f><f>B"));  // no correct choice
    QuestionBank.push_back(question(5, 2, "1<f>short"));                // too few fields
    CurrentExam.Questions = {asked(1), asked(2), asked(3), asked(4), asked(5), asked(0)};
    (*CurrentExam.Questions)[3].AnswerKey = Texts{"old"};
    (*CurrentExam.Questions)[1].AnswerKey = Texts{"X", "Y", "Z"};
    mod_Exam::BuildAnswerKey();
    const auto& q = *CurrentExam.Questions;
    EXPECT_EQ(q[0].AnswerKey, Texts{"B"});
    EXPECT_EQ(q[1].AnswerKey, (Texts{"A", "C"}));  // a previous key is discarded
    EXPECT_EQ(q[2].AnswerKey, Texts{"Hello World"});
    EXPECT_EQ(q[3].AnswerKey, Texts{"old"});  // kept: nothing is correct
    EXPECT_EQ(q[4].AnswerKey, Texts{""});
    EXPECT_FALSE(q[5].AnswerKey);
}

TEST_F(GradingTest, AnswerCheckingOfTheThreeTypes) {
    const Texts ac{"A", "C"};
    EXPECT_TRUE(mod_Exam::IsAnswerCorrect(ac, Texts{"C", "A"}, 2));
    EXPECT_FALSE(mod_Exam::IsAnswerCorrect(ac, Texts{"A"}, 2));
    EXPECT_FALSE(mod_Exam::IsAnswerCorrect(ac, Texts{"A", "B", "C"}, 2));
    EXPECT_FALSE(mod_Exam::IsAnswerCorrect(ac, Texts{"A", "c"}, 2));
    EXPECT_TRUE(mod_Exam::IsAnswerCorrect(Texts{"B"}, Texts{"B"}, 1));
    EXPECT_FALSE(mod_Exam::IsAnswerCorrect(Texts{"B"}, Texts{"A"}, 1));

    const Texts words{"Hello World"};
    for (const char* given : {"hello world", "  HELLO   world ", "Hello  World"})
        EXPECT_TRUE(mod_Exam::IsAnswerCorrect(words, Texts{given}, 6)) << given;
    EXPECT_FALSE(mod_Exam::IsAnswerCorrect(words, Texts{"HelloWorld"}, 6));
    EXPECT_TRUE(mod_Exam::IsAnswerCorrect(Texts{"a", "b"}, Texts{"A", " b"}, 6));
    EXPECT_FALSE(mod_Exam::IsAnswerCorrect(Texts{"a", "b"}, Texts{"b", "a"}, 6));

    EXPECT_FALSE(mod_Exam::IsAnswerCorrect(Texts{"B"}, Texts{"B"}, 3));
    EXPECT_FALSE(mod_Exam::IsAnswerCorrect(std::nullopt, std::nullopt, 1));
    EXPECT_FALSE(mod_Exam::IsAnswerCorrect(Texts{"B"}, std::nullopt, 1));
}

TEST_F(GradingTest, PercentIsTheTruncatedQuotientAndOnlyRealQuestionsCount) {
    const auto grade = [](int correct, int total) {
        std::vector<QuestionState> states(static_cast<std::size_t>(total), asked(1, Texts{"A"}));
        for (int k = 0; k < correct; ++k)
            states[static_cast<std::size_t>(k)].GivenAnswers = Texts{"B"};
        CurrentExam.Questions = states;
        mod_Exam::BuildAnswerKey();
        mod_Exam::GradeExam();
    };
    grade(29, 50);
    EXPECT_EQ(CurrentExam.PercentText, "57%");  // 0.58 * 100 is just below 58
    EXPECT_EQ(CurrentExam.ScoreText, "Score : 57% (29/50)");
    grade(3, 4);
    EXPECT_EQ(CurrentExam.ScoreText, "Score : 75% (3/4)");
    EXPECT_EQ(CurrentExam.Wrong, 1);
    grade(2, 3);
    EXPECT_EQ(CurrentExam.PercentText, "66%");

    // Unanswered questions count as asked; the placeholder only in the total.
    QuestionStatsTable[0] = {1, 0, 0, 0, false};
    CurrentExam.Questions = {asked(1)};
    mod_Exam::GradeExam();
    EXPECT_EQ(CurrentExam.Total, 1);
    EXPECT_EQ(CurrentExam.Unanswered, 1);
    EXPECT_EQ(CurrentExam.PercentText, "0%");
    EXPECT_EQ(rowsOf(QuestionStatsTable)[0], (std::array<std::int32_t, 4>{1, 0, 0, 0}));

    CurrentExam.Questions = {QuestionState{}};
    mod_Exam::GradeExam();
    EXPECT_EQ(CurrentExam.Total, 1);
    EXPECT_EQ(CurrentExam.Correct + CurrentExam.Wrong + CurrentExam.Unanswered, 0);
    EXPECT_EQ(CurrentExam.ScoreText, "Score : 0% (0/1)");
}

TEST_F(GradingTest, GradingOutsideAnExamCountsEveryTimeAndRewritesTheStatistics) {
    CurrentExam.Questions = {asked(1, Texts{"B"}), asked(2, Texts{"A"}), asked(3)};
    mod_Exam::BuildAnswerKey();
    mod_Exam::GradeExam();
    mod_Exam::GradeExam();
    EXPECT_EQ(rowsOf(QuestionStatsTable), (Rows{{2, 2, 0, 0}, {2, 0, 2, 0}, {2, 0, 0, 0}}));
    std::vector<QuestionStats> stored;
    EXPECT_TRUE(mod_System::ReadSignedFile(AppPaths::ResourceDat(), [&](formats::BinaryReader& in) {
        stored = mod_Question::ReadStatsBody(in, QuestionBank.size());
    }));
    EXPECT_TRUE(mod_System::IsFileSignatureValid());
    EXPECT_EQ(rowsOf(stored), rowsOf(QuestionStatsTable));

    mod_Exam::UpdateQuestionStats(3, "wrong");
    mod_Exam::UpdateQuestionStats(3, "Wrong");
    mod_Exam::UpdateQuestionStats(99, "wrong");
    EXPECT_EQ(rowsOf(QuestionStatsTable)[2], (std::array<std::int32_t, 4>{2, 0, 1, 0}));

    // Counters read at their largest value stay there instead of overflowing.
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    QuestionStatsTable[0] = {1, kMax, kMax, kMax, false};
    mod_Exam::GradeExam();
    EXPECT_EQ(rowsOf(QuestionStatsTable)[0], (std::array<std::int32_t, 4>{kMax, kMax, kMax, 0}));
    boxes.expectNone();
}

TEST_F(ExamSessionTest, OpeningANewOrResumedExamSetsDateClockAndPosition) {
    startExam(false);
    EXPECT_GT(CurrentExam.ExamDate, 40000.0);
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 600);
    EXPECT_EQ(CurrentExam.Questions->at(1).AnswerKey, (Texts{"A", "C"}));

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
              Texts{std::string(exam::kMaxFillInLength, 'x')});
    ASSERT_TRUE(CurrentExamSession.RecordAnswer("a, b", true));
    EXPECT_EQ(CurrentExamSession.CurrentState()->GivenAnswers, (Texts{"a", " b"}));
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

TEST_F(ExamSessionTest, OnlyEvaluatingCountsAndReviewNeverCountsAgain) {
    startExam(true, [] {  // a random exam whose draws keep the bank order
        CurrentExam.Randomize = true;
        mod_Exam::SetRandomDraw([] { return 0.0f; });
        mod_Exam::BuildExamQuestions();
    });
    EXPECT_EQ(CurrentExam.ScoreText, "Score : 0% (0/3)");
    answerSome();
    EXPECT_EQ(CurrentExam.ScoreText, "Score : 33% (1/3)");
    ASSERT_TRUE(CurrentExamSession.Save(savePath));  // the save button during the exam
    EXPECT_EQ(timesAsked(), (Counts{0, 0, 0}));
    EXPECT_FALSE(std::filesystem::exists(AppPaths::ResourceDat()));
    const CurrentExamRecord saved = CurrentExam;
    ASSERT_TRUE(mod_Exam::LoadSavedExam(savePath));
    EXPECT_EQ(CurrentExam, saved);

    ASSERT_TRUE(CurrentExamSession.GradeAndRecord());
    CurrentExamSession.EnterReview();
    EXPECT_FALSE(CurrentExamSession.RecordAnswer("B", false));
    EXPECT_FALSE(CurrentExamSession.ClearAnswer());
    EXPECT_FALSE(CurrentExamSession.TickClock());
    const CurrentExamRecord recorded = CurrentExam;
    EXPECT_EQ(CurrentExamSession.Close(), savePath);
    EXPECT_EQ(CurrentExam, BlankExam);
    // Counted once; the question marked for review became a bookmark.
    EXPECT_EQ(rowsOf(QuestionStatsTable), (Rows{{1, 1, 0, 0}, {1, 0, 1, 1}, {1, 0, 0, 0}}));

    // Reopened from the history for review: opening grades for the score, nothing counts.
    ASSERT_TRUE(mod_Performance::HasPerformanceHistory());
    EXPECT_EQ(PerformanceHistory.back().ScoreText, recorded.ScoreText);
    ASSERT_TRUE(mod_Performance::OpenPerformanceRecord(0));
    EXPECT_EQ(CurrentExam, recorded);
    ASSERT_TRUE(CurrentExamSession.Open(ExamOpening::kReview));
    CurrentExamSession.EnterReview();
    EXPECT_EQ(CurrentExam.ScoreText, "Score : 33% (1/3)");
    EXPECT_EQ(timesAsked(), (Counts{1, 1, 1}));
    boxes.expectNone();
}

TEST_F(ExamSessionTest, ASavedExamCountsOnceWhenGradedAndCarriesItsTimeAcrossTheSave) {
    using namespace std::chrono_literals;
    startExam(false, [] {  // a custom exam of all three questions
        CurrentExam.IsCustom = true;
        CurrentExam.Objectives =
            std::vector<ObjectiveCount>{{true, "routing", 2, 0, 0}, {true, "Switching", 1, 0, 0}};
        mod_Exam::BuildCustomExamQuestions();
    });
    answerSome();
    clock.Advance(90s);
    EXPECT_FALSE(CurrentExamSession.SaveAndEnd({}));  // save dialog cancelled
    EXPECT_TRUE(CurrentExamSession.InProgress());
    ASSERT_TRUE(CurrentExamSession.RecordAnswer("A", true));

    ASSERT_TRUE(CurrentExamSession.SaveAndEnd(savePath));
    EXPECT_EQ(timesAsked(), (Counts{0, 0, 0}));
    EXPECT_EQ(CurrentExam.RemainingText, "00:08:30");
    EXPECT_EQ(CurrentExam.ElapsedText, "00:01:30");
    const CurrentExamRecord saved = CurrentExam;
    EXPECT_EQ(CurrentExamSession.Close(), savePath);
    clock.Advance(1h);  // away from the exam

    ASSERT_TRUE(mod_Exam::LoadSavedExam(savePath));
    EXPECT_EQ(CurrentExam, saved);
    EXPECT_EQ(CurrentExam.StartIndex, 1);
    ASSERT_TRUE(CurrentExamSession.Open(ExamOpening::kResumed, savePath));
    EXPECT_EQ(CurrentQuestionIndex, 1);
    clock.Advance(30s);
    ASSERT_TRUE(CurrentExamSession.GradeAndRecord());
    EXPECT_EQ(timesAsked(), (Counts{1, 1, 1}));
    EXPECT_EQ(QuestionStatsTable[1].WrongCount, 1);
    EXPECT_EQ(CurrentExam.ElapsedText, "00:02:00");

    // An untimed exam carries its stored elapsed time.
    CurrentExam = saved;
    CurrentExam.Minutes = "0";
    CurrentExam.RemainingText = "00:00:40";
    CurrentExam.ElapsedText = "00:00:45";
    ASSERT_TRUE(CurrentExamSession.Open(ExamOpening::kResumed, savePath));
    clock.Advance(5s);
    CurrentExamSession.TickElapsed();
    EXPECT_EQ(CurrentExam.RemainingText, "00:00:45");
    EXPECT_EQ(CurrentExam.ElapsedText, "00:00:50");
}

TEST_F(ExamSessionTest, TheClockMeasuresTimeNotTicksAndHoldsWhilePausedOrStopped) {
    using namespace std::chrono_literals;
    startExam(false);
    clock.Advance(6500ms);  // a stall: one late tick
    EXPECT_FALSE(CurrentExamSession.TickClock());
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 594);  // a second shows while part of it is left
    ASSERT_TRUE(CurrentExamSession.Pause());
    clock.Advance(1min);
    CurrentExamSession.Resume();
    clock.Advance(500ms);
    EXPECT_FALSE(CurrentExamSession.TickClock());
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 593);
    CurrentExamSession.StopClock();
    clock.Advance(1min);
    EXPECT_FALSE(CurrentExamSession.TickClock());
    CurrentExamSession.ResumeClock();
    CurrentExamSession.TickElapsed();
    EXPECT_EQ(CurrentExam.RemainingText, "00:09:53");
    EXPECT_EQ(CurrentExam.ElapsedText, "00:02:07");  // pauses included

    clock.Advance(592999ms);
    EXPECT_FALSE(CurrentExamSession.TickClock());
    EXPECT_TRUE(CurrentExamSession.AcceptsAnswers());
    clock.Advance(1ms);
    EXPECT_TRUE(CurrentExamSession.TickClock());
    EXPECT_FALSE(CurrentExamSession.AcceptsAnswers());
    EXPECT_FALSE(CurrentExamSession.TickClock());
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 0);
}
