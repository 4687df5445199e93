#include "core/mod_Helper.h"

#include <algorithm>
#include <system_error>

namespace mod_Helper {

bool FileExists(const std::filesystem::path& path) noexcept {
    constexpr auto kSeparator = std::filesystem::path::preferred_separator;
    const auto& text = path.native();
    if (text.empty() || text.back() == kSeparator) return false;
    const auto nameStart = text.rfind(kSeparator);
    if (text[nameStart == std::string::npos ? 0 : nameStart + 1] == '.') return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::string GetFileName(std::string_view path) {
    const auto separator = path.find_last_of("/\\");
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string GetFileExtension(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return "NO EXTENSION";
    return std::string(name.substr(dot + 1));
}

std::string BytesToString(std::span<const std::uint8_t> bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return std::string(bytes.begin(), end);
}

}  // namespace mod_Helper
