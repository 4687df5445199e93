#include "browsers/mod_MyNotesTab.h"

#include <algorithm>
#include <string>

#include "core/SystemVars.h"
#include "notes/mod_MyNotes.h"

namespace mod_MyNotesTab {
const browsers::BrowserTab& Tab() {
    static const browsers::BrowserTab tab{
        [](int element) -> const std::string& { return SystemVars.MyNotesTexts(element); },
        browsers::ChoiceLayout::kLabelInline, &BuildQuestionList, true, false};
    return tab;
}

std::filesystem::path NoteFile(std::int32_t questionId) {
    return mod_MyNotes::NotePath(questionId);
}

std::vector<QuestionRecord> BuildQuestionList() {
    std::vector<QuestionRecord> list;
    std::copy_if(QuestionBank.begin(), QuestionBank.end(), std::back_inserter(list),
                 [](const QuestionRecord& q) { return mod_MyNotes::HasNote(q.QuestionID); });
    return list;
}

}  // namespace mod_MyNotesTab
