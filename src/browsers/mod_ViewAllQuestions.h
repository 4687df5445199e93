#pragma once

#include <vector>

#include "browsers/QuestionBrowser.h"

// The view-all tab of the main screen (tab 3): every question of the bank, taken once per run.
namespace mod_ViewAllQuestions {

const browsers::BrowserTab& Tab();
std::vector<QuestionRecord> BuildQuestionList();

}  // namespace mod_ViewAllQuestions
