#pragma once

#include <cstddef>
#include <optional>
#include <string>

class QTextDocument;

// What a parsed page costs Qt to lay out, judged on the document before any layout runs:
// Qt's cost lies in what the page means (cells with their real column count, runs without a
// break, blocks, the height it reaches), not in how its markup is spelled.
namespace layout_judge {

// What a page holds, as far as layout is concerned. Content inside tables counts once more
// for each table around it beyond the first: Qt lays out a table's cells twice, and so each
// level doubles their cost. Costs of pages joined into one add up.
struct PageCost {
    std::size_t characters = 0;
    std::size_t parts = 0;      // blocks and runs of one format
    std::size_t cells = 0;      // table cells
    std::size_t gridCells = 0;  // places of every table's grid that no cell of its own fills
    std::size_t pictures = 0;
    std::size_t longestRun = 0;  // characters without a line-break opportunity
    double height = 0;           // pixels the page can reach, laid out at any width
    // Squared lengths of the runs without a break in table cells: a cell can be squeezed to a
    // letter's width, where breaking a run into lines costs about its length squared (a run of
    // 5,000 letters alone, or a few shorter ones, is half a second).
    double squeezedRuns = 0;

    PageCost& operator+=(const PageCost& other);
};

// Each figure alone at its limit lays out in about half a second; together, their shares of
// their limits may add up to one.
struct LayoutLimits {
    std::size_t characters;
    std::size_t parts;
    std::size_t cells;
    std::size_t gridCells;
    std::size_t pictures;
    std::size_t longestRun;
    double height;  // half the 8.4 million pixels past which Qt's layout never finishes
    double squeezedRuns;
};

inline constexpr LayoutLimits kLayoutLimits{
    .characters = 1'000'000,
    .parts = 40'000,
    .cells = 20'000,
    .gridCells = 200'000,
    .pictures = 2'500,
    .longestRun = 30'000,
    .height = 4e6,
    .squeezedRuns = 2.5e7,
};

[[nodiscard]] PageCost MeasurePage(const QTextDocument& document);

// nullopt when the cost lays out in time; otherwise why not, a sentence the user reads
// (Windows-1252).
[[nodiscard]] std::optional<std::string> JudgeCost(const PageCost& cost);

// Brings every length the page sets (line heights, margins, indents, spacing, paddings,
// borders, font and picture sizes) into ranges that lay out in time. Only what is shown
// changes; the undo history is left empty.
void TameGeometry(QTextDocument& document);

}  // namespace layout_judge
