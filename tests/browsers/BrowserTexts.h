#pragma once

#include <string>

#include "core/QuestionBank.h"
#include "core/SystemVars.h"

namespace testsupport {

// The interface texts the question views read, short enough to spell out in expectations.
inline void SetBrowserTexts() {
    SystemVars = SystemVarsRecord{};
    SystemVars.ExamTexts.at(exam_text::kExamLabel) = "Exam:";
    SystemVars.ExamTexts.at(exam_text::kObjectiveLabel) = "Objective:";
    SystemVars.ExamTexts.at(exam_text::kLevelLabel) = "Level:";
    SystemVars.ExamTexts.at(exam_text::kQuestion) = "Q";
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
    SystemVars.ViewAllTexts.at(browser_text::kQuestion) = "Question";
    SystemVars.ViewAllTexts.at(browser_text::kOf) = " of ";
    for (int k = 0; k <= 14; ++k) {
        SystemVars.BookmarkTexts.at(k) = "B" + std::to_string(k);
        SystemVars.MyNotesTexts.at(k) = "N" + std::to_string(k);
    }
    SystemVars.PerformanceTexts.at(performance_text::kTimesAsked) = "Asked ";
    SystemVars.PerformanceTexts.at(performance_text::kAnsweredCorrectly) = "Correct ";
    SystemVars.PerformanceTexts.at(performance_text::kAnsweredWrong) = "Wrong ";
    SystemVars.PerformanceTexts.at(performance_text::kLeftUnanswered) = "Unanswered ";
    SystemVars.PerformanceTexts.at(performance_text::kSuccessRate) = "Rate ";
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
