#pragma once

#include <cstdint>
#include <vector>

namespace formats {

// Raw file and cipher bytes. Text stays in std::string (Windows-1252 bytes).
using Bytes = std::vector<std::uint8_t>;

}  // namespace formats
