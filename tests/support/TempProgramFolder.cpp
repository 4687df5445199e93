#include "support/TempProgramFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>

#include "core/AppPaths.h"
#include "formats/FileIo.h"

namespace testsupport {

TempProgramFolder::TempProgramFolder() : previous_(AppPaths::ProgramFolder()) {
    std::random_device rd;
    folder_ = std::filesystem::temp_directory_path() /
              ("examsim-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(folder_ / "Data");
    AppPaths::SetProgramFolder(folder_);
}

TempProgramFolder::~TempProgramFolder() {
    AppPaths::SetProgramFolder(previous_);
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

void WriteFile(const std::filesystem::path& path, const formats::Bytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

formats::Bytes ReadFile(const std::filesystem::path& path) {
    return formats::ReadFileBytes(path).value_or(formats::Bytes{});
}

}  // namespace testsupport
