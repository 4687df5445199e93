#include "mainscreen/CustomExamFile.h"

#include <charconv>
#include <string>

#include "core/AppPaths.h"
#include "core/mod_Helper.h"
#include "core/mod_System.h"
#include "exam/ExamRecordIo.h"
#include "formats/StoredList.h"

namespace CustomExamFile {

namespace {

// Smallest stored form: a record with two empty lists.
constexpr std::size_t kRecordBytes = 4 + 10 + 10 + 24;

// The header's extra text is the last record index: plain decimal digits only, and no
// more records than a 16-bit count can number.
std::optional<std::int16_t> lastIndexOf(const std::string& text) {
    std::int16_t last = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, last);
    if (text.empty() || text.front() == '-' || error != std::errc() || stop != end)
        return std::nullopt;
    return last;
}

}  // namespace

void WriteRecord(formats::BinaryWriter& out, const CustomExam& record) {
    out.writeInt32(record.Code);
    exam::WriteInt16List(out, record.Groups);
    exam::WriteObjectiveList(out, record.Objectives);
    out.writeBool(record.Randomize);
    out.writeBool(record.Timer);
    out.writeInt16(record.Minutes);
    out.writeBool(record.SmartMode);
    out.writeBool(record.Smart0);
    out.writeInt16(record.Smart0Count);
    out.writeBool(record.Smart1);
    out.writeInt16(record.Smart1Count);
    out.writeBool(record.ShowScore);
    out.writeBool(record.ShowAnswers);
    out.writeInt16(record.AnswerMode);
    out.writeBool(record.Save);
}

CustomExam ReadRecord(formats::BinaryReader& in) {
    CustomExam record;
    record.Code = in.readInt32();
    record.Groups = exam::ReadInt16List(in);
    record.Objectives = exam::ReadObjectiveList(in);
    record.Randomize = in.readBool();
    record.Timer = in.readBool();
    record.Minutes = in.readInt16();
    record.SmartMode = in.readBool();
    record.Smart0 = in.readBool();
    record.Smart0Count = in.readInt16();
    record.Smart1 = in.readBool();
    record.Smart1Count = in.readInt16();
    record.ShowScore = in.readBool();
    record.ShowAnswers = in.readBool();
    record.AnswerMode = in.readInt16();
    record.Save = in.readBool();
    return record;
}

bool ReadCustomExamFile() {
    const auto path = AppPaths::CustomDat();
    if (!mod_Helper::FileExists(path)) return true;
    std::vector<CustomExam> records;
    const bool readable = mod_System::ReadSignedFile(path, [&records](formats::BinaryReader& in) {
        const auto last = lastIndexOf(SignatureHeader.ExtraText);
        if (!last) return in.fail(formats::ReadError::kBadRecordIndex);
        records = formats::ReadElements(in, std::int64_t{*last} + 1, kRecordBytes, ReadRecord);
    });
    if (!readable || !mod_System::IsFileSignatureValid()) {
        mod_System::ShowCriticalError(path);
        return false;
    }
    CustomExamTable = std::move(records);
    return true;
}

bool WriteCustomExamFile() {
    formats::BinaryWriter body;
    std::int64_t written = 0;
    for (const CustomExam& record : CustomExamTable) {
        if (record.Code == kCustomPageCode) continue;
        WriteRecord(body, record);
        ++written;
    }
    if (written == 0) return true;
    return mod_System::WriteSignedFile(AppPaths::CustomDat(), std::to_string(written - 1), body);
}

}  // namespace CustomExamFile
