#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "pages/PageRefusals.h"

// Whether a rich-text page (a note, a document's page) may be handed to Qt's HTML parser:
// what makes parsing itself costly, judged on the Windows-1252 bytes the way Qt's parser
// reads them (implicit closes, void elements and the tables it adds included), in one linear
// pass. What the parsed page costs to lay out is measured afterwards, by its trial.
namespace page_judge {

struct PageLimits {
    std::size_t depth;             // elements nested in one another, tables included
    std::size_t tableDepth;        // tables nested in one another
    std::size_t elements;          // the parser's nodes: elements and closing tags
    std::size_t gridCells;         // every table's rows times its columns, spans included
    std::size_t pictures;          // Qt's import of pictures grows with their square
    std::size_t pageBytes;         // the whole page, data: URLs included; a note file's too
    std::size_t pictureDataBytes;  // the data: URLs within it together
};

// Each bound alone parses in well under the trial's budget. A save is judged by the same
// bounds as a load, so nothing is written that would not be read back.
inline constexpr PageLimits kPageLimits{
    .depth = 100,
    .tableDepth = 10,
    .elements = 200'000,
    .gridCells = 200'000,
    .pictures = 2'500,
    .pageBytes = std::size_t{16} << 20,
    .pictureDataBytes = std::size_t{6} << 20,
};

// nullopt when the page may be shown; otherwise why not. What the page holds goes to `holds`
// (as far as it was read, when it is refused).
[[nodiscard]] std::optional<page_refusals::Refusal> JudgePage(
    std::string_view page, page_refusals::Contents* holds = nullptr);

// The size bound alone, for what would become a page of `bytes` holding `holds`: nullopt, or
// why not.
[[nodiscard]] std::optional<page_refusals::Refusal> JudgeSize(std::size_t bytes,
                                                              const page_refusals::Contents& holds);
// The size bound alone, for the page itself.
[[nodiscard]] std::optional<page_refusals::Refusal> JudgeSize(std::string_view page);

}  // namespace page_judge
