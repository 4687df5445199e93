#include "browsers/mod_Bookmark.h"

#include <unordered_set>

#include "core/SystemVars.h"

namespace mod_Bookmark {

const browsers::BrowserTab& Tab() {
    static const browsers::BrowserTab tab{
        [](int element) -> const std::string& { return SystemVars.BookmarkTexts(element); },
        browsers::ChoiceLayout::kLabelInline, &BuildQuestionList, true, false};
    return tab;
}

std::vector<std::int32_t> BuildQuestionList() {
    std::unordered_set<std::int32_t> ids;
    for (const QuestionStats& stats : QuestionStatsTable)
        if (stats.Bookmarked) ids.insert(stats.QuestionID);
    return browsers::BankIdsAmong(ids);
}

}  // namespace mod_Bookmark
