#include "exam/ExamSession.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <unordered_set>

#include "core/AbortFlag.h"
#include "core/mod_Question.h"
#include "exam/ExamTime.h"
#include "exam/MonotonicClock.h"
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
    setClock(std::int64_t{(CurrentExam.RemainingText != kNewExamRemaining || ranOut) && stored
                              ? *stored
                              : limitSeconds_} *
             1000);
    // A resumed exam goes on from the time it had already taken; a reviewed one keeps its own.
    if (opening != ExamOpening::kNew) {
        elapsedSeconds_ = opening == ExamOpening::kResumed && Timed()
                              ? std::max(0, limitSeconds_ - secondsLeft_)
                              : ParseClock(CurrentExam.ElapsedText).value_or(0);
        elapsedMs_ = std::int64_t{elapsedSeconds_} * 1000;
    }
    syncedAt_ = MonotonicNow();
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
    if (question->QuestionType == kFillInAnswerType) answer = answer.substr(0, kMaxFillInLength);
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

void ExamSession::sync() {
    const std::chrono::milliseconds now = MonotonicNow();
    const std::int64_t passed = std::max<std::int64_t>(0, (now - syncedAt_).count());
    syncedAt_ = now;
    if (clockRunning_) setClock(clockMs_ + (Timed() ? -passed : passed));
    if (inProgress_) {
        elapsedMs_ += passed;
        elapsedSeconds_ = static_cast<std::int32_t>(
            std::min<std::int64_t>(elapsedMs_ / 1000, std::numeric_limits<std::int32_t>::max()));
    }
}

void ExamSession::setClock(std::int64_t milliseconds) {
    clockMs_ = std::max<std::int64_t>(0, milliseconds);
    // A countdown shows a second as long as part of it is left.
    const std::int64_t seconds = Timed() ? (clockMs_ + 999) / 1000 : clockMs_ / 1000;
    secondsLeft_ = static_cast<std::int32_t>(
        std::min<std::int64_t>(seconds, std::numeric_limits<std::int32_t>::max()));
}

void ExamSession::mirrorTimes() const {
    CurrentExam.RemainingText = FormatClock(secondsLeft_);
    CurrentExam.ElapsedText = FormatClock(elapsedSeconds_);
}

bool ExamSession::TickClock() {
    if (!clockRunning_) return false;
    sync();
    if (!Timed() || clockMs_ > 0) return false;
    clockRunning_ = false;
    return true;
}

void ExamSession::TickElapsed() {
    if (!inProgress_) return;
    sync();
    mirrorTimes();
}

bool ExamSession::Pause() {
    sync();
    if (paused_) return true;
    paused_ = clockRunning_;
    clockRunning_ = false;
    return paused_;
}

void ExamSession::Resume() {
    sync();
    if (!paused_) return;
    paused_ = false;
    clockRunning_ = true;
}

void ExamSession::StopClock() {
    sync();
    if (!paused_) clockRunning_ = false;
}

void ExamSession::ResumeClock() {
    sync();
    if (open_ && !review_ && !paused_ && !(Timed() && secondsLeft_ == 0)) clockRunning_ = true;
}

void ExamSession::ResetClock() {
    sync();
    if (open_ && !review_) setClock(std::int64_t{limitSeconds_} * 1000);
}

void ExamSession::Continue() {
    if (open_ && !review_) CurrentExam.Continued = true;
}

bool ExamSession::GradeAndRecord() {
    if (!open_ || review_) return false;
    if (counted_) {
        // The ending offered again (its record could not be written): the statistics count
        // no second time, but are written again with the record.
        mod_Question::WriteStatistics();
    } else {
        TickElapsed();
        inProgress_ = false;
        mod_Exam::GradeExam();
        counted_ = true;
    }
    const ExamRecorder& record = installedRecorder();
    const bool recorded = !record || record();
    return recorded && !AbortFlag;
}

bool ExamSession::SaveAndEnd(const std::filesystem::path& path) {
    // Written while the exam still runs, so that a failed write leaves it exactly as it was.
    // Nothing counts in the statistics: the exam counts once, when the resumed exam is graded.
    if (!Save(path)) return false;
    sync();
    inProgress_ = false;
    return true;
}

bool ExamSession::Save(const std::filesystem::path& path) {
    if (!open_ || review_ || path.empty()) return false;
    TickElapsed();
    if (!mod_Exam::SaveExam(path)) return false;
    savePath_ = path;
    return true;
}

void ExamSession::EnterReview() {
    if (!open_) return;
    sync();
    review_ = true;
    inProgress_ = false;
    clockRunning_ = false;
    paused_ = false;
}

void SetExamRecorder(ExamRecorder recorder) {
    installedRecorder() = std::move(recorder);
}

}  // namespace exam
