#include "exam/ExamGrades.h"

#include <cmath>

namespace exam {

std::string GradedPercentText(std::int32_t correct, std::int32_t total) {
    const double share =
        total == 0 ? 0.0 : static_cast<double>(correct) / static_cast<double>(total);
    return std::to_string(static_cast<int>(std::trunc(share * 100.0))) + "%";
}

std::string GradedScoreText(std::int32_t correct, std::int32_t total) {
    return "Score : " + GradedPercentText(correct, total) + " (" + std::to_string(correct) + "/" +
           std::to_string(total) + ")";
}

bool HasOwnGrades(const CurrentExamRecord& exam) {
    const std::size_t questions = exam.Questions ? exam.Questions->size() : 0;
    const auto withinTotal = [&exam](std::int32_t count) {
        return count >= 0 && count <= exam.Total;
    };
    return exam.Total >= 0 && static_cast<std::size_t>(exam.Total) == questions &&
           withinTotal(exam.Correct) && withinTotal(exam.Wrong) && withinTotal(exam.Unanswered) &&
           withinTotal(exam.Correct + exam.Wrong + exam.Unanswered) &&
           exam.PercentText == GradedPercentText(exam.Correct, exam.Total) &&
           exam.ScoreText == GradedScoreText(exam.Correct, exam.Total);
}

}  // namespace exam
