#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "browsers/QuestionBrowser.h"

// The my-notes tab of the main screen (tab 6): the bank questions whose note file exists,
// rebuilt on every refresh.
namespace mod_MyNotesTab {

const browsers::BrowserTab& Tab();
std::vector<std::int32_t> BuildQuestionList();
std::filesystem::path NoteFile(std::int32_t questionId);

}  // namespace mod_MyNotesTab
