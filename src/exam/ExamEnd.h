#pragma once

// The end-of-exam dialog. Reasons: 6 time up, 7 evaluate, 8 end (also closing the main
// window). While the evaluation window is loaded it comes forward instead.
namespace mod_Exam {

void ShowExamEnd(int reason);

}  // namespace mod_Exam
