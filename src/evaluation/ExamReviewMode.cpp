#include "evaluation/ExamReviewMode.h"

#include <QTabWidget>
#include <QTimer>

#include "core/PictureButton.h"
#include "exam/CurrentExam.h"
#include "exam/ExamSession.h"
#include "exam/ExamWindow.h"
#include "exam/frm_Exam.h"
#include "platform/TextCodec.h"

namespace mod_Evaluate {

namespace {

void stop(QTimer* timer) {
    if (timer) timer->stop();
}

void disable(PictureButton* button) {
    if (!button) return;
    button->setEnabled(false);
    // Also when it was disabled already and saw no change of state.
    button->showLook(PictureButton::Look::Disabled);
}

}  // namespace

void SetExamReviewMode() {
    if (frm_Exam* exam = exam::ExamWindow())
        SetExamReviewMode(*exam);
    else
        exam::CurrentExamSession.EnterReview();
}

void SetExamReviewMode(frm_Exam& exam) {
    stop(exam.Timer1);
    stop(exam.Timer4);
    // The session is what answers and grading obey; the controls only show it.
    exam::CurrentExamSession.EnterReview();
    if (QWidget* panel = exam.PicFrame[1]) {
        panel->setVisible(false);
        panel->setEnabled(false);
    }
    if (QTabWidget* tabs = exam.SSTab2; tabs && tabs->count() > 2) {
        for (const int tab : {1, 2}) {
            tabs->setTabEnabled(tab, true);
            tabs->setTabVisible(tab, true);
        }
        tabs->setTabText(2, platform::toQt(CurrentExam.ScoreText));
    }
    disable(exam.button_end);
    disable(exam.button_save);
    disable(exam.button_pause);
}

}  // namespace mod_Evaluate
