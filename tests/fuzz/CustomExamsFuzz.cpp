// Data/Custom.dat, whose header's text numbers the records.
#include "FuzzSupport.h"
#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "mainscreen/CustomExamFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::PrepareProgram();
    fuzzsupport::WriteInput(AppPaths::CustomDat(), data, size);
    AbortFlag = false;
    CustomExamFile::ReadCustomExamFile();
    CustomExamTable.clear();
    return 0;
}
