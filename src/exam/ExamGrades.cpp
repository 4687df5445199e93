#include "exam/ExamGrades.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "exam/QuestionLookup.h"
#include "exam/mod_Exam.h"

namespace exam {

namespace {

// The counts grading can have given a record's questions. Those of the bank are graded now;
// one the bank no longer holds was graded under a type that is gone with it, or not at all.
struct PossibleCounts {
    std::int32_t correct = 0;
    std::int32_t wrong = 0;
    std::int32_t unanswered = 0;
    std::int32_t goneUnanswered = 0;
    std::int32_t goneAnswered = 0;
    std::int32_t goneAcceptable = 0;  // answered, and right under some answer type

    [[nodiscard]] bool Allow(const CurrentExamRecord& exam) const {
        // What the questions gone from the bank must have counted.
        const std::int32_t gotRight = exam.Correct - correct;
        const std::int32_t gotWrong = exam.Wrong - wrong;
        const std::int32_t leftOpen = exam.Unanswered - unanswered;
        return gotRight >= 0 && gotWrong >= 0 && leftOpen >= 0 && leftOpen <= goneUnanswered &&
               gotRight <= goneAcceptable && gotRight + gotWrong <= goneAnswered;
    }
};

bool rightUnderSomeType(const QuestionState& state) {
    constexpr std::array kTypes = {kSingleAnswerType, kMultipleAnswerType, kFillInAnswerType};
    return std::any_of(kTypes.begin(), kTypes.end(), [&state](std::int16_t type) {
        return mod_Exam::IsAnswerCorrect(state.AnswerKey, state.GivenAnswers, type);
    });
}

PossibleCounts possibleCountsOf(const std::vector<QuestionState>& questions) {
    PossibleCounts counts;
    QuestionLookup lookup;
    for (const QuestionState& state : questions) {
        const QuestionRecord* question = lookup.Question(state.QuestionID);
        if (question == nullptr) {
            if (!state.GivenAnswers) {
                ++counts.goneUnanswered;
            } else {
                ++counts.goneAnswered;
                if (rightUnderSomeType(state)) ++counts.goneAcceptable;
            }
            continue;
        }
        switch (GradeQuestion(state, question)) {
            case QuestionGrade::kUnanswered:
                ++counts.unanswered;
                break;
            case QuestionGrade::kCorrect:
                ++counts.correct;
                break;
            case QuestionGrade::kWrong:
                ++counts.wrong;
                break;
            case QuestionGrade::kUncounted:
                break;
        }
    }
    return counts;
}

}  // namespace

std::string GradedPercentText(std::int32_t correct, std::int32_t total) {
    const double share =
        total == 0 ? 0.0 : static_cast<double>(correct) / static_cast<double>(total);
    return std::to_string(static_cast<int>(std::trunc(share * 100.0))) + "%";
}

std::string GradedScoreText(std::int32_t correct, std::int32_t total) {
    return "Score : " + GradedPercentText(correct, total) + " (" + std::to_string(correct) + "/" +
           std::to_string(total) + ")";
}

QuestionGrade GradeQuestion(const QuestionState& state, const QuestionRecord* question) {
    if (question == nullptr) return QuestionGrade::kUncounted;
    if (!state.GivenAnswers) return QuestionGrade::kUnanswered;
    return mod_Exam::IsAnswerCorrect(state.AnswerKey, state.GivenAnswers, question->QuestionType)
               ? QuestionGrade::kCorrect
               : QuestionGrade::kWrong;
}

bool HasOwnGrades(const CurrentExamRecord& exam) {
    static const std::vector<QuestionState> kNone;
    const std::vector<QuestionState>& questions = exam.Questions ? *exam.Questions : kNone;
    return exam.Total >= 0 && static_cast<std::size_t>(exam.Total) == questions.size() &&
           possibleCountsOf(questions).Allow(exam) &&
           exam.PercentText == GradedPercentText(exam.Correct, exam.Total) &&
           exam.ScoreText == GradedScoreText(exam.Correct, exam.Total);
}

}  // namespace exam
