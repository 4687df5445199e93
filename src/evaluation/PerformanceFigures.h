#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/QuestionBank.h"
#include "evaluation/mod_Performance.h"
#include "exam/QuestionLookup.h"

// The figures of the main screen's performance tab. Sums are kept in 64 bits so that no
// history or bank size overflows them; every shown figure is the same as on a short list.
namespace performance_figures {

// c / t * 100 truncated toward zero; 0 when t is not positive.
std::int32_t TruncatedPercent(std::int64_t correct, std::int64_t total);
// Halves to even.
std::int64_t RoundHalfEven(double value);
// Stored into a 16-bit global: the means all lie in 0 to 100.
std::int16_t ToInt16(std::int64_t value);

// Mean of the records' truncated percentages, halves to even; a record without questions
// counts 0 %. 0 for no record.
std::int16_t ExamAverage(const std::vector<PerformanceSummary>& history);

struct ObjectiveFigures {
    std::int32_t Questions = 0;  // Q
    std::int64_t Asked = 0;      // A
    std::int64_t Correct = 0;    // C
    std::int64_t Wrong = 0;      // W
    // The objective's success rate, C / A truncated as every shown percentage; meaningful
    // only when Asked > 0.
    [[nodiscard]] std::int32_t Figure() const;
};

// True when the topic, trimmed and in lower case, is the objective's.
bool BelongsTo(const std::string& topic, const std::string& objective);
// Sums of the objective's bank questions, in bank order.
ObjectiveFigures ObjectiveFiguresOf(const std::string& objective, exam::QuestionLookup& lookup);
// The same for every objective, in one pass over the bank.
std::vector<ObjectiveFigures> ObjectiveFiguresOf(const std::vector<std::string>& objectives,
                                                 exam::QuestionLookup& lookup);
// Mean over every objective (never asked ones count 0) of their figures, halves to even.
std::int16_t ObjectiveAverage(const std::vector<ObjectiveFigures>& objectives);

// Sum of the asked questions' truncated percentages over the bank size, halves to even;
// 0 for an empty bank.
std::int32_t QuestionFigure();

// The overall percentage of the three figures, truncated.
std::int32_t OverallPercent(std::int16_t objectiveAverage, std::int16_t examAverage,
                            std::int32_t questionFigure);

}  // namespace performance_figures
