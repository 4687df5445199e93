// The packed-archive container: entry count, entry names and sizes from the bytes.
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "core/cls_RCFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    cls_RCFile archive;
    if (const auto entries = archive.ReadEntries(in, size)) {
        for (const ArchiveEntry& entry : *entries)
            IsSafeArchiveEntryName(entry.Name);
    }
    return 0;
}
