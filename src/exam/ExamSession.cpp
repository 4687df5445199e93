#include "exam/ExamSession.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <unordered_set>

#include "core/AbortFlag.h"
#include "core/mod_Question.h"
#include "exam/ExamTime.h"
#include "exam/QuestionLookup.h"
#include "exam/mod_Exam.h"

namespace exam {

namespace {

ExamRecorder& installedRecorder() {
    static ExamRecorder recorder;
    return recorder;
}

constexpr std::string_view kNewExamRemaining = "00:00:00";

std::int32_t minutesOf(std::string_view text) {
    std::int32_t minutes = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), minutes);
    return error == std::errc() && end == text.data() + text.size() && minutes > 0 ? minutes : 0;
}

std::vector<std::string> splitAnswer(std::string_view answer) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto comma = answer.find(',', start);
        parts.emplace_back(answer.substr(start, comma - start));
        if (comma == std::string_view::npos) return parts;
        start = comma + 1;
    }
}

}  // namespace

bool ExamSession::Open(ExamOpening opening, const std::filesystem::path& savePath) {
    if (!CurrentExam.Questions || CurrentExam.Questions->empty()) return false;
    *this = ExamSession{};
    open_ = true;
    savePath_ = savePath;
    if (opening == ExamOpening::kNew) CurrentExam.ExamDate = OleDateNow();
    CurrentQuestionIndex = 0;
    mod_Exam::BuildAnswerKey();

    limitSeconds_ = minutesOf(CurrentExam.Minutes) * 60;
    const auto stored = ParseClock(CurrentExam.RemainingText);
    // Only a new exam starts from the limit: a resumed timed exam whose time had run out
    // (time was spent) has none left.
    const bool ranOut = opening != ExamOpening::kNew && limitSeconds_ > 0 &&
                        CurrentExam.RemainingText == kNewExamRemaining &&
                        ParseClock(CurrentExam.ElapsedText).value_or(0) > 0;
    secondsLeft_ = (CurrentExam.RemainingText != kNewExamRemaining || ranOut) && stored
                       ? *stored
                       : limitSeconds_;
    clockRunning_ = CurrentExam.TimerOn && !ranOut;
    inProgress_ = true;
    regradeForScore();
    if (!GoTo(CurrentExam.StartIndex)) GoTo(0);
    return true;
}

std::filesystem::path ExamSession::Close() {
    if (!open_) return {};
    std::unordered_set<std::int32_t> marked;
    for (int k = 0; k < QuestionCount(); ++k) {
        const QuestionState& state = (*CurrentExam.Questions)[static_cast<std::size_t>(k)];
        if (state.Marked) marked.insert(state.QuestionID);
    }
    // Every statistics record of a marked id becomes a bookmark; none is cleared.
    for (QuestionStats& stats : QuestionStatsTable)
        if (marked.contains(stats.QuestionID)) stats.Bookmarked = true;
    mod_Question::WriteStatistics();

    std::filesystem::path savePath = savePath_;
    *this = ExamSession{};
    CurrentExam = BlankExam;
    CurrentQuestionIndex = 0;
    return savePath;
}

int ExamSession::QuestionCount() const {
    // The record may have been replaced behind the session's back; never index past it.
    return open_ && CurrentExam.Questions
               ? static_cast<int>(std::min<std::size_t>(CurrentExam.Questions->size(),
                                                        std::numeric_limits<std::int16_t>::max()))
               : 0;
}

bool ExamSession::GoTo(std::int16_t position) {
    if (position < 0 || position >= QuestionCount()) return false;
    CurrentQuestionIndex = position;
    return true;
}

const QuestionState* ExamSession::CurrentState() const {
    if (CurrentQuestionIndex < 0 || CurrentQuestionIndex >= QuestionCount()) return nullptr;
    return &(*CurrentExam.Questions)[static_cast<std::size_t>(CurrentQuestionIndex)];
}

QuestionState* ExamSession::currentState() {
    if (CurrentQuestionIndex < 0 || CurrentQuestionIndex >= QuestionCount()) return nullptr;
    return &(*CurrentExam.Questions)[static_cast<std::size_t>(CurrentQuestionIndex)];
}

