#pragma once

#include <cstdint>
#include <vector>

// What the full-view window needs from its opener.
struct FullViewRequest {
    std::vector<std::int32_t> List;  // question ids, read from the bank when shown
    int Start = 0;
    bool ShowAnswers = false;
    bool ShowStatistics = false;  // opened from the performance tab
};

// Where the user left the full-view window.
struct FullViewResult {
    int Position = 0;
    bool ShowAnswers = false;
};
