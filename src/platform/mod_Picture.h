#pragma once

#include <QPixmap>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mod_Picture {

// Decodes a GIF, JPEG or PNG held in memory; a null pixmap when the bytes are no image. The
// decoders ignore bytes after the image, such as the 0 that archive entries append.
QPixmap PictureFromBytes(std::span<const std::uint8_t> bytes);

// An entry never given bytes (nullopt) has no picture.
QPixmap PictureFromBytes(const std::optional<std::vector<std::uint8_t>>& bytes);

// Without it a vector would convert equally well to either overload above.
inline QPixmap PictureFromBytes(const std::vector<std::uint8_t>& bytes) {
    return PictureFromBytes(std::span<const std::uint8_t>(bytes));
}

}  // namespace mod_Picture