bool ExamSession::AcceptsAnswers() const {
    return open_ && inProgress_ && !review_ && !paused_ && !(Timed() && secondsLeft_ == 0);
}

void ExamSession::regradeForScore() {
    if (CurrentExam.ShowScore) mod_Exam::GradeExam();
}

bool ExamSession::RecordAnswer(std::string_view answer, bool marked) {
    QuestionState* state = currentState();
    if (!AcceptsAnswers() || !state) return false;
    QuestionLookup lookup;
    const QuestionRecord* question = lookup.Question(state->QuestionID);
    if (!question) return false;
    if (question->QuestionType == 6) answer = answer.substr(0, kMaxFillInLength);
    state->Marked = marked;
    state->GivenAnswers.reset();
    if (!answer.empty()) state->GivenAnswers = splitAnswer(answer);
    regradeForScore();
    return true;
}

bool ExamSession::ClearAnswer() {
    QuestionState* state = currentState();
    if (!AcceptsAnswers() || !state) return false;
    state->GivenAnswers.reset();
    regradeForScore();
    return true;
}

bool ExamSession::SetMarked(std::int16_t position, bool marked) {
    if (!open_ || review_ || position < 0 || position >= QuestionCount()) return false;
    (*CurrentExam.Questions)[static_cast<std::size_t>(position)].Marked = marked;
    return true;
}

StatusCounts ExamSession::Counts() const {
    StatusCounts counts;
    for (int k = 0; k < QuestionCount(); ++k) {
        const QuestionState& state = (*CurrentExam.Questions)[static_cast<std::size_t>(k)];
        ++(state.GivenAnswers ? counts.answered : counts.unanswered);
        if (state.Marked) ++counts.marked;
    }
    return counts;
}

bool ExamSession::TickClock() {
    if (!clockRunning_) return false;
    secondsLeft_ += Timed() ? -1 : 1;
    if (!Timed() || secondsLeft_ >= 1) return false;
    secondsLeft_ = 0;
    clockRunning_ = false;
    return true;
}

void ExamSession::TickElapsed() {
    if (!inProgress_) return;
    ++elapsedSeconds_;
    CurrentExam.RemainingText = FormatClock(secondsLeft_);
    CurrentExam.ElapsedText = FormatClock(elapsedSeconds_);
}

bool ExamSession::Pause() {
    if (paused_) return true;
    paused_ = clockRunning_;
    clockRunning_ = false;
    return paused_;
}

void ExamSession::Resume() {
    if (!paused_) return;
    paused_ = false;
    clockRunning_ = true;
}

void ExamSession::StopClock() {
    if (!paused_) clockRunning_ = false;
}

void ExamSession::ResumeClock() {
    if (open_ && !review_ && !paused_ && !(Timed() && secondsLeft_ == 0)) clockRunning_ = true;
}

void ExamSession::ResetClock() {
    if (open_ && !review_) secondsLeft_ = limitSeconds_;
}

void ExamSession::Continue() {
    if (open_ && !review_) CurrentExam.Continued = true;
}

bool ExamSession::GradeAndRecord() {
    if (!open_ || review_) return false;
    inProgress_ = false;
    mod_Exam::GradeExam();
    if (const ExamRecorder& record = installedRecorder()) record();
    return !AbortFlag;
}

bool ExamSession::SaveAndEnd(const std::filesystem::path& path) {
    // Written while the exam still runs, so that a failed write leaves it exactly as it was;
    // the grading that then ends it counts the statistics once and matches the record.
    if (!Save(path)) return false;
    inProgress_ = false;
    mod_Exam::GradeExam();
    return true;
}

bool ExamSession::Save(const std::filesystem::path& path) {
    if (!open_ || review_ || path.empty() || !mod_Exam::SaveExam(path)) return false;
    savePath_ = path;
    return true;
}

void ExamSession::EnterReview() {
    if (!open_) return;
    review_ = true;
    inProgress_ = false;
    clockRunning_ = false;
    paused_ = false;
}

void SetExamRecorder(ExamRecorder recorder) {
    installedRecorder() = std::move(recorder);
}

}  // namespace exam
