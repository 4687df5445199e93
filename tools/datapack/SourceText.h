#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace datapack {

// A problem in a source file, with its place.
struct SourceError {
    std::string file;
    int line = 0;
    std::string message;
};

std::string describe(const SourceError& error);
std::string describe(const std::vector<SourceError>& errors);

std::string_view trimWhitespace(std::string_view text);

// UTF-8 source text to the program's code page; nullopt-like empty flag via `ok`.
std::string toWindows1252(std::string_view utf8, bool& ok);

// The lines of a UTF-8 text file; an unreadable file gives an error instead.
bool readLines(const std::string& path, std::vector<std::string>& lines, std::string& error);

}  // namespace datapack
