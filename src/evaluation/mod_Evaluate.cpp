#include "evaluation/mod_Evaluate.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "core/FileSignature.h"
#include "core/QuestionBank.h"
#include "core/SystemVars.h"
#include "core/mod_Array.h"
#include "core/mod_Helper.h"
#include "core/mod_System.h"
#include "exam/QuestionLookup.h"
#include "exam/mod_Exam.h"
#include "formats/TextRules.h"

namespace mod_Evaluate {

namespace {

struct Band {
    std::int32_t from;  // inclusive
    std::int32_t to;    // exclusive
    int rating;         // counted from evaluate_text::kFirstRating
};

constexpr std::array<Band, 6> kBands = {
    {{0, 40, 0}, {40, 60, 1}, {60, 70, 2}, {70, 80, 3}, {80, 90, 4}, {90, 101, 5}}};

std::string comparable(std::string_view text) {
    return formats::LowerCase(formats::TrimSpaces(text));
}

// The index header states its last record number; nullopt unless a whole number 0..32767.
std::optional<std::int16_t> lastIndexOf(std::string_view text) {
    text = formats::TrimSpaces(text);
    std::int16_t last = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), last);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || last < 0)
        return std::nullopt;
    return last;
}

}  // namespace

std::string GetRating(std::int32_t percent) {
    for (const Band& band : kBands)
        if (percent >= band.from && percent < band.to)
            return SystemVars.EvaluateTexts(evaluate_text::kFirstRating + band.rating);
    return {};
}

std::int32_t WholePercent(std::int32_t correct, std::int32_t total) {
    if (total <= 0) return 0;
    const double share = static_cast<double>(correct) / static_cast<double>(total);
    return static_cast<std::int32_t>(std::trunc(share * 100.0));
}

std::string ScoreText(std::int32_t correct, std::int32_t total) {
    return std::to_string(WholePercent(correct, total)) + "% (" + std::to_string(correct) + "/" +
           std::to_string(total) + ")";
}

std::string ScoreRating(std::int32_t correct, std::int32_t total) {
    return total > 0 ? GetRating(WholePercent(correct, total)) : std::string();
}

float FilledWidth(float fullWidth, std::int32_t correct, std::int32_t total) {
    if (total <= 0) return 0.0f;
    const double share = static_cast<double>(correct) / static_cast<double>(total);
    return static_cast<float>(static_cast<double>(fullWidth) * share);
}

int TwipsToPixels(double twips) {
    return static_cast<int>(std::nearbyint(twips / kTwipsPerPixel));
}

AttemptRecords FindAttempts(const std::vector<PerformanceSummary>& records,
                            const CurrentExamRecord& exam) {
    AttemptRecords found;
    const std::string title = comparable(exam.Title);
    for (std::size_t k = 0; k < records.size(); ++k) {
        const PerformanceSummary& record = records[k];
        // No early exit: a later qualifying record replaces an earlier one.
        if (comparable(record.Title) == title && record.ExamDate < exam.ExamDate &&
            record.FilePath != exam.PerformanceFile)
            found.previous = k;
        if (record.FilePath == exam.PerformanceFile) found.own = k;
    }
    return found;
}

std::optional<std::vector<PerformanceSummary>> ReadIndexForSummary() {
    if (mod_Performance::PerformanceIndexPath.empty()) mod_Performance::InitPerformancePaths();
    const std::filesystem::path& path = mod_Performance::PerformanceIndexPath;
    if (!mod_Helper::FileExists(path)) return std::nullopt;
    std::error_code ec;
    if (std::filesystem::file_size(path, ec) == 0 || ec) return std::nullopt;

    std::vector<PerformanceSummary> records;
    const bool readable = mod_System::ReadSignedFile(path, [&records](formats::BinaryReader& in) {
        const auto last = lastIndexOf(SignatureHeader.ExtraText);
        if (!last) return in.fail(formats::ReadError::kBadRecordIndex);
        // Every record and the footer after them must be there: a short file is unreadable.
        for (std::int32_t k = 0; k <= *last; ++k) {
            if (in.atEnd()) return in.fail(formats::ReadError::kCutShort);
            if (in.failed()) return;
            records.push_back(mod_Performance::ReadSummary(in));
        }
        if (in.atEnd()) in.fail(formats::ReadError::kCutShort);
    });
    if (!readable) return std::nullopt;
    return records;
}

