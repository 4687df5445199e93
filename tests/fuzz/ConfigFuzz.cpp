// Data/Config.dat through the start-up's own loader, refusal road included.
#include "FuzzSupport.h"
#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/mod_User.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::PrepareProgram();
    fuzzsupport::WriteInput(AppPaths::ConfigDat(), data, size);
    AbortFlag = false;
    mod_User::LoadConfig();
    return 0;
}
