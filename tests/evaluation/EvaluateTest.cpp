#include <gtest/gtest.h>

#include <algorithm>

#include "core/AbortFlag.h"
#include "core/DataKey.h"
#include "core/QuestionBank.h"
#include "core/mod_System.h"
#include "evaluation/mod_Evaluate.h"
#include "evaluation/mod_Performance.h"
#include "exam/CurrentExam.h"
#include "exam/QuestionLookup.h"
#include "support/SampleArchives.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;
using namespace mod_Evaluate;

namespace {

using Texts = std::vector<std::string>;

QuestionRecord question(std::int32_t id, std::string topic) {
    QuestionRecord q;
    q.QuestionID = id;
    q.Topic = std::move(topic);
    q.QuestionType = kSingleAnswerType;
    q.QuestionText = "Question " + std::to_string(id);
    return q;
}

// Key "A": answered "A" is correct, "B" wrong, nothing unanswered.
QuestionState state(std::int32_t id, std::optional<std::string> given) {
    return {.QuestionID = id,
            .AnswerKey = Texts{"A"},
            .GivenAnswers = given ? std::optional(Texts{*given}) : std::nullopt};
}

PerformanceSummary record(std::string path, std::string title, double examDate) {
    PerformanceSummary s;
    s.FilePath = std::move(path);
    s.Title = std::move(title);
    s.ExamDate = examDate;
    return s;
}

std::pair<int, int> score(std::string_view objective) {
    const ObjectiveScore s = ScoreObjective(objective);
    return {s.correct, s.total};
}

struct EvaluateTest : ::testing::Test {
    TempProgramFolder folder;
    ScriptedMessageBoxes boxes;

    void SetUp() override {
        AbortFlag = false;
        SystemVars = MinimalSystemVars();
        DataKey = KeyOf(SystemVars);
        for (int k = 0; k < 6; ++k)
            SystemVars.EvaluateTexts.at(k) = "band" + std::to_string(k);
        mod_Performance::InitPerformancePaths();
        CurrentExam = BlankExam;
    }
    void TearDown() override {
        QuestionBank.clear();
        ObjectiveNames.clear();
        CurrentExam = BlankExam;
        exam::InvalidateQuestionLookup();
    }
};

}  // namespace

TEST_F(EvaluateTest, RatingsAndScoresHaveTheirEdgesAndAScoreOfNothingShowsZeros) {
    const std::pair<int, const char*> bands[] = {
        {0, "band0"},  {39, "band0"},  {40, "band1"}, {59, "band1"}, {60, "band2"},
        {69, "band2"}, {70, "band3"},  {79, "band3"}, {80, "band4"}, {89, "band4"},
        {90, "band5"}, {100, "band5"}, {101, ""},     {-1, ""}};
    for (const auto& [percent, word] : bands)
        EXPECT_EQ(GetRating(percent), word) << percent;

    EXPECT_EQ(WholePercent(29, 50), 57);  // divided first, then truncated
    EXPECT_EQ(ScoreText(17, 20), "85% (17/20)");
    EXPECT_EQ(FilledWidth(2390, 3, 4), 1792.5f);
    // Pixels round halves to even: 119.5, 22.5 and 23.5 pixels.
    EXPECT_EQ(TwipsToPixels(1792.5), 120);
    EXPECT_EQ(TwipsToPixels(337.5), 22);
    EXPECT_EQ(TwipsToPixels(352.5), 24);

    EXPECT_EQ(ScoreText(0, 0), "0% (0/0)");
    EXPECT_EQ(ScoreRating(0, 0), "");
    EXPECT_EQ(FilledWidth(2390, 0, 0), 0.0f);
}

TEST_F(EvaluateTest, ThePreviousAttemptIsTheLastRecordOfTheSameExamStartedEarlier) {
    CurrentExam.Title = "Trial Exam";
    CurrentExam.ExamDate = 100;
    CurrentExam.PerformanceFile = "own";
    std::vector<PerformanceSummary> records = {
        record("a", "  trial EXAM ", 90),  // title differs in case and blanks only
        record("b", "Trial Exam", 80),     // earlier start, but recorded later: wins
        record("c", "Trial Exam", 100),    // same start: not earlier
        record("d", "Trial Exam", 120),    // started after this one
        record("own", "Trial Exam", 50),   // this attempt's own file
        record("e", "Final Exam", 10)};
    AttemptRecords found = FindAttempts(records, CurrentExam);
    EXPECT_EQ(found.previous, 1u);
    EXPECT_EQ(found.own, 4u);

    records.erase(records.begin() + 1);
    EXPECT_EQ(FindAttempts(records, CurrentExam).previous, 0u);
    records.erase(records.begin());
    found = FindAttempts(records, CurrentExam);
    EXPECT_FALSE(found.previous);
    EXPECT_EQ(found.own, 2u);
}

TEST_F(EvaluateTest, TheSummaryReadsTheIndexUncheckedAndSilently) {
    const auto& path = mod_Performance::PerformanceIndexPath;
    EXPECT_FALSE(ReadIndexForSummary());
    WriteFile(path, {});
    EXPECT_FALSE(ReadIndexForSummary());

    formats::BinaryWriter body;
    for (const auto& s : {record("p0", "Trial", 1), record("p1", "Final", 2)})
        mod_Performance::WriteSummary(body, s);
    ASSERT_TRUE(mod_System::WriteSignedFile(path, "1", body));
    formats::Bytes bytes = ReadFile(path);
    bytes.back() ^= 0x01;  // the footer's check text no longer matches
    WriteFile(path, bytes);
    const auto read = ReadIndexForSummary();
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 2u);
    EXPECT_EQ((*read)[1].FilePath, "p1");

    bytes.resize(bytes.size() / 2);
    WriteFile(path, bytes);
    EXPECT_FALSE(ReadIndexForSummary());
    EXPECT_EQ(mod_System::LastBodyError(), formats::ReadError::kCutShort);
    WriteFile(path, {0, 0, 0, 0, 0, 0, 1, 0, 'x'});  // a record number that is no number
    EXPECT_FALSE(ReadIndexForSummary());
    EXPECT_EQ(mod_System::LastBodyError(), formats::ReadError::kBadRecordIndex);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(AbortFlag);
}

