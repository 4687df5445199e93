#include "formats/BinaryWriter.h"

#include <bit>
#include <limits>

namespace formats {

void BinaryWriter::writeInt16(std::int16_t value) {
    const auto v = static_cast<std::uint16_t>(value);
    bytes_.push_back(static_cast<std::uint8_t>(v & 0xFF));
    bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
}

void BinaryWriter::writeInt32(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes_.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
}

void BinaryWriter::writeDate(double value) {
    const auto v = std::bit_cast<std::uint64_t>(value);
    for (int shift = 0; shift < 64; shift += 8)
        bytes_.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
}

void BinaryWriter::writeString(std::string_view text) {
    if (text.size() > std::numeric_limits<std::uint16_t>::max()) {
        failed_ = true;
        return;
    }
    writeInt16(static_cast<std::int16_t>(static_cast<std::uint16_t>(text.size())));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

void BinaryWriter::writeFixedString(std::string_view text, std::size_t length) {
    const std::string_view kept = text.substr(0, length);
    bytes_.insert(bytes_.end(), kept.begin(), kept.end());
    bytes_.insert(bytes_.end(), length - kept.size(), std::uint8_t{' '});
}

void BinaryWriter::writeListDescriptor(std::optional<std::size_t> count) {
    if (!count) {
        writeInt16(0);
        return;
    }
    if (*count > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        failed_ = true;
        return;
    }
    writeInt16(1);
    writeInt32(static_cast<std::int32_t>(*count));
    writeInt32(0);
}

void BinaryWriter::writeStringList(const std::optional<std::vector<std::string>>& list) {
    writeListDescriptor(list ? std::optional(list->size()) : std::nullopt);
    if (!list) return;
    for (const auto& s : *list)
        writeString(s);
}

}  // namespace formats
