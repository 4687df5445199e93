#include <gtest/gtest.h>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/QuestionBank.h"
#include "core/mod_Question.h"
#include "core/mod_System.h"
#include "exam/CurrentExam.h"
#include "exam/mod_Exam.h"
#include "support/SampleArchives.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;
using Texts = std::vector<std::string>;

namespace {

QuestionRecord question(std::int32_t id, std::int16_t type, std::string choices) {
    QuestionRecord q;
    q.QuestionID = id;
    q.GroupCode = 51;
    q.QuestionType = type;
    q.Choices = std::move(choices);
    return q;
}

QuestionStats fresh(std::int32_t id) {
    QuestionStats s;
    s.QuestionID = id;
    return s;
}

QuestionState asked(std::int32_t id, std::optional<Texts> given = std::nullopt) {
    QuestionState state;
    state.QuestionID = id;
    state.GivenAnswers = std::move(given);
    return state;
}

struct GradingTest : ::testing::Test {
    TempProgramFolder folder;
    ScriptedMessageBoxes boxes;

    void SetUp() override {
        AbortFlag = false;
        SystemVars = MinimalSystemVars();
        DataKey = KeyOf(SystemVars);
        QuestionBank = {question(1, 1, "1<f><f>A<f>yes<c>0<f><f>B<f>no"),
                        question(2, 2, "1<f><f>A<f>a<c>0<f><f>B<f>b<c>1<f><f>C<f>c"),
                        question(3, 6, "1<f><f>1<f>Hello World")};
        QuestionStatsTable = {fresh(1), fresh(2), fresh(3)};
        CurrentExam = BlankExam;
    }
    void TearDown() override {
        QuestionBank.clear();
        QuestionStatsTable.clear();
        CurrentExam = BlankExam;
        AbortFlag = false;
    }

    static std::vector<QuestionStats> storedStats() {
        std::vector<QuestionStats> stored;
        EXPECT_TRUE(
            mod_System::ReadSignedFile(AppPaths::ResourceDat(), [&](formats::BinaryReader& in) {
                stored = mod_Question::ReadStatsBody(in, QuestionBank.size());
            }));
        EXPECT_TRUE(mod_System::IsFileSignatureValid());
        return stored;
    }
};

bool sameCounts(const QuestionStats& s, std::int32_t asked, std::int32_t correct,
                std::int32_t wrong) {
    return s.TimesAsked == asked && s.CorrectCount == correct && s.WrongCount == wrong;
}

bool sameTables(const std::vector<QuestionStats>& a, const std::vector<QuestionStats>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.QuestionID == y.QuestionID &&
               sameCounts(x, y.TimesAsked, y.CorrectCount, y.WrongCount) &&
               x.Bookmarked == y.Bookmarked;
    });
}

}  // namespace

TEST_F(GradingTest, AnswerKeysHoldTheCorrectChoicesCaptionOrText) {
    QuestionBank.push_back(question(4, 1, "0<f><f>A<f>x<c>x<f><f>B"));  // no correct choice
    QuestionBank.push_back(question(5, 2, "1<f>short"));                // too few fields
    CurrentExam.Questions = {asked(1), asked(2), asked(3), asked(4), asked(5), asked(0)};
    (*CurrentExam.Questions)[3].AnswerKey = Texts{"old"};
    (*CurrentExam.Questions)[1].AnswerKey = Texts{"X", "Y", "Z"};
    mod_Exam::BuildAnswerKey();
    const auto& q = *CurrentExam.Questions;
    EXPECT_EQ(q[0].AnswerKey, Texts{"A"});
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

TEST_F(GradingTest, PercentIsTheTruncatedQuotientTimesOneHundred) {
    const auto grade = [](int correct, int total) {
        std::vector<QuestionState> states(static_cast<std::size_t>(total), asked(1, Texts{"B"}));
        for (int k = 0; k < correct; ++k)
            states[static_cast<std::size_t>(k)].GivenAnswers = Texts{"A"};
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
}

TEST_F(GradingTest, UnansweredAndPlaceholderQuestionsCountOnlyWhereTheyShould) {
    CurrentExam.Questions = {asked(1)};
    mod_Exam::GradeExam();
    EXPECT_EQ(CurrentExam.Total, 1);
    EXPECT_EQ(CurrentExam.Unanswered, 1);
    EXPECT_EQ(CurrentExam.PercentText, "0%");
    EXPECT_TRUE(sameCounts(QuestionStatsTable[0], 1, 0, 0));

    CurrentExam.Questions = {QuestionState{}};
    mod_Exam::GradeExam();
    EXPECT_EQ(CurrentExam.Total, 1);
    EXPECT_EQ(CurrentExam.Correct + CurrentExam.Wrong + CurrentExam.Unanswered, 0);
    EXPECT_EQ(CurrentExam.ScoreText, "Score : 0% (0/1)");
}

TEST_F(GradingTest, GradingOutsideAnExamCountsEveryTimeAndRewritesTheStatistics) {
    CurrentExam.Questions = {asked(1, Texts{"A"}), asked(2, Texts{"A"}), asked(3)};
    mod_Exam::BuildAnswerKey();
    mod_Exam::GradeExam();
    mod_Exam::GradeExam();
    EXPECT_TRUE(sameCounts(QuestionStatsTable[0], 2, 2, 0));
    EXPECT_TRUE(sameCounts(QuestionStatsTable[1], 2, 0, 2));
    EXPECT_TRUE(sameCounts(QuestionStatsTable[2], 2, 0, 0));
    EXPECT_TRUE(sameTables(storedStats(), QuestionStatsTable));

    mod_Exam::UpdateQuestionStats(3, "wrong");
    mod_Exam::UpdateQuestionStats(3, "Wrong");
    mod_Exam::UpdateQuestionStats(99, "wrong");
    EXPECT_TRUE(sameCounts(QuestionStatsTable[2], 2, 0, 1));
    boxes.expectNone();
}
