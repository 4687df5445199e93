#include "browsers/QuestionRenderer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "core/SystemVars.h"

namespace browsers {
namespace {

constexpr std::string_view kCrLf = "\r\n";

std::vector<std::string_view> split(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t found = text.find(separator); found != std::string_view::npos;
         found = text.find(separator, start)) {
        parts.push_back(text.substr(start, found - start));
        start = found + separator.size();
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::string_view field(const std::vector<std::string_view>& fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::string_view();
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Bank data with a missing or non-numeric flag counts as not correct.
bool isCorrect(std::string_view flag) {
    flag = trimmed(flag);
    int value = 0;
    const auto [end, error] = std::from_chars(flag.data(), flag.data() + flag.size(), value);
    return error == std::errc() && end == flag.data() + flag.size() && value == 1;
}

std::string lowerTrimmed(std::string_view text) {
    std::string key(trimmed(text));
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

void appendChoices(std::string& text, const std::vector<std::string_view>& items,
                   ChoiceLayout layout) {
    for (const std::string_view item : items) {
        const auto fields = split(item, "<f>");
        text += kCrLf;
        text += kCrLf;
        if (layout == ChoiceLayout::kLabelInParentheses) {
            text += "(";
            text += field(fields, 2);
            text += ")";
            text += kCrLf;
            text += field(fields, 3);
            text += kCrLf;
        } else {
            text += field(fields, 2);
            text += ".  ";
            text += field(fields, 3);
        }
    }
}

std::int32_t unansweredCount(const QuestionStats& stats) {
    // Counters read from a file need not agree: never overflow.
    const std::int64_t left =
        std::int64_t{stats.TimesAsked} - stats.CorrectCount - stats.WrongCount;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        left, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void appendStatistics(std::string& text, const QuestionStats& stats) {
    const auto line = [&text](int element, const std::string& value) {
        text += kCrLf;
        text += SystemVars.PerformanceTexts(element);
        text += value;
    };
    line(performance_text::kTimesAsked, std::to_string(stats.TimesAsked));
    line(performance_text::kAnsweredCorrectly, std::to_string(stats.CorrectCount));
    line(performance_text::kAnsweredWrong, std::to_string(stats.WrongCount));
    line(performance_text::kLeftUnanswered, std::to_string(unansweredCount(stats)));
    line(performance_text::kSuccessRate,
         stats.TimesAsked < 1
             ? std::string(" - ")
             : std::to_string(TruncatedPercent(stats.CorrectCount, stats.TimesAsked)) + " %");
}

}  // namespace

void AppendChoicesType1(std::string& text, std::string_view choices, ChoiceLayout layout) {
    text += kCrLf;
    text += kCrLf;
    text += SystemVars.TypeNames(1);
    appendChoices(text, split(choices, "<c>"), layout);
}

void AppendChoicesType2(std::string& text, std::string_view choices, ChoiceLayout layout) {
    const auto items = split(choices, "<c>");
    const auto correct = std::count_if(items.begin(), items.end(), [](std::string_view item) {
        return isCorrect(field(split(item, "<f>"), 0));
    });
    text += kCrLf;
    text += kCrLf;
    text += SystemVars.TypeNames(2) + "(" + SystemVars.TypeNames(10) + " " +
            std::to_string(correct) + ")";
    appendChoices(text, items, layout);
}

void AppendFillInLine(std::string& text) {
    text += kCrLf;
    text += kCrLf;
    text += SystemVars.TypeNames(6) + "  ________________________";
}

const AttachedFile* FindQuestionPicture(std::string_view name) {
    const std::string wanted = lowerTrimmed(name);
    for (const AttachedFile& picture : QuestionPictures)
        if (lowerTrimmed(picture.Name) == wanted) return &picture;
    return nullptr;
}

RenderedQuestion RenderQuestion(const QuestionRecord& question, const RenderOptions& options) {
    const auto& exam = SystemVars.ExamTexts;
    RenderedQuestion page;
    std::string& text = page.Text;
    if (options.HeaderLine) {
        text += kCrLf;
        text += *options.HeaderLine;
    }
    text += kCrLf;
    text += exam(exam_text::kExamLabel) + " " + SystemVars.GroupNames(question.GroupCode);
    text += kCrLf;
    text += exam(exam_text::kObjectiveLabel) + " " + question.Topic;
    text += kCrLf;
    text += exam(exam_text::kLevelLabel) + " " + SystemVars.LevelNames(question.Level);
    if (options.Statistics) appendStatistics(text, *options.Statistics);
    text += kCrLf;
    text += std::string(75, '-');
    text += kCrLf;
    text += kCrLf;
    text += question.QuestionText;
    text += kCrLf;
    text += kCrLf;
    page.PictureOffset = static_cast<int>(text.size());

    switch (question.QuestionType) {
        case kSingleAnswerType:
            AppendChoicesType1(text, question.Choices, options.Layout);
            break;
        case kMultipleAnswerType:
            AppendChoicesType2(text, question.Choices, options.Layout);
            break;
        case kFillInAnswerType:
            AppendFillInLine(text);
            break;
        default:
            break;
    }
    if (options.ShowAnswers) {
        const std::string rule(50, '-');
        text += kCrLf;
        text += kCrLf;
        text += rule;
        text += kCrLf;
        text += options.AnswerHeading;
        text += kCrLf;
        text += rule;
        text += kCrLf;
        text += kCrLf;
        text += question.Explanation;
    }
    text += kCrLf;
    text += kCrLf;
    text += kCrLf;
    if (!question.PictureName.empty()) page.Picture = FindQuestionPicture(question.PictureName);
    return page;
}

std::string PositionCaption(const std::string& caption, int position, int count) {
    return caption + "   (" + SystemVars.ExamTexts(exam_text::kQuestion) +
           std::to_string(position + 1) + " / " + std::to_string(count) + ")";
}

int TruncatedPercent(std::int32_t part, std::int32_t whole) {
    const double quotient = static_cast<double>(part) / static_cast<double>(whole);
    // Counters read from a file need not agree (more correct than asked): never overflow.
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(std::trunc(quotient * 100.0), low, high));
}

}  // namespace browsers
