#pragma once

namespace mod_Evaluate {

// Turns the open exam window from a running exam into a review of the graded one (see
// exam::ShowReviewMode); without a window only the session closes its answers. Nothing
// turns it back: it lasts until the window unloads.
void SetExamReviewMode();

}  // namespace mod_Evaluate
