#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Whether a rich-text page (a note, a document's page) may be handed to Qt's HTML parser:
// nesting, element count and size that Qt shows within about a second, judged on the
// Windows-1252 bytes the way Qt's parser reads them (implicit closes and void elements
// included), in one linear pass.
namespace page_judge {

// What lies inside tables counts once more for each table around it: Qt lays out a table's
// cells twice, so each level doubles their cost.
struct PageLimits {
    std::size_t depth;             // elements nested in one another, tables included
    std::size_t tableDepth;        // tables nested in one another
    std::size_t elements;          // elements, Qt's own included; a cell counts 4, a picture 8
    std::size_t markupBytes;       // the page without the data of its data: URLs
    std::size_t pictureDataBytes;  // the data: URLs together
};

inline constexpr PageLimits kPageLimits{
    .depth = 100,
    .tableDepth = 10,
    .elements = 20'000,
    .markupBytes = std::size_t{1} << 20,
    .pictureDataBytes = std::size_t{6} << 20,
};

// nullopt when the page may be shown; otherwise why not, a sentence the user reads
// (Windows-1252).
[[nodiscard]] std::optional<std::string> JudgePage(std::string_view page);

}  // namespace page_judge
