#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/Bytes.h"

namespace formats {

// Writes the little-endian record layout of the data files into memory; the caller
// hands the bytes to the safe file writer. A string longer than a 16-bit length can
// state is refused (the writer is marked failed) rather than cut silently.
class BinaryWriter {
public:
    void writeByte(std::uint8_t value) { bytes_.push_back(value); }
    void writeInt16(std::int16_t value);
    void writeInt32(std::int32_t value);
    void writeBool(bool value) { writeInt16(value ? -1 : 0); }
    void writeDate(double value);
    void writeString(std::string_view text);
    // Exactly `length` bytes: cut, or padded with spaces.
    void writeFixedString(std::string_view text, std::size_t length);
    void writeBytes(const Bytes& data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }

    // Descriptor of a one-dimensional list with lower bound 0, or of a list never
    // dimensioned (nullopt: no dimension).
    void writeListDescriptor(std::optional<std::size_t> count);
    void writeStringList(const std::optional<std::vector<std::string>>& list);

    [[nodiscard]] const Bytes& bytes() const { return bytes_; }
    [[nodiscard]] Bytes takeBytes() { return std::move(bytes_); }
    [[nodiscard]] bool failed() const { return failed_; }

private:
    Bytes bytes_;
    bool failed_ = false;
};

}  // namespace formats
