#include "exam/ExamTime.h"

#include <charconv>
#include <chrono>
#include <ctime>

namespace exam {

namespace {

constexpr std::int32_t kMaxClockHours = 9999;

std::optional<std::int32_t> parseDigits(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string twoDigits(std::int32_t value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

}  // namespace

std::string FormatClock(std::int32_t seconds) {
    if (seconds < 0) seconds = 0;
    return twoDigits(seconds / 3600) + ":" + twoDigits(seconds / 60 % 60) + ":" +
           twoDigits(seconds % 60);
}

std::optional<std::int32_t> ParseClock(std::string_view text) {
    const auto first = text.find(':');
    const auto second = first == std::string_view::npos ? first : text.find(':', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    const auto hours = parseDigits(text.substr(0, first), 4);
    const auto minutes = parseDigits(text.substr(first + 1, second - first - 1), 2);
    const auto seconds = parseDigits(text.substr(second + 1), 2);
    if (!hours || !minutes || !seconds || *hours > kMaxClockHours || *minutes > 59 || *seconds > 59)
        return std::nullopt;
    return *hours * 3600 + *minutes * 60 + *seconds;
}

double OleDateNow() {
    using namespace std::chrono;
    const std::time_t now = system_clock::to_time_t(system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    const year_month_day date{year{local.tm_year + 1900}, month{unsigned(local.tm_mon + 1)},
                              day{unsigned(local.tm_mday)}};
    const auto days = (sys_days{date} - sys_days{1899y / December / 30}).count();
    const int secondsOfDay = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return static_cast<double>(days) + secondsOfDay / 86400.0;
}

}  // namespace exam
