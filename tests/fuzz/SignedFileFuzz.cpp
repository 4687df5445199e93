// The signed envelope around every user file, with a body of one list of texts.
#include "FuzzSupport.h"
#include "core/AppPaths.h"
#include "core/mod_System.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::PrepareProgram();
    const auto path = AppPaths::DataFolder() / "signed.dat";
    fuzzsupport::WriteInput(path, data, size);
    const bool read =
        mod_System::ReadSignedFile(path, [](formats::BinaryReader& in) { in.readStringList(); });
    if (read) static_cast<void>(mod_System::IsFileSignatureValid());
    return 0;
}
