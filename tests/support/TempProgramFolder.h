#pragma once

#include <filesystem>

#include "formats/Bytes.h"

namespace testsupport {

// A fresh program folder (with Data/) for one test; the previous folder is restored and
// the temporary one removed afterwards.
class TempProgramFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();
    TempProgramFolder(const TempProgramFolder&) = delete;
    TempProgramFolder& operator=(const TempProgramFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return folder_; }

private:
    std::filesystem::path folder_;
    std::filesystem::path previous_;
};

void WriteFile(const std::filesystem::path& path, const formats::Bytes& bytes);
formats::Bytes ReadFile(const std::filesystem::path& path);

}  // namespace testsupport
