#include "formats/Windows1252.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace formats {

namespace {

// Code points of bytes 0x80..0x9F; the undefined ones keep their C1 value.
constexpr std::array<char32_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

char32_t Windows1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighTable[byte - 0x80];
    return byte;
}

unsigned char UnicodeToWindows1252(char32_t codePoint, bool* lossless) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<unsigned char>(codePoint);
    for (std::size_t i = 0; i < kHighTable.size(); ++i)
        if (kHighTable[i] == codePoint) return static_cast<unsigned char>(0x80 + i);
    if (lossless) *lossless = false;
    return '?';
}

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        appendUtf8(out, Windows1252ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

namespace {

// Calls `take` with each code point, or with nullopt for each byte that is not well-formed UTF-8.
template <typename Take>
void decodeUtf8(std::string_view text, Take take) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80           ? 0
                          : (lead >> 5) == 0x6  ? 1
                          : (lead >> 4) == 0xE  ? 2
                          : (lead >> 3) == 0x1E ? 3
                                                : -1;
        char32_t cp = extra == 0   ? lead
                      : extra == 1 ? (lead & 0x1F)
                      : extra == 2 ? (lead & 0x0F)
                                   : (lead & 0x07);
        bool valid = extra >= 0 && i + static_cast<std::size_t>(extra) < text.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto cont = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((cont & 0xC0) != 0x80) valid = false;
            cp = (cp << 6) | (cont & 0x3F);
        }
        if (!valid) {
            take(std::optional<char32_t>());
            ++i;
            continue;
        }
        take(std::optional<char32_t>(cp));
        i += static_cast<std::size_t>(extra) + 1;
    }
}

}  // namespace

std::string Utf8ToWindows1252(std::string_view text, bool* lossless) {
    std::string out;
    out.reserve(text.size());
    decodeUtf8(text, [&](std::optional<char32_t> cp) {
        if (!cp && lossless) *lossless = false;
        out += cp ? static_cast<char>(UnicodeToWindows1252(*cp, lossless)) : '?';
    });
    return out;
}

std::string Utf8ToWindows1252Html(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    decodeUtf8(text, [&](std::optional<char32_t> cp) {
        const char32_t point = cp.value_or(0xFFFD);
        bool lossless = true;
        const unsigned char byte = UnicodeToWindows1252(point, &lossless);
        if (lossless)
            out += static_cast<char>(byte);
        else
            out += "&#" + std::to_string(static_cast<std::uint32_t>(point)) + ';';
    });
    return out;
}

std::string PathToWindows1252(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return Utf8ToWindows1252(
        std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
}

}  // namespace formats
