#include "evaluation/mod_Performance.h"

#include <algorithm>
#include <charconv>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/FileSignature.h"
#include "core/SystemVars.h"
#include "core/mod_GenKey.h"
#include "core/mod_Helper.h"
#include "core/mod_MD5.h"
#include "core/mod_System.h"
#include "exam/CurrentExam.h"
#include "exam/ExamGrades.h"
#include "exam/ExamRecordIo.h"
#include "exam/ExamTime.h"
#include "formats/StoredList.h"
#include "formats/Windows1252.h"
#include "platform/MessageBox.h"

namespace mod_Performance {

namespace {

// Index, five empty texts, two dates, an undimensioned list and four counts.
constexpr std::size_t kSummaryMinBytes = 4 + 5 * 2 + 2 * 8 + 2 + 4 * 2;

// The last record number of the header's text; nullopt unless a whole number 0..32767.
std::optional<std::int16_t> lastIndexOf(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    std::int16_t last = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), last);
    if (error != std::errc() || end != text.data() + text.size() || last < 0) return std::nullopt;
    return last;
}

// The names drawHistoryPath makes: 32 upper-case hexadecimal digits, never a folder step.
bool isHistoryName(std::string_view name) {
    return name.size() == 32 && std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
           });
}

bool hasIndex() {
    std::error_code ec;
    return mod_Helper::FileExists(PerformanceIndexPath) &&
           std::filesystem::file_size(PerformanceIndexPath, ec) > 0 && !ec;
}

std::filesystem::path drawHistoryPath() {
    std::filesystem::path path;
    do {
        path = PerformanceDir / mod_MD5::MD5String(mod_GenKey::GenKey(8));
    } while (mod_Helper::FileExists(path));
    return path;
}

PerformanceSummary summaryOfCurrentExam(std::size_t index, const std::filesystem::path& path) {
    PerformanceSummary summary;
    summary.Index = static_cast<std::int32_t>(index);
    summary.FilePath = path.string();
    summary.Title = CurrentExam.Title;
    summary.ExamDate = CurrentExam.ExamDate;
    summary.SavedAt = exam::OleDateNow();
    summary.ElapsedText = CurrentExam.ElapsedText;
    summary.Groups = CurrentExam.Groups;
    summary.Total = CurrentExam.Total;
    summary.Correct = CurrentExam.Correct;
    summary.Wrong = CurrentExam.Wrong;
    summary.Unanswered = CurrentExam.Unanswered;
    summary.PercentText = CurrentExam.PercentText;
    summary.ScoreText = CurrentExam.ScoreText;
    return summary;
}

}  // namespace

void InitPerformancePaths() {
    PerformanceDir = AppPaths::PerformanceFolder();
    PerformanceIndexName = "index.dat";
    PerformanceIndexPath = PerformanceDir / PerformanceIndexName;
    std::error_code ec;
    std::filesystem::create_directories(PerformanceDir, ec);
}

void WriteSummary(formats::BinaryWriter& out, const PerformanceSummary& summary) {
    out.writeInt32(summary.Index);
    out.writeString(summary.FilePath);
    out.writeString(summary.Title);
    out.writeDate(summary.ExamDate);
    out.writeDate(summary.SavedAt);
    out.writeString(summary.ElapsedText);
    exam::WriteInt16List(out, summary.Groups);
    out.writeInt16(summary.Total);
    out.writeInt16(summary.Correct);
    out.writeInt16(summary.Wrong);
    out.writeInt16(summary.Unanswered);
    out.writeString(summary.PercentText);
    out.writeString(summary.ScoreText);
}

PerformanceSummary ReadSummary(formats::BinaryReader& in) {
    PerformanceSummary summary;
    summary.Index = in.readInt32();
    summary.FilePath = in.readString();
    summary.Title = in.readString();
    summary.ExamDate = in.readDate();
    summary.SavedAt = in.readDate();
    summary.ElapsedText = in.readString();
    summary.Groups = exam::ReadInt16List(in);
    summary.Total = in.readInt16();
    summary.Correct = in.readInt16();
    summary.Wrong = in.readInt16();
    summary.Unanswered = in.readInt16();
    summary.PercentText = in.readString();
    summary.ScoreText = in.readString();
    return summary;
}

