#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What passes between the program and the child that lays a page out on trial: everything the
// box that will show the page lays it out with, and what the trial found.
namespace page_trial {

// Where a page's pictures may come from (see platform::PictureFiles).
enum class PictureRule : std::uint8_t { kAnywhere, kInsideFolder };

// A page to lay out, or Markdown to read into a page (Qt's reader of it has no bound).
enum class TrialKind : std::uint8_t { kPage, kMarkdown };

struct TrialRequest {
    TrialKind kind = TrialKind::kPage;
    std::string page;  // Windows-1252 as the box would read it; Markdown in UTF-8
    PictureRule pictures = PictureRule::kAnywhere;
    std::string pictureFolder;  // the file system's own bytes
    std::string baseUrl;        // UTF-8
    std::string font;           // the document's default font, as Qt writes a font to text
    double documentMargin = 0;
    double indentWidth = 0;
    int wrapMode = 0;  // the box's QTextOption::WrapMode
    bool designMetrics = false;
    std::vector<int> widths;  // the box lays the page out at each of these, in turn
    int dpiX = 96;
    int dpiY = 96;
    std::uint32_t budgetMicros = 0;  // processor time the trial may take
    std::uint64_t memoryBytes = 0;   // memory it may take beyond what it holds when it starts

    bool operator==(const TrialRequest&) const = default;
};

// What the trial found: either the processor time it took to read and lay the page out, or
// why the page was refused before layout; the picture files it read, links resolved; and the
// paths its picture names stand for as written, found or not.
struct TrialReport {
    std::optional<std::uint64_t> laidOutMicros;
    std::optional<std::string> refusal;  // Windows-1252
    std::vector<std::string> pictureFiles;
    std::vector<std::string> namesLookedFor;
    std::string html;  // what Markdown read into, as Qt writes it (UTF-8)

    bool operator==(const TrialReport&) const = default;
};

// A report names its pictures and, for Markdown, holds the page it read into.
inline constexpr std::size_t kLargestReport = std::size_t{64} << 20;

// What the child writes first once it read the page within its budget, before it lays it out;
// its report follows.
inline constexpr std::string_view kPageReadMark = "page-trial-read\n";

[[nodiscard]] std::string Encode(const TrialRequest& request);
// nullopt when the bytes are no request (cut short, a count too large, ...).
[[nodiscard]] std::optional<TrialRequest> DecodeRequest(std::string_view bytes);

[[nodiscard]] std::string Encode(const TrialReport& report);
[[nodiscard]] std::optional<TrialReport> DecodeReport(std::string_view bytes);

}  // namespace page_trial
