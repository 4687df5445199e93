#pragma once

#include <string>
#include <vector>

namespace datapack {

// Each returns the process exit code and reports to stdout/stderr.
int packArchive(const std::vector<std::string>& args);
int listArchive(const std::vector<std::string>& args);
int unpackArchive(const std::vector<std::string>& args);

}  // namespace datapack
