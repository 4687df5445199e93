#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace formats {

// Why a reader gave up on its bytes; the first reason recorded stands.
enum class ReadError {
    kNone,
    kNegativeCount,    // a list or record count below zero
    kCountBeyondData,  // more elements than the bytes left can hold
    kListShape,        // a list of another shape than the layout allows
    kBadRecordIndex,   // a record index in a text that is no number in its range
    kCutShort,         // the bytes end before the records the layout needs
    kTooLarge,         // the file is larger than any valid one
    kOutOfMemory,      // the reader could not allocate what the bytes asked for
};

// One dimension of a stored list: its element count and lower bound.
struct ListBounds {
    std::int32_t count = 0;
    std::int32_t lowerBound = 0;
};

// Reads the little-endian record layout of the data files. A read past the end yields
// zeros and empty texts, as the signature check rejects such files afterwards. A count
// that cannot fit in the bytes left marks the reader failed instead of allocating.
class BinaryReader {
public:
    explicit BinaryReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::uint8_t readByte();
    std::int16_t readInt16();
    std::int32_t readInt32();
    bool readBool();  // any non-zero value is True
    double readDate();
    std::string readString();  // 16-bit length, then the bytes
    std::string readFixedString(std::size_t length);

    // The descriptor before a list: nullopt for "never dimensioned" (no dimension),
    // one entry per dimension otherwise. Fails on a negative count.
    std::optional<std::vector<ListBounds>> readListDescriptor();

    // Element count of a list stored with one 0-based dimension; nullopt for one never
    // dimensioned. Another shape, or more elements than the bytes left can hold at
    // `minElementBytes` each, fails the reader and yields nullopt.
    std::optional<std::size_t> readListHead(std::size_t minElementBytes);

    // A list of strings in that form; nullopt for one never dimensioned or on failure.
    std::optional<std::vector<std::string>> readStringList();

    // True when `count` elements of at least `minElementBytes` each can still follow; never
    // overflows, whatever the count.
    [[nodiscard]] bool canHold(std::int64_t count, std::size_t minElementBytes) const;

    [[nodiscard]] std::size_t position() const { return pos_; }
    [[nodiscard]] std::size_t remaining() const;
    [[nodiscard]] bool atEnd() const { return pos_ >= data_.size(); }
    void seek(std::size_t position) { pos_ = position; }
    void skip(std::size_t count) { pos_ += count; }

    [[nodiscard]] bool failed() const { return error_ != ReadError::kNone; }
    [[nodiscard]] ReadError error() const { return error_; }
    void fail(ReadError reason) {
        if (error_ == ReadError::kNone) error_ = reason;
    }

private:
    void readInto(std::uint8_t* out, std::size_t count);

    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
    ReadError error_ = ReadError::kNone;
};

}  // namespace formats
