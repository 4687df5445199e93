#pragma once

#include <filesystem>
#include <optional>
#include <span>

#include "formats/Bytes.h"

namespace formats {

// The whole content of a regular file; nullopt when it cannot be opened or read.
std::optional<Bytes> ReadFileBytes(const std::filesystem::path& path);

// Replaces the file's content without ever losing the old file: the bytes go to a
// temporary file in the same folder, are flushed to disk, and the temporary file is
// renamed over the target. Missing parent folders are created. On failure the old file
// is untouched, the temporary file removed, and false returned.
[[nodiscard]] bool WriteFileReplacing(const std::filesystem::path& path,
                                      std::span<const std::uint8_t> bytes);

}  // namespace formats
