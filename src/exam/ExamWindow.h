#pragma once

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

}  // namespace exam
