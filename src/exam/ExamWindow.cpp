#include "exam/ExamWindow.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include "core/AppWindows.h"

#include "core/ListView.h"
#include "core/PictureButton.h"
#include "exam/CurrentExam.h"
#include "exam/frm_Exam.h"
#include "exam/mod_MyCurrentExam.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"

namespace exam {

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

frm_Exam* LoadExamWindow(ExamOpening opening, const std::filesystem::path& savePath) {
    if (mod_Forms::IsFormLoaded("frm_Exam")) return nullptr;
    auto* window = new frm_Exam(AppWindows::Get().MainWindow());
    if (!window->Form_Load(opening, savePath)) {
        mod_Forms::Unload(window);
        return nullptr;
    }
    AppWindows::Get().ShowInMainWindow(window);
    return window;
}

frm_Exam* ExamWindow() {
    return qobject_cast<frm_Exam*>(mod_Forms::Find("frm_Exam"));
}

void UnloadExamWindow() {
    frm_Exam* window = ExamWindow();
    if (!window) return;
    window->Form_Unload();
    mod_Forms::Unload(window);
}

void ShowReviewMode() {
    frm_Exam* window = ExamWindow();
    if (!window) {
        CurrentExamSession.EnterReview();
        return;
    }
    stop(window->Timer1);
    stop(window->Timer4);
    // The session is what answers and grading obey; the controls only show it.
    CurrentExamSession.EnterReview();
    if (QWidget* panel = window->PicFrame[1]) {
        panel->setVisible(false);
        panel->setEnabled(false);
    }
    if (QTabWidget* tabs = window->SSTab2; tabs && tabs->count() > 2) {
        for (const int tab : {1, 2}) {
            tabs->setTabEnabled(tab, true);
            tabs->setTabVisible(tab, true);
        }
        tabs->setTabText(2, platform::toQt(CurrentExam.ScoreText));
    }
    disable(window->button_end);
    disable(window->button_save);
    disable(window->button_pause);
    // A reviewed exam's clock is over: its buttons would do nothing.
    for (QWidget* button :
         {window->Button_Pause_Exam, window->Button_Reset_Timer, window->Button_Stop_Timer})
        if (button) button->setEnabled(false);
}

void ShowQuestionFromList(std::int32_t position) {
    frm_Exam* window = ExamWindow();
    if (window && window->ListView1 && window->ListView1->isVisibleTo(window))
        mod_MyCurrentExam::ReturnToQuestion();
    if (position < 0) return;
    CurrentQuestionIndex = static_cast<std::int16_t>(position);
    if (window && window->SSTab2) window->SSTab2->setCurrentIndex(frm_Exam::kQuestionTab);
    mod_MyCurrentExam::ShowQuestion(CurrentQuestionIndex);
    if (!window) return;
    for (QWidget* view : {window->Choices_Inner, window->Choices_Outer,
                          static_cast<QWidget*>(window->RichTextBox1)})
        if (view) view->update();
}

void RaiseExamWindow() {
    frm_Exam* window = ExamWindow();
    if (!window) return;
    QWidget* top = window->window();
    top->raise();
    top->activateWindow();
}

}  // namespace exam
