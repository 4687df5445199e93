#pragma once

#include <cstdint>

// Puts the exam of CurrentExam on frm_Exam's controls and records the user's answers. Every
// operation acts on the open exam window and does nothing without one.
namespace mod_MyCurrentExam {

// Shows question n of CurrentExam.Questions and makes it the current position. A question
// whose id is not in the bank shows an empty, disabled view that records nothing.
// While the notes panel is shown, the note of the question left is saved first and the
// new question's note loaded after.
void ShowQuestion(std::int16_t n);

// Loads the shown question's note into the notes panel; a blank page when none is shown.
void ShowQuestionNotes();

// Stores the mark and the answer the controls show into the shown question, then refreshes
// the counts, the controls, the results list (while shown) and the score (when shown).
void RecordAnswer();

// Leaves the status list and shows the question at CurrentQuestionIndex again.
void ReturnToQuestion();

// The three count links and the three plain counts.
void RefreshStatusCounts();

// Rebuilds the results list on tab 2 with an icon per question: unanswered, correct, wrong.
void FillQuestionList();
// The icon of the results list's row of one exam position. A list the user has sorted is
// rebuilt instead, which puts it back in exam order as every refill does.
void UpdateQuestionListRow(int position);

}  // namespace mod_MyCurrentExam