std::vector<std::string> BuildObjectiveList() {
    std::vector<std::string> list{std::string()};
    std::size_t found = 0;
    if (!CurrentExam.Questions) return list;
    // Texts in the list; the starting empty element counts until the first objective takes it.
    std::unordered_set<std::string> listed{std::string()};
    exam::QuestionLookup lookup;
    for (const QuestionState& state : *CurrentExam.Questions) {
        if (const QuestionRecord* question = lookup.Question(state.QuestionID);
            question && !listed.contains(question->Topic)) {
            if (found == 0) listed.clear();
            list.resize(found + 1);
            list[found] = question->Topic;
            listed.insert(question->Topic);
            ++found;
        }
        // Every objective of the bank is listed: the rest cannot add one.
        if (!ObjectiveNames.empty() && found >= ObjectiveNames.size()) break;
    }
    mod_Array::SortStringArray(list, true, true);
    return list;
}

std::vector<ObjectiveScore> ScoreObjectives(const std::vector<std::string>& objectives) {
    std::vector<ObjectiveScore> scores(objectives.size());
    if (!CurrentExam.Questions) return scores;
    const std::vector<QuestionState>& states = *CurrentExam.Questions;
    std::unordered_map<std::int32_t, std::vector<std::size_t>> positions;
    for (std::size_t k = 0; k < states.size(); ++k)
        positions[states[k].QuestionID].push_back(k);
    std::unordered_map<std::string_view, std::vector<std::size_t>> byTopic;
    for (std::size_t k = 0; k < objectives.size(); ++k)
        byTopic[objectives[k]].push_back(k);
    for (const QuestionRecord& question : QuestionBank) {
        const auto objective = byTopic.find(question.Topic);
        if (objective == byTopic.end()) continue;
        const auto at = positions.find(question.QuestionID);
        if (at == positions.end()) continue;
        ObjectiveScore score;
        for (const std::size_t k : at->second) {
            const QuestionState& state = states[k];
            ++score.total;
            if (!mod_Array::IsArrayEmpty(state.GivenAnswers) &&
                mod_Exam::IsAnswerCorrect(state.AnswerKey, state.GivenAnswers,
                                          question.QuestionType))
                ++score.correct;
        }
        for (const std::size_t k : objective->second) {
            scores[k].total += score.total;
            scores[k].correct += score.correct;
        }
    }
    return scores;
}

ObjectiveScore ScoreObjective(std::string_view objective) {
    return ScoreObjectives({std::string(objective)}).front();
}

std::vector<QuestionResult> QuestionResults() {
    std::vector<QuestionResult> results;
    if (!CurrentExam.Questions) return results;
    exam::QuestionLookup lookup;
    const std::vector<QuestionState>& states = *CurrentExam.Questions;
    for (std::size_t k = 0; k < states.size(); ++k) {
        const QuestionState& state = states[k];
        const QuestionRecord* question = lookup.Question(state.QuestionID);
        if (!question) continue;
        ResultIcon icon = ResultIcon::kUnanswered;
        if (!mod_Array::IsArrayEmpty(state.GivenAnswers))
            icon = mod_Exam::IsAnswerCorrect(state.AnswerKey, state.GivenAnswers,
                                             question->QuestionType)
                       ? ResultIcon::kCorrect
                       : ResultIcon::kWrong;
        results.push_back({k, static_cast<std::size_t>(question - QuestionBank.data()), icon});
    }
    return results;
}

std::optional<std::size_t> FindQuestionByText(std::string_view text) {
    const std::string wanted = comparable(text);
    for (std::size_t k = 0; k < QuestionBank.size(); ++k)
        if (comparable(QuestionBank[k].QuestionText) == wanted) return k;
    return std::nullopt;
}

std::int32_t ObjectivesInnerHeight(std::size_t rows) {
    if (rows <= 1) return kObjectivesInnerDesignHeight;
    const auto height = static_cast<std::int64_t>(kObjectiveFirstRowTop) +
                        static_cast<std::int64_t>(rows) * kObjectiveRowHeight + 200;
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(height, std::numeric_limits<std::int32_t>::max()));
}

ObjectivesScroll SetupObjectivesScroll(std::int32_t innerHeight, std::int32_t outerHeight) {
    ObjectivesScroll scroll;
    scroll.max = innerHeight - outerHeight;
    if (outerHeight < innerHeight) {
        scroll.value = 0;
        scroll.enabled = true;
        scroll.smallChange = 10 * kTwipsPerPixel;
        scroll.largeChange = outerHeight;
    } else {
        scroll.enabled = false;
    }
    return scroll;
}

std::int32_t ScrollValueAfterKey(const ObjectivesScroll& scroll, int keyCode) {
    if (!scroll.enabled || scroll.max < scroll.min) return scroll.min;
    switch (keyCode) {
        case 37:
        case 38:
            return std::max(scroll.min, scroll.value - scroll.smallChange);
        case 39:
        case 40:
            return std::min(scroll.max, scroll.value + scroll.smallChange);
        case 33:
            return std::max(scroll.min, scroll.value - scroll.largeChange);
        case 34:
            return std::min(scroll.max, scroll.value + scroll.largeChange);
        default:
            return scroll.value;
    }
}

}  // namespace mod_Evaluate
