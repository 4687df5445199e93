#pragma once

#include <cstdint>
#include <string>

#include "core/QuestionBank.h"
#include "exam/CurrentExam.h"

// The results grading stores in an exam record, and whether a stored record's are its own.
namespace exam {

// The whole percentage followed by "%": 29 of 50 gives "57%" (the quotient first, then
// truncated); "0%" without questions.
std::string GradedPercentText(std::int32_t correct, std::int32_t total);
// "Score : 57% (29/50)".
std::string GradedScoreText(std::int32_t correct, std::int32_t total);

// Where grading counts one question of an exam.
enum class QuestionGrade { kUncounted, kUnanswered, kCorrect, kWrong };
// `question` is the bank's question of the state's id: one the bank lacks counts in the total
// only.
[[nodiscard]] QuestionGrade GradeQuestion(const QuestionState& state,
                                          const QuestionRecord* question);

// Whether the record's results are what grading it could have stored: the total its number of
// questions, the counts those of its own answers graded against its own answer keys, and the
// two texts those counts give. A question the bank no longer holds may have counted in any way
// its answers allow, or not at all (it was not in the bank then either).
[[nodiscard]] bool HasOwnGrades(const CurrentExamRecord& exam);

}  // namespace exam
