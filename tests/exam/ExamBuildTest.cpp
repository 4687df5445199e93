#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/QuestionBank.h"
#include "exam/CurrentExam.h"
#include "exam/QuestionLookup.h"
#include "exam/mod_Exam.h"

namespace {

QuestionRecord question(std::int32_t id, std::int16_t group, std::string topic,
                        std::int16_t level = 1) {
    QuestionRecord q;
    q.QuestionID = id;
    q.GroupCode = group;
    q.Topic = std::move(topic);
    q.Level = level;
    q.QuestionType = kSingleAnswerType;
    return q;
}

std::vector<std::int32_t> examIds() {
    std::vector<std::int32_t> ids;
    for (const QuestionState& state : CurrentExam.Questions.value())
        ids.push_back(state.QuestionID);
    return ids;
}

struct ExamBuildTest : ::testing::Test {
    void SetUp() override {
        QuestionBank = {
            question(1, 51, "Routing", 1),   question(2, 52, "Routing", 1),
            question(3, 51, " routing ", 1), question(4, 51, "Routing", 3),
            question(5, 51, "Routing", 2),   question(6, 51, "Switching", 1),
            question(7, 51, "Rout ing", 1),  question(8, 51, "Routing", 1),
        };
        QuestionStatsTable.clear();
        CurrentExam = BlankExam;
        CurrentExam.Groups = std::vector<std::int16_t>{51};
    }
    void TearDown() override {
        mod_Exam::SetRandomDraw({});
        QuestionBank.clear();
        QuestionStatsTable.clear();
        exam::InvalidateQuestionLookup();
        CurrentExam = BlankExam;
    }
};

// The bank position a lookup found, -1 for none.
std::ptrdiff_t positionOf(std::int32_t id) {
    exam::QuestionLookup lookup;
    const QuestionRecord* q = lookup.Question(id);
    return q ? q - QuestionBank.data() : -1;
}

}  // namespace

TEST_F(ExamBuildTest, NaturalOrderKeepsBankOrderOfTheChosenGroups) {
    CurrentExam.Groups = std::vector<std::int16_t>{51, 99};
    mod_Exam::BuildExamQuestions();
    EXPECT_EQ(examIds(), (std::vector<std::int32_t>{1, 3, 4, 5, 6, 7, 8}));
    const QuestionState& fresh = CurrentExam.Questions->front();
    EXPECT_FALSE(fresh.AnswerKey || fresh.GivenAnswers || fresh.Marked);

    // No qualifying question leaves the id 0 placeholder.
    for (const auto& groups : {std::optional<std::vector<std::int16_t>>{{99}},
                               std::optional<std::vector<std::int16_t>>{}}) {
        CurrentExam.Groups = groups;
        mod_Exam::BuildExamQuestions();
        EXPECT_EQ(CurrentExam.Questions, std::vector<QuestionState>{QuestionState{}});
    }
}

TEST_F(ExamBuildTest, RandomOrderDrawsTheKthIdOfTheShrinkingPool) {
    CurrentExam.Randomize = true;
    CurrentExam.Groups = std::vector<std::int16_t>{51, 52};
    QuestionBank.resize(5);
    // Pool 1..5: 0.5 takes the 3rd (3); pool 1,2,4,5: 0.99 the 4th (5); then the first ones.
    mod_Exam::SetRandomDraw([draws = std::vector<float>{0.5f, 0.99f, 0, 0, 0}, k = 0]() mutable {
        return draws.at(k++);
    });
    mod_Exam::BuildExamQuestions();
    EXPECT_EQ(examIds(), (std::vector<std::int32_t>{3, 5, 1, 2, 4}));
}

TEST_F(ExamBuildTest, SeededRandomOrderOfALargeBankUsesEveryIdOnce) {
    CurrentExam.Randomize = true;
    for (std::int32_t id = 9; id <= 300; ++id)
        QuestionBank.push_back(question(id, 51, "Routing"));
    std::mt19937 engine(1);
    mod_Exam::SetRandomDraw([&engine] {
        return std::uniform_int_distribution<int>(0, (1 << 24) - 1)(engine) * 0x1p-24f;
    });
    mod_Exam::BuildExamQuestions();
    auto order = examIds();
    ASSERT_EQ(order.size(), 299u);  // all but question 2 of group 52
    EXPECT_FALSE(std::is_sorted(order.begin(), order.end()));
    std::sort(order.begin(), order.end());
    EXPECT_EQ(std::adjacent_find(order.begin(), order.end()), order.end());
}

TEST_F(ExamBuildTest, ARepeatedBankIdTakesItsFirstQuestionEachTime) {
    QuestionBank.push_back(question(2, 51, "Routing"));  // same id as question 2 of group 52
    mod_Exam::BuildExamQuestions();
    const auto ids = examIds();
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 2), 0);  // the first id 2 is of group 52
    QuestionBank[1].GroupCode = 51;
    mod_Exam::BuildExamQuestions();
    EXPECT_EQ(examIds(), (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 2}));
}

