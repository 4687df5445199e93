#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A list that was never dimensioned is nullopt; an unanswered question is told that way.

// One question of the running exam, in exam order.
struct QuestionState {
    std::int32_t QuestionID = 0;
    std::optional<std::vector<std::string>> AnswerKey;
    std::optional<std::vector<std::string>> GivenAnswers;
    bool Marked = false;

    bool operator==(const QuestionState&) const = default;
};

// One objective row of a custom exam: the wanted number of questions per level.
struct ObjectiveCount {
    bool Selected = false;
    std::string Name;
    std::int16_t Beginner = 0;
    std::int16_t Intermediate = 0;
    std::int16_t Expert = 0;

    bool operator==(const ObjectiveCount&) const = default;
};

// The one exam being set up, taken, saved, restored or reviewed; fields in stored order.
struct CurrentExamRecord {
    std::int32_t Unused0 = 0;
    bool IsCustom = false;
    std::string PerformanceFile;
    double ExamDate = 0;  // OLE Automation date
    std::string Unused20;
    std::string Title;
    std::string Minutes;  // decimal whole minutes; "0" = untimed
    std::string RemainingText;
    std::string ElapsedText;
    bool TimerOn = false;
    std::int16_t Unused42 = 0;
    std::int16_t StartIndex = 0;
    std::optional<std::vector<std::int16_t>> Groups;
    std::optional<std::vector<ObjectiveCount>> Objectives;
    bool Randomize = false;
    bool SmartMode = false;
    bool Smart0 = false;
    std::int16_t Smart0Count = 0;
    bool Smart1 = false;
    std::int16_t Smart1Count = 0;
    bool ShowScore = false;
    std::int16_t Unused70 = 0;
    std::int16_t AnswerMode = 0;
    std::int16_t Unused74 = 0;
    std::int16_t Total = 0;
    std::int16_t Correct = 0;
    std::int16_t Wrong = 0;
    std::int16_t Unanswered = 0;
    std::string PercentText;
    std::string ScoreText;
    std::optional<std::vector<QuestionState>> Questions;
    bool Continued = false;

    bool operator==(const CurrentExamRecord&) const = default;
};

inline CurrentExamRecord CurrentExam;
// Copying it over CurrentExam resets every field.
inline const CurrentExamRecord BlankExam{};
// 0-based position of the question shown in the exam window.
inline std::int16_t CurrentQuestionIndex = 0;
