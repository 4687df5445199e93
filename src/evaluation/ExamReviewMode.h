#pragma once

class frm_Exam;

namespace mod_Evaluate {

// Turns the open exam window from a running exam into a review of the graded one: both
// clocks stop, the session closes its answers, the answer panel goes, the explanation and
// results tabs show (the results tab captioned with the score line), and the end, save and
// pause buttons are disabled. Nothing turns it back: it lasts until the window unloads.
void SetExamReviewMode();
void SetExamReviewMode(frm_Exam& exam);

}  // namespace mod_Evaluate
