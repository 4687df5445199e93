#pragma once

#include <filesystem>

// Every path the system uses, built from the program folder (the folder holding Data/).
namespace AppPaths {

void SetProgramFolder(const std::filesystem::path& folder);
const std::filesystem::path& ProgramFolder();

std::filesystem::path DataFolder();
std::filesystem::path SystemDat();
std::filesystem::path DataDat();
std::filesystem::path ConfigDat();
std::filesystem::path ResourceDat();
std::filesystem::path CustomDat();
std::filesystem::path SaveFolder();
std::filesystem::path PerformanceFolder();
std::filesystem::path MyNotesFolder();
std::filesystem::path ResourcesFolder();
std::filesystem::path ResourcesTempFolder();
std::filesystem::path EngineTmp();

}  // namespace AppPaths
