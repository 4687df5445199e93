#pragma once

#include <filesystem>
#include <optional>

#include "exam/CurrentExam.h"
#include "formats/BinaryReader.h"
#include "formats/BinaryWriter.h"

namespace exam {

// The stored form of a whole exam (body of saved exams and history files). A string too
// long for its 16-bit length marks the writer failed.
void WriteExamBody(formats::BinaryWriter& out, const CurrentExamRecord& exam);

// Reads the stored form; a list of another shape than one 0-based dimension, or with more
// elements than the bytes left can hold, fails the reader and nothing is allocated for it.
CurrentExamRecord ReadExamBody(formats::BinaryReader& in);

// A list of 16-bit values (exam and history groups) in the stored list form.
void WriteInt16List(formats::BinaryWriter& out,
                    const std::optional<std::vector<std::int16_t>>& list);
std::optional<std::vector<std::int16_t>> ReadInt16List(formats::BinaryReader& in);

// A list of objective rows (exams and custom exams) in the stored list form.
void WriteObjectiveList(formats::BinaryWriter& out,
                        const std::optional<std::vector<ObjectiveCount>>& list);
std::optional<std::vector<ObjectiveCount>> ReadObjectiveList(formats::BinaryReader& in);

// Why a read record cannot be run.
enum class ExamFault {
    kNone,
    kNoQuestions,
    kTooManyQuestions,  // more than 32,767
    kStartOutside,      // the start index is not one of its questions
    kBadMinutes,        // no 16-bit number of minutes
    kBadRemainingTime,
    kBadDate,                // a date no calendar holds
    kAnsweredWithoutAnswer,  // a given-answer list that is empty
};
[[nodiscard]] ExamFault FindExamFault(const CurrentExamRecord& exam);
// Whether a read record can be run: it has no fault above.
[[nodiscard]] bool IsCoherentExam(const CurrentExamRecord& exam);

// The record of a signed exam file, or nullopt when the file is unreadable, fails its
// signature or is not coherent. Reports nothing.
std::optional<CurrentExamRecord> ReadExamFile(const std::filesystem::path& path);

// Writes the exam as a signed file; false when a text is too long to store (nothing is
// written) or when the write fails (reported by the shared writer).
bool WriteExamFile(const std::filesystem::path& path, const CurrentExamRecord& exam);

}  // namespace exam
