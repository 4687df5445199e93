#pragma once

#include <string>

#include "core/QuestionBank.h"
#include "core/SystemVars.h"

namespace testsupport {

// The interface texts the question views read, short enough to spell out in expectations.
inline void SetBrowserTexts() {
    SystemVars = SystemVarsRecord{};
    SystemVars.ExamTexts.at(0) = "Exam:";
    SystemVars.ExamTexts.at(1) = "Objective:";
    SystemVars.ExamTexts.at(2) = "Level:";
    SystemVars.ExamTexts.at(3) = "Q";
    SystemVars.GroupNames.at(11) = "Trial";
    SystemVars.LevelNames.at(1) = "Beginner";
    SystemVars.TypeNames.at(1) = "Single";
    SystemVars.TypeNames.at(2) = "Multiple ";
    SystemVars.TypeNames.at(6) = "Fill";
    SystemVars.TypeNames.at(10) = "Choose";
    for (int k = 0; k <= 3; ++k)
        SystemVars.BrowserListTexts.at(k) = "H" + std::to_string(k);
    for (int k = 0; k <= 13; ++k)
        SystemVars.ViewAllTexts.at(k) = "V" + std::to_string(k);
    SystemVars.ViewAllTexts.at(12) = "Question";
    SystemVars.ViewAllTexts.at(13) = " of ";
    for (int k = 0; k <= 14; ++k) {
        SystemVars.BookmarkTexts.at(k) = "B" + std::to_string(k);
        SystemVars.MyNotesTexts.at(k) = "N" + std::to_string(k);
    }
    SystemVars.PerformanceTexts.at(13) = "Asked ";
    SystemVars.PerformanceTexts.at(14) = "Correct ";
    SystemVars.PerformanceTexts.at(15) = "Wrong ";
    SystemVars.PerformanceTexts.at(16) = "Unanswered ";
    SystemVars.PerformanceTexts.at(17) = "Rate ";
}

inline QuestionRecord BrowserQuestion(std::int32_t id, std::int16_t type = 1) {
    QuestionRecord q;
    q.QuestionID = id;
    q.GroupCode = 11;
    q.Topic = "Routing";
    q.Level = 1;
    q.QuestionType = type;
    q.QuestionText = "Text " + std::to_string(id);
    q.Explanation = "Because";
    q.Choices = "1<f><f>A<f>yes<c>0<f><f>B<f>no";
    return q;
}

}  // namespace testsupport
