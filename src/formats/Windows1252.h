#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace formats {

// The one code page of every text the data files hold. 0x80..0x9F carry the
// typographic characters; the five bytes undefined there map to the C1 controls.
char32_t Windows1252ToUnicode(unsigned char byte);

// The byte for a code point; '?' for a code point the code page lacks (and `lossless`
// is then cleared when given).
unsigned char UnicodeToWindows1252(char32_t codePoint, bool* lossless = nullptr);

std::string Windows1252ToUtf8(std::string_view text);
// Malformed UTF-8 or characters outside the code page clear `lossless`.
std::string Utf8ToWindows1252(std::string_view text, bool* lossless = nullptr);
// A path as messages show it: one conversion from the file system's encoding (UTF-8).
std::string PathToWindows1252(const std::filesystem::path& path);
// For HTML: a character outside the code page becomes a numeric character reference
// ("&#937;"), so that nothing is lost; malformed UTF-8 becomes "&#65533;".
std::string Utf8ToWindows1252Html(std::string_view text);

}  // namespace formats
