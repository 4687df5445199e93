#pragma once

#include <cstdint>
#include <vector>

#include "browsers/QuestionBrowser.h"

// The bookmarks tab of the main screen (tab 4): the bookmarked bank questions, rebuilt on
// every refresh.
namespace mod_Bookmark {

const browsers::BrowserTab& Tab();
std::vector<std::int32_t> BuildQuestionList();

}  // namespace mod_Bookmark
