#pragma once

#include <cstdint>
#include <span>

namespace platform {

// The bytes a PNG holds or, when more, those its signature and chunks up to its end declare,
// read from the chunks' lengths alone. libpng takes memory for a chunk's whole declared length
// before reading it, so a PNG declaring more than it holds costs that memory whatever it shows.
std::uint64_t PngDeclaredBytes(std::span<const std::uint8_t> png);

}  // namespace platform
