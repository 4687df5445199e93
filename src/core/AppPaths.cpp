#include "core/AppPaths.h"

namespace AppPaths {

namespace {
std::filesystem::path& programFolder() {
    static std::filesystem::path folder;
    return folder;
}
}  // namespace

void SetProgramFolder(const std::filesystem::path& folder) {
    programFolder() = folder;
}
const std::filesystem::path& ProgramFolder() {
    return programFolder();
}

std::filesystem::path DataFolder() {
    return ProgramFolder() / "Data";
}
std::filesystem::path SystemDat() {
    return DataFolder() / "System.dat";
}
std::filesystem::path DataDat() {
    return DataFolder() / "Data.dat";
}
std::filesystem::path ConfigDat() {
    return DataFolder() / "Config.dat";
}
std::filesystem::path ResourceDat() {
    return DataFolder() / "Resource.dat";
}
std::filesystem::path CustomDat() {
    return DataFolder() / "Custom.dat";
}
std::filesystem::path SaveFolder() {
    return DataFolder() / "Save";
}
std::filesystem::path PerformanceFolder() {
    return DataFolder() / "Performance";
}
std::filesystem::path MyNotesFolder() {
    return DataFolder() / "MyNotes";
}
std::filesystem::path ResourcesFolder() {
    return DataFolder() / "Resources";
}
std::filesystem::path ResourcesTempFolder() {
    return ResourcesFolder() / "temp";
}
std::filesystem::path EngineTmp() {
    return ProgramFolder() / "engine.tmp";
}

}  // namespace AppPaths
