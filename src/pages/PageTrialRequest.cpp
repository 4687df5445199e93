#include "pages/PageTrialRequest.h"

#include "pages/TrialFields.h"

namespace page_trial {

namespace {

constexpr std::string_view kRequestMark = "page-trial-request 2\n";
constexpr std::string_view kReportMark = "page-trial-report 2\n";
// Far more than a box lays a page out at, or a page names pictures.
constexpr std::size_t kMaxWidths = 8;
constexpr std::size_t kMaxPictures = 100'000;

}  // namespace

std::string Encode(const TrialRequest& request) {
    FieldWriter writer(kRequestMark);
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
        .Number(request.memoryBytes)
        .Number(request.widths.size());
    for (const int width : request.widths)
        writer.Number(width);
    return std::move(writer).Bytes();
}

std::optional<TrialRequest> DecodeRequest(std::string_view bytes) {
    FieldReader reader(bytes, kRequestMark);
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
    request.memoryBytes = reader.Read<std::uint64_t>();
    const auto widths = reader.Read<std::size_t>();
    if (!reader.Ok() || widths > kMaxWidths) return std::nullopt;
    for (std::size_t k = 0; k < widths; ++k)
        request.widths.push_back(reader.Read<int>());
    if (!reader.Done()) return std::nullopt;
    return request;
}

std::string Encode(const TrialReport& report) {
    FieldWriter writer(kReportMark);
    writer.Number(static_cast<int>(report.laidOutMicros.has_value()))
        .Number(report.laidOutMicros.value_or(0))
        .Number(static_cast<int>(report.refusal.has_value()))
        .Add(report.refusal.value_or(std::string()))
        .Add(report.html)
        .Number(report.pictureFiles.size());
    for (const std::string& file : report.pictureFiles)
        writer.Add(file);
    writer.Number(report.namesLookedFor.size());
    for (const std::string& name : report.namesLookedFor)
        writer.Add(name);
    return std::move(writer).Bytes();
}

std::optional<TrialReport> DecodeReport(std::string_view bytes) {
    if (bytes.substr(0, kPageReadMark.size()) == kPageReadMark)
        bytes.remove_prefix(kPageReadMark.size());
    FieldReader reader(bytes, kReportMark);
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
    const auto names = reader.Read<std::size_t>();
    if (!reader.Ok() || names > kMaxPictures) return std::nullopt;
    for (std::size_t k = 0; k < names; ++k)
        report.namesLookedFor.emplace_back(reader.Field());
    if (!reader.Done()) return std::nullopt;
    return report;
}

}  // namespace page_trial
