// The system texts record (sysvars.dat) and the key built from it.
#include "FuzzSupport.h"
#include "core/DataKey.h"
#include "core/mod_System.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const SystemVarsRecord record = mod_System::ReadSystemVars({data, size});
    MakeDataKey(record.DataKeySource);
    return 0;
}
