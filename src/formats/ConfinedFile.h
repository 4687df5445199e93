#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "formats/Bytes.h"

namespace formats {

// The bytes of the file named by `relative` ('/'-separated, percent-decoding already done)
// when it is a regular file of at most `maxBytes` bytes inside `folder`; nullopt otherwise.
// Refused without reading: an absolute name, a ".." component, a symbolic link anywhere
// below `folder`, a device, fifo or socket, and a file larger than `maxBytes`.
std::optional<Bytes> ReadFileInside(const std::filesystem::path& folder, std::string_view relative,
                                    std::uint64_t maxBytes);

}  // namespace formats
