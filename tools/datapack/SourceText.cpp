#include "SourceText.h"

#include <fstream>

#include "formats/Windows1252.h"

namespace datapack {

std::string describe(const SourceError& error) {
    return error.file + ":" + std::to_string(error.line) + ": " + error.message;
}

std::string describe(const std::vector<SourceError>& errors) {
    std::string text;
    for (const auto& error : errors)
        text += describe(error) + "\n";
    return text;
}

std::string_view trimWhitespace(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string toWindows1252(std::string_view utf8, bool& ok) {
    bool lossless = true;
    std::string text = formats::Utf8ToWindows1252(utf8, &lossless);
    ok = lossless;
    return text;
}

bool readLines(const std::string& path, std::vector<std::string>& lines, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return true;
}

}  // namespace datapack
