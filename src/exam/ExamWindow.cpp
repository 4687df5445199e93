#include "exam/ExamWindow.h"

#include "exam/frm_Exam.h"

namespace exam {

frm_Exam* LoadExamWindow(ExamOpening, const std::filesystem::path&) {
    return nullptr;
}

frm_Exam* ExamWindow() {
    return nullptr;
}

void UnloadExamWindow() {}

}  // namespace exam
