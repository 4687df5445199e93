#pragma once

#include <cstdint>
#include <string>

#include "exam/CurrentExam.h"

// The results grading stores in an exam record, and whether a stored record's are its own.
namespace exam {

// The whole percentage followed by "%": 29 of 50 gives "57%" (the quotient first, then
// truncated); "0%" without questions.
std::string GradedPercentText(std::int32_t correct, std::int32_t total);
// "Score : 57% (29/50)".
std::string GradedScoreText(std::int32_t correct, std::int32_t total);

// Whether the record's results are what grading it could have stored: the total its number of
// questions, each count within 0 and the total, the three together within it (questions that
// have left the bank count in the total only) and the two texts those counts give.
[[nodiscard]] bool HasOwnGrades(const CurrentExamRecord& exam);

}  // namespace exam
