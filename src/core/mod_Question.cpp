#include "core/mod_Question.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/SystemVars.h"
#include "core/cls_RCFile.h"
#include "core/mod_Array.h"
#include "core/mod_Helper.h"
#include "core/mod_MD5.h"
#include "core/mod_System.h"
#include "formats/TextRules.h"

namespace mod_Question {

namespace {

constexpr std::string_view kQuestionSeparator = "\x1E";
constexpr std::string_view kFieldSeparator = "\x1F";
constexpr std::size_t kFieldCount = 11;
constexpr std::uint64_t kStatsRecordBytes = 18;

// A decimal field, spaces around it allowed; nullopt when it is no number of type T.
template <class T>
std::optional<T> parseNumber(std::string_view field) {
    field = formats::TrimSpaces(field);
    if (!field.empty() && field.front() == '+') field.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || error != std::errc() || end != field.data() + field.size() ||
        value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
        return std::nullopt;
    return static_cast<T>(value);
}

std::optional<QuestionRecord> parseRecord(std::string_view piece, BankError& why) {
    const auto fields = formats::Split(piece, kFieldSeparator);
    why = BankError::kTooFewFields;
    if (fields.size() < kFieldCount) return std::nullopt;
    const auto id = parseNumber<std::int32_t>(fields[0]);
    const auto group = parseNumber<std::int16_t>(fields[1]);
    const auto level = parseNumber<std::int16_t>(fields[3]);
    const auto type = parseNumber<std::int16_t>(fields[4]);
    const auto field5 = parseNumber<std::int16_t>(fields[5]);
    why = BankError::kNotANumber;
    if (!id || !group || !level || !type || !field5) return std::nullopt;
    why = BankError::kNone;
    QuestionRecord record;
    record.QuestionID = *id;
    record.GroupCode = *group;
    record.Topic = fields[2];
    record.Level = *level;
    record.QuestionType = *type;
    record.Field5 = *field5;
    record.QuestionText = formats::TrimSpaces(fields[6]);
    record.Explanation = fields[7];
    record.Field8 = fields[8];
    record.PictureName = fields[9];
    record.Choices = fields[10];
    return record;
}

bool loadStatistics() {
    const auto path = AppPaths::ResourceDat();
    QuestionStatsTable.assign(QuestionBank.size(), QuestionStats{});
    if (mod_Helper::FileExists(path)) {
        const bool read = mod_System::ReadSignedFile(
            path,
            [](formats::BinaryReader& in) {
                QuestionStatsTable = ReadStatsBody(in, QuestionBank.size());
            },
            kStatsRecordBytes * QuestionBank.size());
        if (!read) {
            mod_System::ShowCriticalError(path);
            return false;
        }
        mod_System::VerifyFileSignature(path);
        return !AbortFlag;
    }
    for (std::size_t k = 0; k < QuestionBank.size(); ++k)
        QuestionStatsTable[k] = QuestionStats{QuestionBank[k].QuestionID, 0, 0, 0, false};
    return WriteStatistics(mod_System::WriteFailure::kStopProgram);
}

}  // namespace

std::optional<ParsedBank> ParseQuestions(std::string_view text, BankError* why) {
    BankError error = BankError::kNone;
    const auto refuse = [&why](BankError reason) {
        if (why) *why = reason;
        return std::nullopt;
    };
    if (why) *why = BankError::kNone;
    // The text ends at its first NUL; a text going on after it was cut by damage, and a bank
    // cut short must not pass for a smaller one (the statistics would no longer fit).
    const std::size_t end = std::min(text.find('\0'), text.size());
    if (text.find_first_not_of('\0', end) != std::string_view::npos)
        return refuse(BankError::kTextAfterNul);
    text = text.substr(0, end);
    ParsedBank bank;
    for (const std::string_view piece : formats::Split(text, kQuestionSeparator)) {
        auto record = parseRecord(piece, error);
        if (!record) return refuse(error);
        bank.objectives.emplace_back(formats::TrimSpaces(record->Topic));
        if (record->GroupCode >= kFirstPracticeGroup)
            bank.practiceGroups.push_back(record->GroupCode);
        bank.questions.push_back(std::move(*record));
    }
    if (bank.practiceGroups.empty()) return refuse(BankError::kNoPracticeSet);

    mod_Array::SortStringArray(bank.objectives, true, true);
    bank.objectives = mod_Array::RemoveDuplicateStrings(bank.objectives);
    mod_Array::SortStringArray(bank.objectives, true, true);
    mod_Array::SortVariantArray(bank.practiceGroups, true);
    bank.practiceGroups = mod_Array::RemoveDuplicates(bank.practiceGroups);
    mod_Array::SortVariantArray(bank.practiceGroups, true);
    return bank;
}

std::string DataDigest(std::string_view productName, std::string_view productCode,
                       std::string_view dataKey) {
    std::string text;
    text.append(productName).append(productCode).append(dataKey).append("Data.dat");
    return mod_MD5::MD5String(text);
}

void LoadQuestionBank() {
    const auto path = AppPaths::DataDat();
    std::error_code ec;
    if (!mod_Helper::FileExists(path) || std::filesystem::file_size(path, ec) < 1 || ec) {
        mod_System::ShowCriticalError(path);
        return;
    }
    cls_RCFile archive;
    archive.ExtractData(path);
    // An unreadable archive is reported like a missing one, never silently.
    if (AbortFlag) return mod_System::ShowCriticalError(path);

    const auto fail = [&path] {
        ArchiveEntries.clear();
        mod_System::ShowCriticalError(path);
    };
    bool parsedBank = false;
    QuestionPictures.clear();
    for (std::size_t i = 1; i < ArchiveEntries.size(); ++i) {
        ArchiveEntry& entry = ArchiveEntries[i];
        const std::string_view name = formats::TrimSpaces(entry.Name);
        if (name == "header.dat") {
            if (mod_Helper::BytesToString(entry.Data) !=
                DataDigest(SystemVars.ProductName, SystemVars.ProductCode, DataKey))
                return fail();
        } else if (name == "questions.db") {
            auto bank = ParseQuestions(std::string_view(
                reinterpret_cast<const char*>(entry.Data.data()), entry.Data.size()));
            if (!bank) return fail();
            QuestionBank = std::move(bank->questions);
            ObjectiveNames = std::move(bank->objectives);
            PracticeGroups = std::move(bank->practiceGroups);
            parsedBank = true;
        } else {
            // Pictures follow header.dat and questions.db: entry i goes to index i - 2.
            if (i < 2) return fail();
            QuestionPictures.resize(std::max(QuestionPictures.size(), i - 1));
            QuestionPictures[i - 2] = AttachedFile{std::move(entry.Name), std::move(entry.Data)};
        }
    }
    ArchiveEntries.clear();
    if (!parsedBank) return fail();
    loadStatistics();
}

std::int16_t CountQuestionsInGroup(std::int16_t groupCode) {
    const auto count =
        std::count_if(QuestionBank.begin(), QuestionBank.end(),
                      [&](const QuestionRecord& q) { return q.GroupCode == groupCode; });
    return static_cast<std::int16_t>(std::min<std::ptrdiff_t>(count, 32767));
}

void WriteStatsBody(formats::BinaryWriter& out, const std::vector<QuestionStats>& table) {
    for (const QuestionStats& s : table) {
        out.writeInt32(s.QuestionID);
        out.writeInt32(s.CorrectCount);
        out.writeInt32(s.WrongCount);
        out.writeInt32(s.TimesAsked);
        out.writeBool(s.Bookmarked);
    }
}

std::vector<QuestionStats> ReadStatsBody(formats::BinaryReader& in, std::size_t count) {
    std::vector<QuestionStats> table(count);
    for (QuestionStats& s : table) {
        s.QuestionID = in.readInt32();
        s.CorrectCount = in.readInt32();
        s.WrongCount = in.readInt32();
        s.TimesAsked = in.readInt32();
        s.Bookmarked = in.readBool();
    }
    return table;
}

bool WriteStatistics(mod_System::WriteFailure failure) {
    formats::BinaryWriter body;
    WriteStatsBody(body, QuestionStatsTable);
    return mod_System::WriteSignedFile(AppPaths::ResourceDat(), "", body, failure);
}

}  // namespace mod_Question
