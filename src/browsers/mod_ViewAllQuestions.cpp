#include "browsers/mod_ViewAllQuestions.h"

#include "core/SystemVars.h"

namespace mod_ViewAllQuestions {

const browsers::BrowserTab& Tab() {
    static const browsers::BrowserTab tab{
        [](int element) -> const std::string& { return SystemVars.ViewAllTexts(element); },
        browsers::ChoiceLayout::kLabelInParentheses, &BuildQuestionList, false, false};
    return tab;
}

std::vector<std::int32_t> BuildQuestionList() {
    std::vector<std::int32_t> ids;
    ids.reserve(QuestionBank.size());
    for (const QuestionRecord& q : QuestionBank)
        ids.push_back(q.QuestionID);
    return ids;
}

}  // namespace mod_ViewAllQuestions
