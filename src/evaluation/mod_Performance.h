#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/BinaryReader.h"
#include "formats/BinaryWriter.h"

// One recorded exam in the history index.
struct PerformanceSummary {
    std::int32_t Index = 0;
    std::string FilePath;
    std::string Title;
    double ExamDate = 0;  // OLE Automation dates
    double SavedAt = 0;
    std::string ElapsedText;
    std::optional<std::vector<std::int16_t>> Groups;
    std::int16_t Total = 0;
    std::int16_t Correct = 0;
    std::int16_t Wrong = 0;
    std::int16_t Unanswered = 0;
    std::string PercentText;
    std::string ScoreText;

    bool operator==(const PerformanceSummary&) const = default;
};

// The records of index.dat as last loaded; every append leaves it empty.
inline std::vector<PerformanceSummary> PerformanceHistory;

// The performance history store: Data/Performance/index.dat and one history file per
// recorded exam, named by 32 hexadecimal digits, holding CurrentExam whole.
namespace mod_Performance {

inline std::filesystem::path PerformanceDir;
inline std::string PerformanceIndexName;
inline std::filesystem::path PerformanceIndexPath;

// The index states its last record number as a 16-bit number.
inline constexpr std::size_t kMaxRecords = 32768;

// Sets the three paths and creates the folder.
void InitPerformancePaths();

// Appends the graded CurrentExam: history file first, then the index replaced whole, so
// a failure leaves the old index or the complete new one. A broken index is reported
// (AbortFlag) and nothing is written; a full index is left as it is. False when the exam
// was not stored.
bool SavePerformanceRecord();

// Loads index.dat into PerformanceHistory; false when there is none or it is broken
// (reported through the critical-error routine).
bool HasPerformanceHistory();

// Where a record's history file is: the stored path's file name (the path may be written
// with '\\' or '/'), in this program's own history folder and nowhere else, so that a copied
// program folder reads its own files. nullopt for a name the store never makes.
std::optional<std::filesystem::path> HistoryFileOf(std::string_view storedPath);

// The file side of reopening a record: reads its history file into CurrentExam. A file
// that is missing, fails its signature, is not coherent or holds results that grading its
// own answers could not have given gives the broken-record message and false, and
// CurrentExam stays as it was; on true the caller shows the exam and evaluation windows.
bool OpenPerformanceRecord(std::int16_t index);

// The index's records after its header, by the reading rule of every index reader;
// nullopt (reported through the critical-error routine) for a broken index.
std::optional<std::vector<PerformanceSummary>> ReadPerformanceIndex();

void WriteSummary(formats::BinaryWriter& out, const PerformanceSummary& summary);
PerformanceSummary ReadSummary(formats::BinaryReader& in);

}  // namespace mod_Performance
