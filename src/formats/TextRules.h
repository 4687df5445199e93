#pragma once

#include <string>
#include <string_view>
#include <vector>

// The system's own text rules over Windows-1252 bytes.
namespace formats {

// Spaces (only spaces) removed from both ends.
std::string_view TrimSpaces(std::string_view text);

// The pieces between separators, empty pieces kept; views into `text`.
std::vector<std::string_view> Split(std::string_view text, std::string_view separator);

// Lower case of a Windows-1252 byte: A-Z, the accented capitals and the three capitals of
// 0x8A..0x9F.
char LowerCase(char c);
std::string LowerCase(std::string_view text);

}  // namespace formats
