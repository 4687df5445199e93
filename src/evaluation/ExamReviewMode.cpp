#include "evaluation/ExamReviewMode.h"

#include "exam/ExamWindow.h"

namespace mod_Evaluate {

void SetExamReviewMode() {
    exam::ShowReviewMode();
}

}  // namespace mod_Evaluate
