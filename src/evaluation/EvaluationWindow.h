#pragma once

class frm_Evaluate;

namespace evaluation {

// Loads the evaluation window for the graded exam in CurrentExam (after recording it, or
// after reading a record of the history) and shows it over the main window; its load puts
// the exam window into review. A window already loaded is shown again instead.
frm_Evaluate* LoadEvaluationWindow();

// The loaded evaluation window, or nullptr.
frm_Evaluate* EvaluationWindow();

}  // namespace evaluation
