#pragma once

#include <cstdint>

// Puts the exam of CurrentExam on frm_Exam's controls and records the user's answers.
namespace mod_MyCurrentExam {

// Shows question n of CurrentExam.Questions (callers set CurrentQuestionIndex first).
void ShowQuestion(std::int16_t n);

}  // namespace mod_MyCurrentExam
