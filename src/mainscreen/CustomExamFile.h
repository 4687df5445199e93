#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "exam/CurrentExam.h"
#include "formats/BinaryReader.h"
#include "formats/BinaryWriter.h"

// What the Customize dialog remembers for one exam kind; fields in stored order.
struct CustomExam {
    std::int32_t Code = 0;  // the kind's first group code
    std::optional<std::vector<std::int16_t>> Groups;
    std::optional<std::vector<ObjectiveCount>> Objectives;  // matched by row position
    bool Randomize = false;
    bool Timer = false;
    std::int16_t Minutes = 0;
    bool SmartMode = false;
    bool Smart0 = false;
    std::int16_t Smart0Count = 0;
    bool Smart1 = false;
    std::int16_t Smart1Count = 0;
    bool ShowScore = false;
    bool ShowAnswers = false;
    std::int16_t AnswerMode = 0;
    bool Save = false;

    bool operator==(const CustomExam&) const = default;
};

// At most one record per code, in the order created or read.
inline std::vector<CustomExam> CustomExamTable;

namespace CustomExamFile {

// The record of the custom-exam tab; it lives in memory only.
inline constexpr std::int32_t kCustomPageCode = 100;

void WriteRecord(formats::BinaryWriter& out, const CustomExam& record);
// A list of another shape than one 0-based dimension, or longer than the bytes left can
// hold, fails the reader.
CustomExam ReadRecord(formats::BinaryReader& in);

// Replaces CustomExamTable with Data/Custom.dat when the file exists. A file that cannot be
// read, or fails its signature, goes to the critical error (file deleted, AbortFlag set);
// the table is then left as it was and false is returned.
bool ReadCustomExamFile();

// Writes every record but the custom-exam tab's; false (reported) when the write fails.
bool WriteCustomExamFile();

}  // namespace CustomExamFile
