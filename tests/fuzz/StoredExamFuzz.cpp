// A stored exam (saved exams and history files): the signed body and its coherence.
#include "FuzzSupport.h"
#include "core/AppPaths.h"
#include "exam/ExamRecordIo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::PrepareProgram();
    const auto path = AppPaths::SaveFolder() / "fuzz.sav";
    fuzzsupport::WriteInput(path, data, size);
    exam::ReadExamFile(path);
    return 0;
}
