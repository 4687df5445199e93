#pragma once

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

// The bytes between the program and its trial child, and of the verdicts it keeps: after a
// mark, each field is its length in decimal digits, a colon, and its bytes.
namespace page_trial {

inline constexpr double kLargestLength = 1e12;

class FieldWriter {
public:
    explicit FieldWriter(std::string_view mark) : bytes_(mark) {}
    FieldWriter& Add(std::string_view field) {
        bytes_ += std::to_string(field.size());
        bytes_ += ':';
        bytes_ += field;
        return *this;
    }
    template <typename Value>
    FieldWriter& Number(Value value) {
        return Add(std::to_string(value));
    }
    // Lengths in thousandths: text of a double would follow the locale.
    FieldWriter& Length(double value) {
        const bool inRange = std::isfinite(value) && std::abs(value) < kLargestLength;
        return Number(inRange ? std::llround(value * 1000) : 0LL);
    }
    [[nodiscard]] std::string Bytes() && { return std::move(bytes_); }

private:
    std::string bytes_;
};

class FieldReader {
public:
    FieldReader(std::string_view bytes, std::string_view mark)
        : rest_(bytes), ok_(bytes.substr(0, mark.size()) == mark) {
        if (ok_) rest_.remove_prefix(mark.size());
    }
    std::string_view Field() {
        std::size_t length = 0;
        const auto [end, error] =
            std::from_chars(rest_.data(), rest_.data() + rest_.size(), length);
        const auto digits = static_cast<std::size_t>(end - rest_.data());
        if (!ok_ || error != std::errc() || digits == 0 || digits >= rest_.size() ||
            rest_[digits] != ':' || length > rest_.size() - digits - 1) {
            ok_ = false;
            return {};
        }
        const std::string_view field = rest_.substr(digits + 1, length);
        rest_.remove_prefix(digits + 1 + length);
        return field;
    }
    template <typename Value>
    Value Read() {
        const std::string_view field = Field();
        Value value{};
        const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (error != std::errc() || end != field.data() + field.size()) ok_ = false;
        return value;
    }
    double Length() { return static_cast<double>(Read<long long>()) / 1000; }
    // Whether everything was read, and nothing is left over.
    [[nodiscard]] bool Done() const { return ok_ && rest_.empty(); }
    [[nodiscard]] bool Ok() const { return ok_; }

private:
    std::string_view rest_;
    bool ok_;
};

}  // namespace page_trial
