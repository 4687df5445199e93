#pragma once

#include <array>
#include <random>
#include <string>
#include <string_view>

// Word salad of about `length` characters: distinct texts of realistic size for generated banks.
inline std::string WordSalad(std::mt19937& rng, std::size_t length) {
    static constexpr std::array<std::string_view, 16> kWords = {
        "router", "switch",  "packet", "address", "subnet", "the",   "frame", "layer",
        "which",  "traffic", "port",   "network", "host",   "route", "table", "of"};
    std::string text;
    while (text.size() < length) {
        if (!text.empty()) text += ' ';
        text += kWords[rng() % kWords.size()];
    }
    return text;
}
