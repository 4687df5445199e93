#pragma once

#include <vector>

#include "core/QuestionBank.h"

// What the full-view window needs from its opener.
struct FullViewRequest {
    std::vector<QuestionRecord> List;
    int Start = 0;
    bool ShowAnswers = false;
    bool ShowStatistics = false;  // opened from the performance tab
};

// Where the user left the full-view window.
struct FullViewResult {
    int Position = 0;
    bool ShowAnswers = false;
};
