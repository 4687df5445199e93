#include "browsers/mod_ViewAllQuestions.h"

#include "core/SystemVars.h"

namespace mod_ViewAllQuestions {

const browsers::BrowserTab& Tab() {
    static const browsers::BrowserTab tab{
        [](int element) -> const std::string& { return SystemVars.ViewAllTexts(element); },
        browsers::ChoiceLayout::kLabelInParentheses, &BuildQuestionList, false, false};
    return tab;
}

std::vector<QuestionRecord> BuildQuestionList() {
    return QuestionBank;
}

}  // namespace mod_ViewAllQuestions
