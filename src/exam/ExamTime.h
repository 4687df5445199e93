#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace exam {

// "HH:MM:SS" of a number of seconds; hours keep counting past 23 instead of wrapping.
std::string FormatClock(std::int32_t seconds);

// Seconds of an "H:MM:SS" text (minutes and seconds below 60); nullopt for anything else.
std::optional<std::int32_t> ParseClock(std::string_view text);

// The current local date and time as an OLE Automation date.
double OleDateNow();

}  // namespace exam
