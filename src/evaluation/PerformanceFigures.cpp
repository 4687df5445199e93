#include "evaluation/PerformanceFigures.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>
#include <unordered_map>

#include "formats/TextRules.h"

namespace performance_figures {

std::int32_t TruncatedPercent(std::int64_t correct, std::int64_t total) {
    if (total <= 0) return 0;
    // Quotient first, as every percentage of the program: 29 of 50 gives 57.
    const double share = static_cast<double>(correct) / static_cast<double>(total);
    // Counters read from a file need not agree (more correct than asked): never overflow.
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::trunc(share * 100.0), low, high));
}

std::int64_t RoundHalfEven(double value) {
    // The default rounding mode rounds halves to even.
    return static_cast<std::int64_t>(std::nearbyint(value));
}

std::int16_t ToInt16(std::int64_t value) {
    constexpr std::int64_t low = std::numeric_limits<std::int16_t>::min();
    constexpr std::int64_t high = std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(value < low ? low : value > high ? high : value);
}

std::int16_t ExamAverage(const std::vector<PerformanceSummary>& history) {
    if (history.empty()) return 0;
    std::int64_t sum = 0;
    for (const PerformanceSummary& record : history)
        sum += TruncatedPercent(record.Correct, record.Total);
    return ToInt16(RoundHalfEven(static_cast<double>(sum) / static_cast<double>(history.size())));
}

std::int32_t ObjectiveFigures::Figure() const {
    return TruncatedPercent(Correct, Asked);
}

bool BelongsTo(const std::string& topic, const std::string& objective) {
    return formats::LowerCase(formats::TrimSpaces(topic)) ==
           formats::LowerCase(formats::TrimSpaces(objective));
}

std::vector<ObjectiveFigures> ObjectiveFiguresOf(const std::vector<std::string>& objectives,
                                                 exam::QuestionLookup& lookup) {
    std::vector<ObjectiveFigures> all(objectives.size());
    // Objectives by their compared form; two that compare equal get the same sums.
    std::unordered_map<std::string, std::vector<std::size_t>> byName;
    for (std::size_t k = 0; k < objectives.size(); ++k)
        byName[formats::LowerCase(formats::TrimSpaces(objectives[k]))].push_back(k);
    // A bank repeats a few topic texts: each is brought to its compared form once.
    std::unordered_map<std::string_view, const std::vector<std::size_t>*> byTopic;
    static const std::vector<std::size_t> kNone;
    for (const QuestionRecord& question : QuestionBank) {
        auto [topic, added] = byTopic.try_emplace(question.Topic, &kNone);
        if (added) {
            const auto found = byName.find(formats::LowerCase(formats::TrimSpaces(question.Topic)));
            if (found != byName.end()) topic->second = &found->second;
        }
        if (topic->second->empty()) continue;
        const QuestionStats* stats = lookup.Stats(question.QuestionID);
        for (const std::size_t k : *topic->second) {
            ObjectiveFigures& figures = all[k];
            ++figures.Questions;
            if (!stats) continue;
            figures.Asked += stats->TimesAsked;
            figures.Correct += stats->CorrectCount;
            figures.Wrong += stats->WrongCount;
        }
    }
    return all;
}

ObjectiveFigures ObjectiveFiguresOf(const std::string& objective, exam::QuestionLookup& lookup) {
    return ObjectiveFiguresOf(std::vector<std::string>{objective}, lookup).front();
}

std::int16_t ObjectiveAverage(const std::vector<ObjectiveFigures>& objectives) {
    if (objectives.empty()) return 0;
    std::int64_t sum = 0;
    for (const ObjectiveFigures& figures : objectives)
        if (figures.Asked > 0) sum += figures.Figure();
    return ToInt16(
        RoundHalfEven(static_cast<double>(sum) / static_cast<double>(objectives.size())));
}

std::int32_t QuestionFigure() {
    if (QuestionBank.empty()) return 0;
    // The first record of each id that was asked at all.
    std::unordered_map<std::int32_t, const QuestionStats*> asked;
    for (const QuestionStats& stats : QuestionStatsTable)
        if (stats.TimesAsked > 0) asked.try_emplace(stats.QuestionID, &stats);
    std::int64_t sum = 0;
    for (const QuestionRecord& question : QuestionBank) {
        const auto found = asked.find(question.QuestionID);
        if (found != asked.end())
            sum += TruncatedPercent(found->second->CorrectCount, found->second->TimesAsked);
    }
    return static_cast<std::int32_t>(
        RoundHalfEven(static_cast<double>(sum) / static_cast<double>(QuestionBank.size())));
}

std::int32_t OverallPercent(std::int16_t objectiveAverage, std::int16_t examAverage,
                            std::int32_t questionFigure) {
    const std::int64_t sum = std::int64_t{objectiveAverage} + examAverage + questionFigure;
    return static_cast<std::int32_t>(std::trunc(static_cast<double>(sum) / 3.0));
}

}  // namespace performance_figures
