#pragma once

#include <cstdint>
#include <filesystem>

#include "exam/ExamSession.h"

class frm_Exam;

namespace exam {

// Opens frm_Exam over the main screen for CurrentExam (filled and built by the caller).
// Does nothing and returns nullptr while an exam window is already open.
frm_Exam* LoadExamWindow(ExamOpening opening, const std::filesystem::path& savePath = {});

// The open exam window, or nullptr.
frm_Exam* ExamWindow();

// Unloads the exam window in its documented order; nothing when none is open.
void UnloadExamWindow();

// Review of the graded exam: both clocks stop, the session closes its answers, the answer
// panel goes, the explanation and results tabs show (the results tab captioned with the
// score line), and the end, save and pause buttons are disabled.
void ShowReviewMode();

// Another window's list picked the question at 0-based `position` (-1: none): the results
// list gives way to the question, which is shown on the first tab.
void ShowQuestionFromList(std::int32_t position);

// Brings the exam window (and the window holding it) to the front.
void RaiseExamWindow();

}  // namespace exam