std::optional<std::vector<PerformanceSummary>> ReadPerformanceIndex() {
    std::vector<PerformanceSummary> records;
    const bool readable =
        mod_System::ReadSignedFile(PerformanceIndexPath, [&records](formats::BinaryReader& in) {
            const auto last = lastIndexOf(SignatureHeader.ExtraText);
            if (!last) return in.fail(formats::ReadError::kBadRecordIndex);
            records =
                formats::ReadElements(in, std::int64_t{*last} + 1, kSummaryMinBytes, ReadSummary);
        });
    if (!readable || !mod_System::IsFileSignatureValid()) {
        mod_System::ShowCriticalError(PerformanceIndexPath);
        return std::nullopt;
    }
    return records;
}

bool SavePerformanceRecord() {
    CurrentExam.Continued = false;
    PerformanceHistory.clear();
    InitPerformancePaths();
    std::vector<PerformanceSummary> history;
    if (hasIndex()) {
        auto read = ReadPerformanceIndex();
        if (!read) return false;
        history = std::move(*read);
    }
    // A full index cannot state one more record: the store stays as it is.
    if (history.size() >= kMaxRecords) return false;

    const std::filesystem::path path = drawHistoryPath();
    CurrentExam.PerformanceFile = path.string();
    history.push_back(summaryOfCurrentExam(history.size(), path));

    formats::BinaryWriter examBody;
    exam::WriteExamBody(examBody, CurrentExam);
    if (!mod_System::WriteSignedFile(path, "", examBody)) return false;

    formats::BinaryWriter indexBody;
    for (const PerformanceSummary& summary : history)
        WriteSummary(indexBody, summary);
    if (!mod_System::WriteSignedFile(PerformanceIndexPath, std::to_string(history.size() - 1),
                                     indexBody)) {
        // The old index still stands; a history file it does not list would only linger.
        std::error_code ec;
        std::filesystem::remove(path, ec);
        return false;
    }
    return true;
}

bool HasPerformanceHistory() {
    InitPerformancePaths();
    if (!hasIndex()) return false;
    auto read = ReadPerformanceIndex();
    PerformanceHistory = read ? std::move(*read) : std::vector<PerformanceSummary>{};
    return read && !AbortFlag;
}

std::optional<std::filesystem::path> HistoryFileOf(std::string_view storedPath) {
    const std::string name = mod_Helper::GetFileName(storedPath);
    if (!isHistoryName(name)) return std::nullopt;
    return AppPaths::PerformanceFolder() / name;
}

bool OpenPerformanceRecord(std::int16_t index) {
    const bool known = index >= 0 && static_cast<std::size_t>(index) < PerformanceHistory.size();
    const std::string stored =
        known ? PerformanceHistory[static_cast<std::size_t>(index)].FilePath : std::string();
    const auto file = HistoryFileOf(stored);
    auto read = file ? exam::ReadExamFile(*file) : std::nullopt;
    // The signature does not cover the body: results this program cannot have stored are an
    // altered file too.
    if (!read || !exam::HasOwnGrades(*read)) {
        // The file that was refused, which after a copy of the program folder is not the
        // stored one.
        const std::filesystem::path named = file ? *file : std::filesystem::path(stored);
        platform::MsgBox(SystemVars.PerformanceTexts(performance_text::kDamagedRecord) +
                             "\r\n\r\n" + formats::PathToWindows1252(named),
                         platform::kCritical,
                         SystemVars.PerformanceTexts(performance_text::kDamagedRecordCaption));
        return false;
    }
    CurrentExam = std::move(*read);
    return true;
}

}  // namespace mod_Performance
