#include "formats/BinaryReader.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace formats {

void BinaryReader::readInto(std::uint8_t* out, std::size_t count) {
    const std::size_t available = std::min(count, remaining());
    if (available > 0) std::memcpy(out, data_.data() + pos_, available);
    std::fill(out + available, out + count, std::uint8_t{0});
    pos_ += count;
}

std::size_t BinaryReader::remaining() const {
    return pos_ < data_.size() ? data_.size() - pos_ : 0;
}

std::uint8_t BinaryReader::readByte() {
    std::uint8_t b = 0;
    readInto(&b, 1);
    return b;
}

std::int16_t BinaryReader::readInt16() {
    std::uint8_t b[2];
    readInto(b, 2);
    return static_cast<std::int16_t>(b[0] | (b[1] << 8));
}

std::int32_t BinaryReader::readInt32() {
    std::uint8_t b[4];
    readInto(b, 4);
    const std::uint32_t v = std::uint32_t{b[0]} | (std::uint32_t{b[1]} << 8) |
                            (std::uint32_t{b[2]} << 16) | (std::uint32_t{b[3]} << 24);
    return static_cast<std::int32_t>(v);
}

bool BinaryReader::readBool() {
    return readInt16() != 0;
}

double BinaryReader::readDate() {
    std::uint8_t b[8];
    readInto(b, 8);
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | b[i];
    return std::bit_cast<double>(v);
}

std::string BinaryReader::readString() {
    const auto length = static_cast<std::uint16_t>(readInt16());
    return readFixedString(length);
}

std::string BinaryReader::readFixedString(std::size_t length) {
    std::string text(length, '\0');
    readInto(reinterpret_cast<std::uint8_t*>(text.data()), length);
    return text;
}

bool BinaryReader::canHold(std::int64_t count, std::size_t minElementBytes) const {
    if (count < 0) return false;
    return static_cast<std::uint64_t>(count) <=
           remaining() / std::max<std::size_t>(minElementBytes, 1);
}

std::optional<std::vector<ListBounds>> BinaryReader::readListDescriptor() {
    const std::int16_t dimensions = readInt16();
    if (dimensions <= 0) {
        if (dimensions < 0) fail(ReadError::kNegativeCount);
        return std::nullopt;
    }
    if (!canHold(dimensions, 8)) {
        fail(ReadError::kCountBeyondData);
        return std::nullopt;
    }
    std::vector<ListBounds> bounds(static_cast<std::size_t>(dimensions));
    for (auto& b : bounds) {
        b.count = readInt32();
        b.lowerBound = readInt32();
        if (b.count < 0) fail(ReadError::kNegativeCount);
    }
    return bounds;
}

std::optional<std::size_t> BinaryReader::readListHead(std::size_t minElementBytes) {
    const auto bounds = readListDescriptor();
    if (!bounds || failed()) return std::nullopt;
    const ListBounds& only = bounds->front();
    if (bounds->size() != 1 || only.lowerBound != 0) {
        fail(ReadError::kListShape);
        return std::nullopt;
    }
    if (!canHold(only.count, minElementBytes)) {
        fail(ReadError::kCountBeyondData);
        return std::nullopt;
    }
    return static_cast<std::size_t>(only.count);
}

std::optional<std::vector<std::string>> BinaryReader::readStringList() {
    constexpr std::size_t kEmptyStringBytes = 2;
    const auto count = readListHead(kEmptyStringBytes);
    if (!count) return std::nullopt;
    std::vector<std::string> list(*count);
    for (auto& s : list)
        s = readString();
    return list;
}

}  // namespace formats
