#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/QuestionBank.h"
#include "core/mod_System.h"
#include "formats/BinaryReader.h"
#include "formats/BinaryWriter.h"

namespace mod_Question {

// Unpacks Data/Data.dat into QuestionBank, QuestionPictures, ObjectiveNames and
// PracticeGroups, and reads (or creates) the statistics; failure only through AbortFlag.
void LoadQuestionBank();

// Number of bank questions with that group code.
std::int16_t CountQuestionsInGroup(std::int16_t groupCode);

struct ParsedBank {
    std::vector<QuestionRecord> questions;
    std::vector<std::string> objectives;
    std::vector<std::int16_t> practiceGroups;
};
// Why a bank text was refused.
enum class BankError {
    kNone,
    kTextAfterNul,   // a NUL before the end: the text was damaged, the bank would be cut
    kTooFewFields,   // a question of fewer than 11 fields (an empty piece among them)
    kNotANumber,     // a numeric field that is no number of its width
    kNoPracticeSet,  // no question of group 51 or above
};
// questions.db text (ending at its first NUL); nullopt for a malformed bank, the reason in
// `why` when given.
std::optional<ParsedBank> ParseQuestions(std::string_view text, BankError* why = nullptr);

// The content of header.dat that binds Data.dat to the product and DataKey.
std::string DataDigest(std::string_view productName, std::string_view productCode,
                       std::string_view dataKey);

void WriteStatsBody(formats::BinaryWriter& out, const std::vector<QuestionStats>& table);
std::vector<QuestionStats> ReadStatsBody(formats::BinaryReader& in, std::size_t count);

// Rewrites Data/Resource.dat from QuestionStatsTable; false (reported) on failure.
bool WriteStatistics(mod_System::WriteFailure failure = mod_System::WriteFailure::kReport);

}  // namespace mod_Question
