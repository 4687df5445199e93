#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <vector>

#include "formats/BinaryReader.h"
#include "formats/BinaryWriter.h"

// Lists of records as the data files store them: a list with its descriptor (one 0-based
// dimension, or none), or a run of records whose count is stated elsewhere.
namespace formats {

// `count` records one after another. A count the bytes left cannot hold at
// `minElementBytes` each fails the reader before anything is allocated; reading stops at
// the first failure.
template <class ReadOne>
auto ReadElements(BinaryReader& in, std::int64_t count, std::size_t minElementBytes,
                  ReadOne readOne) {
    std::vector<std::invoke_result_t<ReadOne&, BinaryReader&>> elements;
    if (!in.canHold(count, minElementBytes)) {
        in.fail(ReadError::kCountBeyondData);
        return elements;
    }
    elements.reserve(static_cast<std::size_t>(count));
    for (std::int64_t k = 0; k < count && !in.failed(); ++k)
        elements.push_back(readOne(in));
    return elements;
}

// A list with its descriptor; nullopt for one never dimensioned or on failure.
template <class ReadOne>
auto ReadList(BinaryReader& in, std::size_t minElementBytes, ReadOne readOne)
    -> std::optional<std::vector<std::invoke_result_t<ReadOne&, BinaryReader&>>> {
    const auto count = in.readListHead(minElementBytes);
    if (!count) return std::nullopt;
    return ReadElements(in, static_cast<std::int64_t>(*count), minElementBytes, readOne);
}

template <class T, class WriteOne>
void WriteList(BinaryWriter& out, const std::optional<std::vector<T>>& list, WriteOne writeOne) {
    out.writeListDescriptor(list ? std::optional(list->size()) : std::nullopt);
    if (!list) return;
    for (const T& element : *list)
        writeOne(out, element);
}

}  // namespace formats
