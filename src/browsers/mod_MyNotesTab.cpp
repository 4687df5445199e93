#include "browsers/mod_MyNotesTab.h"

#include <algorithm>
#include <string>

#include "core/AppPaths.h"
#include "core/SystemVars.h"
#include "core/mod_Helper.h"

namespace mod_MyNotesTab {
namespace {

bool hasNote(const QuestionRecord& question) {
    return mod_Helper::FileExists(NoteFile(question.QuestionID));
}

}  // namespace

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
    std::copy_if(QuestionBank.begin(), QuestionBank.end(), std::back_inserter(list), hasNote);
    return list;
}

bool HasQuestionNote() {
    return std::any_of(QuestionBank.begin(), QuestionBank.end(), hasNote);
}

}  // namespace mod_MyNotesTab
