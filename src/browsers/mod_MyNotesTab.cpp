#include "browsers/mod_MyNotesTab.h"

#include <algorithm>
#include <string>

#include "core/AppPaths.h"
#include "core/SystemVars.h"
#include "core/mod_Helper.h"

namespace mod_MyNotesTab {
const browsers::BrowserTab& Tab() {
    static const browsers::BrowserTab tab{
        [](int element) -> const std::string& { return SystemVars.MyNotesTexts(element); },
        browsers::ChoiceLayout::kLabelInline, &BuildQuestionList, true, false};
    return tab;
}

std::filesystem::path NoteFile(std::int32_t questionId) {
    return AppPaths::MyNotesFolder() / (std::to_string(questionId) + ".html");
}

std::vector<QuestionRecord> BuildQuestionList() {
    std::vector<QuestionRecord> list;
    std::copy_if(
        QuestionBank.begin(), QuestionBank.end(), std::back_inserter(list),
        [](const QuestionRecord& q) { return mod_Helper::FileExists(NoteFile(q.QuestionID)); });
    return list;
}

}  // namespace mod_MyNotesTab
