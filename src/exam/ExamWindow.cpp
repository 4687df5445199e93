#include "exam/ExamWindow.h"

#include "core/mdi_Main.h"
#include "exam/frm_Exam.h"
#include "platform/mod_Forms.h"

namespace exam {

frm_Exam* LoadExamWindow(ExamOpening opening, const std::filesystem::path& savePath) {
    if (mod_Forms::IsFormLoaded("frm_Exam")) return nullptr;
    auto* main = qobject_cast<mdi_Main*>(mod_Forms::Find("mdi_Main"));
    auto* window = new frm_Exam(main);
    if (!window->Form_Load(opening, savePath)) {
        mod_Forms::Unload(window);
        return nullptr;
    }
    if (main)
        main->ShowChild(window);
    else
        window->show();
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

}  // namespace exam
