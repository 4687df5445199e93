#include "core/DataKey.h"

#include <array>

#include "formats/TextRules.h"

namespace {
constexpr std::array<std::size_t, 7> kSourcePositions = {3, 10, 12, 1, 16, 9, 19};
}

std::optional<std::string> MakeDataKey(std::string_view source) {
    std::string key;
    for (std::size_t i = 0; i < kSourcePositions.size(); ++i) {
        if (i == 3) key += '-';
        const std::size_t pos = kSourcePositions[i];
        if (pos >= source.size()) return std::nullopt;
        // The system's own Windows-1252 lower case, whatever the process locale.
        key += formats::LowerCase(source[pos]);
    }
    return key;
}
