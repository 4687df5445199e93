#include "pages/PageTrialRequest.h"

#include <charconv>
#include <cmath>

namespace page_trial {

namespace {

constexpr std::string_view kRequestMark = "page-trial-request 1\n";
constexpr std::string_view kReportMark = "page-trial-report 1\n";
// Far more than a box lays a page out at, or a page names pictures.
constexpr std::size_t kMaxWidths = 8;
constexpr std::size_t kMaxPictures = 100'000;
constexpr double kLargestLength = 1e12;

// Each field is its length in decimal digits, a colon, and its bytes.
class Writer {
public:
    explicit Writer(std::string_view mark) : bytes_(mark) {}
    Writer& Add(std::string_view field) {
        bytes_ += std::to_string(field.size());
        bytes_ += ':';
        bytes_ += field;
        return *this;
    }
    template <typename Value>
    Writer& Number(Value value) {
        return Add(std::to_string(value));
    }
    // Lengths in thousandths: text of a double would follow the locale.
    Writer& Length(double value) {
        const bool inRange = std::isfinite(value) && std::abs(value) < kLargestLength;
        return Number(inRange ? std::llround(value * 1000) : 0LL);
    }
    [[nodiscard]] std::string Bytes() && { return std::move(bytes_); }

private:
    std::string bytes_;
};

class Reader {
public:
    Reader(std::string_view bytes, std::string_view mark)
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

}  // namespace

std::string Encode(const TrialRequest& request) {
    Writer writer(kRequestMark);
    writer.Number(static_cast<int>(request.kind))
        .Add(request.page)
        .Number(static_cast<int>(request.pictures))
        .Add(request.pictureFolder)
        .Add(request.baseUrl)
        .Add(request.font)
        .Length(request.documentMargin)
        .Length(request.indentWidth)
        .Number(request.wrapMode)
        .Number(static_cast<int>(request.designMetrics))
        .Number(request.dpiX)
        .Number(request.dpiY)
        .Number(request.budgetMicros)
        .Number(request.widths.size());
    for (const int width : request.widths)
        writer.Number(width);
    return std::move(writer).Bytes();
}

std::optional<TrialRequest> DecodeRequest(std::string_view bytes) {
    Reader reader(bytes, kRequestMark);
    TrialRequest request;
    const int kind = reader.Read<int>();
    if (kind != 0 && kind != 1) return std::nullopt;
    request.kind = static_cast<TrialKind>(kind);
    request.page = reader.Field();
    const int pictures = reader.Read<int>();
    if (pictures != 0 && pictures != 1) return std::nullopt;
    request.pictures = static_cast<PictureRule>(pictures);
    request.pictureFolder = reader.Field();
    request.baseUrl = reader.Field();
    request.font = reader.Field();
    request.documentMargin = reader.Length();
    request.indentWidth = reader.Length();
    request.wrapMode = reader.Read<int>();
    request.designMetrics = reader.Read<int>() != 0;
    request.dpiX = reader.Read<int>();
    request.dpiY = reader.Read<int>();
    request.budgetMicros = reader.Read<std::uint32_t>();
    const auto widths = reader.Read<std::size_t>();
    if (!reader.Ok() || widths > kMaxWidths) return std::nullopt;
    for (std::size_t k = 0; k < widths; ++k)
        request.widths.push_back(reader.Read<int>());
    if (!reader.Done()) return std::nullopt;
    return request;
}

std::string Encode(const TrialReport& report) {
    Writer writer(kReportMark);
    writer.Number(static_cast<int>(report.laidOutMicros.has_value()))
        .Number(report.laidOutMicros.value_or(0))
        .Number(static_cast<int>(report.refusal.has_value()))
        .Add(report.refusal.value_or(std::string()))
        .Add(report.html)
        .Number(report.pictureFiles.size());
    for (const std::string& file : report.pictureFiles)
        writer.Add(file);
    return std::move(writer).Bytes();
}

std::optional<TrialReport> DecodeReport(std::string_view bytes) {
    Reader reader(bytes, kReportMark);
    TrialReport report;
    const bool laidOut = reader.Read<int>() != 0;
    const auto micros = reader.Read<std::uint64_t>();
    if (laidOut) report.laidOutMicros = micros;
    const bool refused = reader.Read<int>() != 0;
    const std::string_view refusal = reader.Field();
    if (refused) report.refusal = std::string(refusal);
    report.html = reader.Field();
    const auto files = reader.Read<std::size_t>();
    if (!reader.Ok() || files > kMaxPictures || laidOut == refused) return std::nullopt;
    for (std::size_t k = 0; k < files; ++k)
        report.pictureFiles.emplace_back(reader.Field());
    if (!reader.Done()) return std::nullopt;
    return report;
}

}  // namespace page_trial
