#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace mod_Helper {

// Only a visible regular file counts: a folder, a hidden (dot) file or a name ending in a
// separator gives false.
bool FileExists(const std::filesystem::path& path) noexcept;

// Stored paths may still use the original platform's '\\', so both separators count.
std::string GetFileName(std::string_view path);

// The last '.' is searched over the whole text, folders included; "NO EXTENSION" when
// there is none.
std::string GetFileExtension(std::string_view name);

// Fixed-size byte fields are NUL-padded.
std::string BytesToString(std::span<const std::uint8_t> bytes);

}  // namespace mod_Helper
