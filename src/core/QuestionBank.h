#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/Bytes.h"

// The answer types of QuestionRecord::QuestionType.
inline constexpr std::int16_t kSingleAnswerType = 1;    // option buttons
inline constexpr std::int16_t kMultipleAnswerType = 2;  // check boxes
inline constexpr std::int16_t kFillInAnswerType = 6;    // a text box

// The group codes of QuestionRecord::GroupCode: the exam kind a question belongs to.
inline constexpr std::int16_t kTrialGroup = 11;
inline constexpr std::int16_t kTrialSecondGroup = 46;
inline constexpr std::int16_t kDiagnosticGroup = 21;
inline constexpr std::int16_t kFinalGroup = 31;
inline constexpr std::int16_t kExhaustiveGroup = 41;
inline constexpr std::int16_t kFirstPracticeGroup = 51;  // one practice set per code from here

// An exam kind's group codes as the Customize dialog and the custom tab take them.
inline constexpr const char* kTrialGroupsText = "11,46";

struct QuestionRecord {
    std::int32_t QuestionID = 0;
    std::int16_t GroupCode = 0;
    std::string Topic;
    std::int16_t Level = 0;
    std::int16_t QuestionType = 0;
    std::int16_t Field5 = 0;
    std::string QuestionText;
    std::string Explanation;
    std::string Field8;
    std::string PictureName;
    std::string Choices;
};

struct AttachedFile {
    std::string Name;  // the 100-character archive name field
    formats::Bytes Bytes;
};

struct QuestionStats {
    std::int32_t QuestionID = 0;
    std::int32_t CorrectCount = 0;
    std::int32_t WrongCount = 0;
    std::int32_t TimesAsked = 0;
    bool Bookmarked = false;
};

inline std::vector<QuestionRecord> QuestionBank;
// The full bank while the custom-exam tab's subset stands in for it; never set otherwise.
inline std::optional<std::vector<QuestionRecord>> QuestionBankBackup;
inline std::vector<AttachedFile> QuestionPictures;
inline std::vector<std::string> ObjectiveNames;
inline std::vector<std::int16_t> PracticeGroups;
// One per question of the full bank, in bank order.
inline std::vector<QuestionStats> QuestionStatsTable;
