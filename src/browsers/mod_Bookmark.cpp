#include "browsers/mod_Bookmark.h"

#include <algorithm>
#include <unordered_set>

#include "core/SystemVars.h"

namespace mod_Bookmark {

const browsers::BrowserTab& Tab() {
    static const browsers::BrowserTab tab{
        [](int element) -> const std::string& { return SystemVars.BookmarkTexts(element); },
        browsers::ChoiceLayout::kLabelInline, &BuildQuestionList, true, false};
    return tab;
}

std::vector<QuestionRecord> BuildQuestionList() {
    std::unordered_set<std::int32_t> ids;
    for (const QuestionStats& stats : QuestionStatsTable)
        if (stats.Bookmarked) ids.insert(stats.QuestionID);
    std::vector<QuestionRecord> list;
    std::copy_if(QuestionBank.begin(), QuestionBank.end(), std::back_inserter(list),
                 [&](const QuestionRecord& q) { return ids.contains(q.QuestionID); });
    return list;
}

}  // namespace mod_Bookmark
