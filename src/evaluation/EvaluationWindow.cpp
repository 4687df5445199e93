#include "evaluation/EvaluationWindow.h"

#include "evaluation/frm_Evaluate.h"
#include "exam/ExamEnd.h"
#include "platform/mod_Forms.h"

namespace evaluation {

frm_Evaluate* LoadEvaluationWindow() {
    frm_Evaluate* window = EvaluationWindow();
    if (!window) {
        // Owned by the main window, so it stays above it and goes with it.
        QWidget* owner = mod_Forms::Find("mdi_Main");
        window = new frm_Evaluate(owner);
        if (owner) window->move(owner->geometry().center() - window->rect().center());
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

frm_Evaluate* EvaluationWindow() {
    return qobject_cast<frm_Evaluate*>(mod_Forms::Find("frm_Evaluate"));
}

}  // namespace evaluation
