#include "exam/ExamRecordIo.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "core/mod_System.h"
#include "exam/ExamTime.h"
#include "formats/OleDate.h"
#include "formats/StoredList.h"

namespace exam {

namespace {

constexpr std::size_t kMaxQuestions = std::numeric_limits<std::int16_t>::max();
// Smallest stored elements: a 16-bit value; an objective row of five empty fields; a
// question state with an id, two undimensioned lists and its mark.
constexpr std::size_t kGroupBytes = 2;
constexpr std::size_t kObjectiveBytes = 10;
constexpr std::size_t kQuestionBytes = 10;

void writeObjective(formats::BinaryWriter& out, const ObjectiveCount& row) {
    out.writeBool(row.Selected);
    out.writeString(row.Name);
    out.writeInt16(row.Beginner);
    out.writeInt16(row.Intermediate);
    out.writeInt16(row.Expert);
}

ObjectiveCount readObjective(formats::BinaryReader& in) {
    ObjectiveCount row;
    row.Selected = in.readBool();
    row.Name = in.readString();
    row.Beginner = in.readInt16();
    row.Intermediate = in.readInt16();
    row.Expert = in.readInt16();
    return row;
}

void writeQuestion(formats::BinaryWriter& out, const QuestionState& state) {
    out.writeInt32(state.QuestionID);
    out.writeStringList(state.AnswerKey);
    out.writeStringList(state.GivenAnswers);
    out.writeBool(state.Marked);
}

QuestionState readQuestion(formats::BinaryReader& in) {
    QuestionState state;
    state.QuestionID = in.readInt32();
    state.AnswerKey = in.readStringList();
    state.GivenAnswers = in.readStringList();
    state.Marked = in.readBool();
    return state;
}

bool isMinutesNumber(std::string_view text) {
    std::int16_t minutes = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), minutes);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() &&
           minutes >= 0;
}

}  // namespace

void WriteInt16List(formats::BinaryWriter& out,
                    const std::optional<std::vector<std::int16_t>>& list) {
    formats::WriteList(out, list,
                       [](formats::BinaryWriter& o, std::int16_t group) { o.writeInt16(group); });
}

std::optional<std::vector<std::int16_t>> ReadInt16List(formats::BinaryReader& in) {
    return formats::ReadList(in, kGroupBytes,
                             [](formats::BinaryReader& i) { return i.readInt16(); });
}

void WriteObjectiveList(formats::BinaryWriter& out,
                        const std::optional<std::vector<ObjectiveCount>>& list) {
    formats::WriteList(out, list, writeObjective);
}

std::optional<std::vector<ObjectiveCount>> ReadObjectiveList(formats::BinaryReader& in) {
    return formats::ReadList(in, kObjectiveBytes, readObjective);
}

void WriteExamBody(formats::BinaryWriter& out, const CurrentExamRecord& exam) {
    out.writeInt32(exam.Unused0);
    out.writeBool(exam.IsCustom);
    out.writeString(exam.PerformanceFile);
    out.writeDate(exam.ExamDate);
    for (const std::string* text :
         {&exam.Unused20, &exam.Title, &exam.Minutes, &exam.RemainingText, &exam.ElapsedText})
        out.writeString(*text);
    out.writeBool(exam.TimerOn);
    out.writeInt16(exam.Unused42);
    out.writeInt16(exam.StartIndex);
    WriteInt16List(out, exam.Groups);
    WriteObjectiveList(out, exam.Objectives);
    out.writeBool(exam.Randomize);
    out.writeBool(exam.SmartMode);
    out.writeBool(exam.Smart0);
    out.writeInt16(exam.Smart0Count);
    out.writeBool(exam.Smart1);
    out.writeInt16(exam.Smart1Count);
    out.writeBool(exam.ShowScore);
    for (const std::int16_t value : {exam.Unused70, exam.AnswerMode, exam.Unused74, exam.Total,
                                     exam.Correct, exam.Wrong, exam.Unanswered})
        out.writeInt16(value);
    out.writeString(exam.PercentText);
    out.writeString(exam.ScoreText);
    formats::WriteList(out, exam.Questions, writeQuestion);
    out.writeBool(exam.Continued);
}

CurrentExamRecord ReadExamBody(formats::BinaryReader& in) {
    CurrentExamRecord exam;
    exam.Unused0 = in.readInt32();
    exam.IsCustom = in.readBool();
    exam.PerformanceFile = in.readString();
    exam.ExamDate = in.readDate();
    for (std::string* text :
         {&exam.Unused20, &exam.Title, &exam.Minutes, &exam.RemainingText, &exam.ElapsedText})
        *text = in.readString();
    exam.TimerOn = in.readBool();
    exam.Unused42 = in.readInt16();
    exam.StartIndex = in.readInt16();
    exam.Groups = ReadInt16List(in);
    exam.Objectives = ReadObjectiveList(in);
    exam.Randomize = in.readBool();
    exam.SmartMode = in.readBool();
    exam.Smart0 = in.readBool();
    exam.Smart0Count = in.readInt16();
    exam.Smart1 = in.readBool();
    exam.Smart1Count = in.readInt16();
    exam.ShowScore = in.readBool();
    for (std::int16_t* value : {&exam.Unused70, &exam.AnswerMode, &exam.Unused74, &exam.Total,
                                &exam.Correct, &exam.Wrong, &exam.Unanswered})
        *value = in.readInt16();
    exam.PercentText = in.readString();
    exam.ScoreText = in.readString();
    exam.Questions = formats::ReadList(in, kQuestionBytes, readQuestion);
    exam.Continued = in.readBool();
    return exam;
}

ExamFault FindExamFault(const CurrentExamRecord& exam) {
    if (!exam.Questions || exam.Questions->empty()) return ExamFault::kNoQuestions;
    const auto& questions = *exam.Questions;
    if (questions.size() > kMaxQuestions) return ExamFault::kTooManyQuestions;
    if (exam.StartIndex < 0 || static_cast<std::size_t>(exam.StartIndex) >= questions.size())
        return ExamFault::kStartOutside;
    if (!isMinutesNumber(exam.Minutes)) return ExamFault::kBadMinutes;
    if (!ParseClock(exam.RemainingText)) return ExamFault::kBadRemainingTime;
    if (!formats::IsShowableOleDate(exam.ExamDate)) return ExamFault::kBadDate;
    // A question that has since left the bank is no fault of the file: it is shown without a
    // row and skipped wherever it is looked up.
    const bool unanswerable =
        std::any_of(questions.begin(), questions.end(), [](const QuestionState& state) {
            return state.GivenAnswers && state.GivenAnswers->empty();
        });
    return unanswerable ? ExamFault::kAnsweredWithoutAnswer : ExamFault::kNone;
}

bool IsCoherentExam(const CurrentExamRecord& exam) {
    return FindExamFault(exam) == ExamFault::kNone;
}

std::optional<CurrentExamRecord> ReadExamFile(const std::filesystem::path& path) {
    CurrentExamRecord read;
    const bool readable = mod_System::ReadSignedFile(
        path, [&read](formats::BinaryReader& in) { read = ReadExamBody(in); });
    if (!readable || !mod_System::IsFileSignatureValid() || !IsCoherentExam(read))
        return std::nullopt;
    return read;
}

bool WriteExamFile(const std::filesystem::path& path, const CurrentExamRecord& exam) {
    formats::BinaryWriter body;
    WriteExamBody(body, exam);
    if (body.failed()) return false;
    return mod_System::WriteSignedFile(path, "", body);
}

}  // namespace exam
