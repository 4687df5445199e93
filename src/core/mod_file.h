#pragma once

#include <cstdint>
#include <filesystem>

namespace mod_file {

// True when the file's length can be taken, i.e. a regular file is there.
bool FileExistsByLen(const std::filesystem::path& path) noexcept;

// Deletes the folder with everything in it; 0 on success, else the errno value of the first
// failure. Does nothing (returns 0) for an empty path, a path without any separator (after
// dropping one trailing separator), the root, or anything that is not a real folder.
// Symbolic links inside are removed as links; their targets are never touched.
std::int32_t DeleteFolder(const std::filesystem::path& folder) noexcept;

}  // namespace mod_file
