#pragma once

#include <functional>

class QWidget;

// The end-of-exam dialog. While the evaluation window is loaded it comes forward instead.
namespace mod_Exam {

// Why the dialog opens; also the ExamEndTexts element of its message.
inline constexpr int kTimeUpReason = 6;
inline constexpr int kEvaluateReason = 7;
inline constexpr int kEndReason = 8;  // also closing the main window

// Returns once the dialog is closed. While the dialog is already open (the clock ran out
// behind it) only its message and preselected option change.
void ShowExamEnd(int reason);

// Opens the evaluation window once the evaluate option has recorded the exam:
// evaluation::LoadEvaluationWindow unless replaced (tests install a stand-in; an empty one
// restores it). Returns the previous loader.
using EvaluationWindowLoader = std::function<void()>;
EvaluationWindowLoader SetEvaluationWindowLoader(EvaluationWindowLoader loader);

// The exam window's save button: an open end dialog is unloaded, the exam is saved to its
// file or to one the user chooses, then the notice after saving follows unless the user
// silenced it. The exam goes on. False when cancelled or failed (failures are reported).
bool SaveRunningExam(QWidget* owner);

}  // namespace mod_Exam
