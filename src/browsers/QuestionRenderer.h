#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/QuestionBank.h"

// The plain-text page of one question as the browsers and the full view show it. Texts are
// Windows-1252 with CR LF line breaks.
namespace browsers {

enum class ChoiceLayout {
    kLabelInParentheses,  // "(A)" on its own line, the text on the next
    kLabelInline,         // "A.  text" on one line
};

struct RenderOptions {
    ChoiceLayout Layout = ChoiceLayout::kLabelInParentheses;
    bool ShowAnswers = false;
    std::string AnswerHeading;  // heading of the answer block
    // The full view's header line in front of the page; none on the tabs.
    std::optional<std::string> HeaderLine;
    // The full view's statistics block, opened from the performance tab.
    std::optional<QuestionStats> Statistics;
};

struct RenderedQuestion {
    std::string Text;
    // Where the question's picture goes: the line after the question text.
    int PictureOffset = 0;
    // The matched picture; null when the question names none or none matches.
    const AttachedFile* Picture = nullptr;
};

RenderedQuestion RenderQuestion(const QuestionRecord& question, const RenderOptions& options);

// The answer parts, appended to text.
void AppendChoicesType1(std::string& text, std::string_view choices, ChoiceLayout layout);
void AppendChoicesType2(std::string& text, std::string_view choices, ChoiceLayout layout);
void AppendFillInLine(std::string& text);

// The first question picture whose name matches, trimmed and without regard to case.
const AttachedFile* FindQuestionPicture(std::string_view name);

// Caption of the question page: "<caption>   (<Question >n / count)".
std::string PositionCaption(const std::string& caption, int position, int count);

// Whole percentage: divide first, then multiply by 100, then truncate (29 of 50 gives 57).
int TruncatedPercent(std::int32_t part, std::int32_t whole);

}  // namespace browsers