TEST_F(ExamBuildTest, ASwappedBankNeverYieldsAStaleLookupPosition) {
    const auto full = QuestionBank;
    EXPECT_EQ(positionOf(2), 1);
    QuestionBank = {question(3, 51, "a"), question(2, 51, "b")};  // the custom tab's copy
    EXPECT_EQ(positionOf(2), 1);
    EXPECT_EQ(positionOf(1), -1);
    EXPECT_EQ(positionOf(3), 0);

    QuestionBank.resize(full.size());  // same size as the full bank, other ids
    QuestionBank[0].QuestionID = 2;
    QuestionBank[5].QuestionID = 9;
    EXPECT_EQ(positionOf(2), 0);
    EXPECT_EQ(positionOf(9), 5);

    QuestionBank[0].QuestionID = 7;  // edited in place
    EXPECT_EQ(positionOf(2), 1);
    EXPECT_EQ(positionOf(7), 0);

    QuestionBank = full;
    exam::InvalidateQuestionLookup();
    EXPECT_EQ(positionOf(2), 1);
    EXPECT_EQ(positionOf(9), -1);
}

TEST_F(ExamBuildTest, CustomQuotasTakeTheFirstQuestionsPerLevel) {
    CurrentExam.Objectives =
        std::vector<ObjectiveCount>{{true, "ROUTING", 2, 0, 1}, {false, "Switching", 5, 5, 5}};
    mod_Exam::BuildCustomExamQuestions();
    // Case and surrounding blanks do not matter ("routing" of question 3); inner ones do.
    EXPECT_EQ(examIds(), (std::vector<std::int32_t>{1, 3, 4}));

    CurrentExam.Objectives->push_back({true, "routing", 1, 1, 0});
    mod_Exam::BuildCustomExamQuestions();
    EXPECT_EQ(examIds(), (std::vector<std::int32_t>{1, 1, 3, 4, 5}));  // two rows, taken twice
}

TEST_F(ExamBuildTest, SmartModeKeepsQuestionsWithEnoughPastResults) {
    CurrentExam.Objectives = std::vector<ObjectiveCount>{{true, "Routing", 9, 9, 9}};
    // Id, correct, wrong: question 8 has no statistics record.
    QuestionStatsTable = {
        {1, 0, 2, 0, false}, {3, 0, 1, 0, false}, {4, 3, 5, 0, false}, {5, 1, 0, 0, false}};
    CurrentExam.SmartMode = true;
    CurrentExam.Smart0 = true;
    CurrentExam.Smart0Count = 2;
    mod_Exam::BuildCustomExamQuestions();
    EXPECT_EQ(examIds(), (std::vector<std::int32_t>{1, 4}));

    CurrentExam.Smart1 = true;
    CurrentExam.Smart1Count = 1;
    mod_Exam::BuildCustomExamQuestions();
    EXPECT_EQ(examIds(), (std::vector<std::int32_t>{1, 4, 5}));

    CurrentExam.Smart0Count = 0;
    CurrentExam.Smart1 = false;
    mod_Exam::BuildCustomExamQuestions();
    EXPECT_EQ(examIds(), (std::vector<std::int32_t>{0}));
}

TEST_F(ExamBuildTest, CountingFunctionsOfTheCustomScreens) {
    EXPECT_EQ(mod_Exam::GetObjectiveList({"51"}),
              (std::vector<std::string>{" routing ", "Rout ing", "Routing", "Switching"}));
    EXPECT_EQ(mod_Exam::GetObjectiveList({"5"}), std::vector<std::string>{""});
    EXPECT_EQ(mod_Exam::GetObjectiveList({" 52"}), std::vector<std::string>{""});

    EXPECT_EQ(mod_Exam::CountObjectiveQuestions({"51", "52"}, "  ROUTING", 1), 4);
    EXPECT_EQ(mod_Exam::CountObjectiveQuestions({"51"}, "routing", 3), 1);
    // Counted together in one pass, every objective and level gets what it gets alone.
    const std::vector<std::string> objectives = {"  ROUTING", "Switching", "routing", "None"};
    const auto together = mod_Exam::CountObjectiveQuestionsPerLevel({"51", "52"}, objectives);
    ASSERT_EQ(together.size(), objectives.size());
    for (std::size_t k = 0; k < objectives.size(); ++k)
        for (std::int16_t level = 1; level <= 3; ++level)
            EXPECT_EQ(together[k][static_cast<std::size_t>(level - 1)],
                      mod_Exam::CountObjectiveQuestions({"51", "52"}, objectives[k], level));

    EXPECT_EQ(mod_Exam::CountGroupQuestions("51,52", 1), 6);
    EXPECT_EQ(mod_Exam::CountGroupQuestions("51, 52", 1), 5);  // " 52" is no group
    EXPECT_EQ(mod_Exam::CountGroupQuestions("52", 2), 0);
}

// List cells ask for their question whenever they are painted, long after the lookup that
// filled them: a bank replaced (the custom tab's copy and back) or edited in place is found
// without anyone invalidating the index.
TEST_F(ExamBuildTest, FindQuestionFollowsTheBankWithoutBeingToldOfChanges) {
    const auto positionFound = [](std::int32_t id) -> std::ptrdiff_t {
        const QuestionRecord* q = exam::FindQuestion(id);
        return q ? q - QuestionBank.data() : -1;
    };
    const auto full = QuestionBank;
    EXPECT_EQ(positionFound(2), 1);
    QuestionBank = {question(3, 51, "a"), question(2, 51, "b")};
    EXPECT_EQ(positionFound(2), 1);
    EXPECT_EQ(positionFound(1), -1);

    QuestionBank[0].QuestionID = 2;  // edited in place: the first of two now
    QuestionBank[1].QuestionID = 8;
    EXPECT_EQ(positionFound(2), 0);
    EXPECT_EQ(positionFound(8), 1);
    EXPECT_EQ(positionFound(3), -1);

    QuestionBank = full;
    EXPECT_EQ(positionFound(8), 7);
    QuestionBank.clear();
    EXPECT_EQ(positionFound(8), -1);
}
