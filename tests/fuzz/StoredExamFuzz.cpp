// A stored exam (saved exams and history files): the signed body, its coherence, and whether
// its results are its answers' grades.
#include "FuzzSupport.h"
#include "core/AppPaths.h"
#include "exam/ExamGrades.h"
#include "exam/ExamRecordIo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::PrepareProgram();
    const auto path = AppPaths::SaveFolder() / "fuzz.sav";
    fuzzsupport::WriteInput(path, data, size);
    if (const auto exam = exam::ReadExamFile(path)) (void)exam::HasOwnGrades(*exam);
    return 0;
}
