#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

// The large installation the screen benchmarks run on: the shipped interface texts and
// images, a generated bank over 42 objectives (every tenth question with one of 2,000
// pictures), statistics with answer counts, and on request saved exams and history records
// in the program folder's Data/.
namespace benchbank {

inline constexpr std::size_t kQuestions = 20000;
inline constexpr std::size_t kObjectives = 42;
inline constexpr std::size_t kPictures = 2000;
inline constexpr std::size_t kSaves = 1200;
inline constexpr std::size_t kHistoryRecords = 1200;

// A fresh program folder with the built System.dat, whose texts and images are loaded;
// an empty text when that worked, else what failed.
std::string PrepareProgramFolder();

// Replaces the bank, statistics, pictures, objective names and practice groups.
void InstallBank(std::size_t questions);
// Empties the bank and its counters again.
void ReleaseBank();

// `count` saved exams of 50 questions in Data/Save (the old ones removed).
void WriteSaves(std::size_t count);
// A history index of `count` records (the history files themselves are not needed).
void WriteHistory(std::size_t count);
// One note, for the bank's last question, in Data/MyNotes; false when it cannot be written.
bool WriteLastQuestionNote();

// What a Start button does for an untimed exam of every bank question in bank order.
void PrepareWholeBankExam(bool showScore);

}  // namespace benchbank
