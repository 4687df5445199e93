#pragma once

#include <cstdint>
#include <vector>

#include "browsers/QuestionBrowser.h"

// The view-all tab of the main screen (tab 3): every question of the bank, taken once per run.
namespace mod_ViewAllQuestions {

const browsers::BrowserTab& Tab();
std::vector<std::int32_t> BuildQuestionList();

}  // namespace mod_ViewAllQuestions
