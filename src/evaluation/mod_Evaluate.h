#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "evaluation/mod_Performance.h"
#include "exam/CurrentExam.h"

// What the evaluation window shows, worked out without Qt: the rating bands, the score
// figures, the previous attempt, the results per objective and per question, and the
// scrolling of the objective table. Geometry is in twips (15 to a pixel).
namespace mod_Evaluate {

// EvaluateTexts 0 to 5 for 0-39, 40-59, 60-69, 70-79, 80-89 and 90-100; "" outside 0..100.
std::string GetRating(std::int32_t percent);

// c / t in double precision, then times 100, truncated: 29 of 50 gives 57. A score of no
// question gives 0.
std::int32_t WholePercent(std::int32_t correct, std::int32_t total);
// "85% (17/20)".
std::string ScoreText(std::int32_t correct, std::int32_t total);
// The rating word of a score; "" for a score of no question, which has no percentage.
std::string ScoreRating(std::int32_t correct, std::int32_t total);
// A score bar's filled width: full width times (c / t), held in single precision.
float FilledWidth(float fullWidth, std::int32_t correct, std::int32_t total);

// Whole pixels of a twips length, halves to even.
int TwipsToPixels(double twips);

// Positions in the history index of this attempt's own record and of its previous attempt:
// the last record with the same title (trimmed, case-folded), started strictly earlier and
// stored in another file.
struct AttemptRecords {
    std::optional<std::size_t> previous;
    std::optional<std::size_t> own;
};
AttemptRecords FindAttempts(const std::vector<PerformanceSummary>& records,
                            const CurrentExamRecord& exam);

// index.dat as the summary reads it: header, records, footer, without a signature check
// and without any message. nullopt when the index is missing, empty or unreadable.
std::optional<std::vector<PerformanceSummary>> ReadIndexForSummary();

// The distinct objectives of CurrentExam's questions found in the bank, sorted without
// regard to case; one empty text when none is found.
std::vector<std::string> BuildObjectiveList();

struct ObjectiveScore {
    std::int32_t total = 0;
    std::int32_t correct = 0;
};
// The exam's questions of the objective (bank topic compared exactly) and how many of
// them were answered correctly.
ObjectiveScore ScoreObjective(std::string_view objective);
// The same for every objective of the list, in one pass over the bank.
std::vector<ObjectiveScore> ScoreObjectives(const std::vector<std::string>& objectives);

// Icons of the question lists.
enum class ResultIcon { kUnanswered = 1, kCorrect = 2, kWrong = 3 };

struct QuestionResult {
    std::size_t position = 0;   // in CurrentExam.Questions
    std::size_t bankIndex = 0;  // first bank question of its id
    ResultIcon icon = ResultIcon::kUnanswered;
};
// One entry per exam question found in the bank, in exam order.
std::vector<QuestionResult> QuestionResults();

// The first bank question whose text, trimmed and lower-cased, equals `text` so treated.
std::optional<std::size_t> FindQuestionByText(std::string_view text);

// The objective table: a viewport of fixed height over the headings and rows.
inline constexpr std::int32_t kObjectivesOuterHeight = 4455;
inline constexpr std::int32_t kObjectivesInnerDesignHeight = 2055;
inline constexpr std::int32_t kObjectiveFirstRowTop = 360;
inline constexpr std::int32_t kObjectiveRowHeight = 615;
inline constexpr std::int32_t kTwipsPerPixel = 15;

// The content's height for n rows: the design height for one row, else every row and a
// bottom margin.
std::int32_t ObjectivesInnerHeight(std::size_t rows);

// The scroll bar's settings in twips; 32-bit, so any number of rows fits.
struct ObjectivesScroll {
    std::int32_t min = 0;
    std::int32_t max = 0;
    std::int32_t value = 0;
    std::int32_t smallChange = 1;
    std::int32_t largeChange = 1;
    bool enabled = true;
};
ObjectivesScroll SetupObjectivesScroll(std::int32_t innerHeight, std::int32_t outerHeight);

// The scroll value after a key (key codes 33 Page Up, 34 Page Down, 37 to 40 arrows);
// other keys keep it, and a table that fits its viewport always stays at the top.
std::int32_t ScrollValueAfterKey(const ObjectivesScroll& scroll, int keyCode);

}  // namespace mod_Evaluate