TEST_F(EvaluateTest, ObjectivesAndResultsSkipQuestionsNoLongerInTheBank) {
    // Objectives b, A, c, a question no longer in the bank, then A, and two texts that
    // differ only in case.
    QuestionBank = {question(1, "b"),        question(2, "A"),       question(3, "c"),
                    question(4, "A"),        question(5, "A"),       question(6, "A"),
                    question(7, "security"), question(8, "Security")};
    ObjectiveNames = {"A", "b", "c", "Security", "security"};
    exam::InvalidateQuestionLookup();
    CurrentExam.Questions = std::vector<QuestionState>{state(1, "A"),  state(2, "A"), state(3, "B"),
                                                       state(99, "A"), state(4, "A"), state(5, "A"),
                                                       state(6, {}),   state(7, "A"), state(8, {})};
    Texts objectives = BuildObjectiveList();
    ASSERT_EQ(objectives.size(), 5u);
    // Security and security are two rows, next to each other.
    std::sort(objectives.begin() + 3, objectives.end());
    EXPECT_EQ(objectives, (Texts{"A", "b", "c", "Security", "security"}));
    EXPECT_EQ(score("A"), std::pair(3, 4));
    EXPECT_EQ(score("c"), std::pair(0, 1));
    EXPECT_EQ(score("security"), std::pair(1, 1));
    EXPECT_EQ(score("Security"), std::pair(0, 1));
    // Scored together in one pass, each objective keeps its own figures.
    const std::vector<ObjectiveScore> together = ScoreObjectives(objectives);
    ASSERT_EQ(together.size(), objectives.size());
    for (std::size_t k = 0; k < objectives.size(); ++k)
        EXPECT_EQ(std::pair(together[k].correct, together[k].total), score(objectives[k]));

    std::vector<std::size_t> positions;
    std::vector<ResultIcon> icons;
    for (const QuestionResult& result : QuestionResults()) {
        positions.push_back(result.position);
        icons.push_back(result.icon);
        EXPECT_EQ(QuestionBank[result.bankIndex].QuestionID,
                  (*CurrentExam.Questions)[result.position].QuestionID);
    }
    EXPECT_EQ(positions, (std::vector<std::size_t>{0, 1, 2, 4, 5, 6, 7, 8}));
    using enum ResultIcon;
    EXPECT_EQ(icons, (std::vector<ResultIcon>{kCorrect, kCorrect, kWrong, kCorrect, kCorrect,
                                              kUnanswered, kCorrect, kUnanswered}));
    EXPECT_EQ(FindQuestionByText("  QUESTION 4 "), 3u);
    EXPECT_FALSE(FindQuestionByText("Question 99"));
}

TEST_F(EvaluateTest, AnExamOfNoBankQuestionHasOneEmptyObjectiveScoredZero) {
    QuestionBank = {question(2, "A")};
    ObjectiveNames = {"A"};
    exam::InvalidateQuestionLookup();
    CurrentExam.Questions = std::vector<QuestionState>{QuestionState{}};
    EXPECT_EQ(BuildObjectiveList(), Texts{""});
    EXPECT_EQ(score(""), std::pair(0, 0));
    EXPECT_TRUE(QuestionResults().empty());

    // A question missing from the bank does not end the scan before the bank's only objective.
    CurrentExam.Questions = std::vector<QuestionState>{state(99, {}), state(2, "A")};
    EXPECT_EQ(BuildObjectiveList(), Texts{"A"});
}

TEST(EvaluateScrollTest, TheTableScrollsOnceItOutgrowsItsViewportBeyond16Bits) {
    constexpr std::int32_t outer = kObjectivesOuterHeight;
    EXPECT_EQ(ObjectivesInnerHeight(1), 2055);
    const ObjectivesScroll six = SetupObjectivesScroll(ObjectivesInnerHeight(6), outer);
    EXPECT_FALSE(six.enabled);
    EXPECT_EQ(ScrollValueAfterKey(six, 40), 0);

    ObjectivesScroll seven = SetupObjectivesScroll(ObjectivesInnerHeight(7), outer);
    ASSERT_TRUE(seven.enabled);
    EXPECT_EQ(seven.max, 410);
    EXPECT_EQ(seven.smallChange, 150);
    EXPECT_EQ(seven.largeChange, 4455);
    seven.value = 300;
    EXPECT_EQ(ScrollValueAfterKey(seven, 40), 410);
    EXPECT_EQ(ScrollValueAfterKey(seven, 65), 300);
    seven.value = 100;
    EXPECT_EQ(ScrollValueAfterKey(seven, 38), 0);
    seven.value = 410;
    EXPECT_EQ(ScrollValueAfterKey(seven, 33), 0);

    // 60 rows and more still scroll to their last row.
    EXPECT_EQ(SetupObjectivesScroll(ObjectivesInnerHeight(60), outer).max, 33005);
    ObjectivesScroll many = SetupObjectivesScroll(ObjectivesInnerHeight(500), outer);
    EXPECT_EQ(many.max, 615 * 500 - 3895);
    many.value = many.max - 10;
    EXPECT_EQ(ScrollValueAfterKey(many, 34), many.max);
}
