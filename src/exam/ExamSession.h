#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

#include "exam/CurrentExam.h"

namespace exam {

// The longest fill-in answer the exam window lets the user type; far below what a stored
// text can hold.
inline constexpr std::size_t kMaxFillInLength = 1000;

// How the exam window was reached: a new exam gets the current date, a resumed save or a
// recorded exam opened for review keeps its own.
enum class ExamOpening { kNew, kResumed, kReview };

struct StatusCounts {
    int answered = 0;
    int unanswered = 0;
    int marked = 0;
};

// The running exam's state beside CurrentExam, so that the exam windows only render it
// and forward events. While the exam is in progress (the documents' elapsed-time timer)
// grading never touches the statistics; only the end dialog's options end it.
class ExamSession {
public:
    // The window's load: date, answer keys, clock, score, start position. False (nothing
    // changed) when CurrentExam has no question list.
    bool Open(ExamOpening opening, const std::filesystem::path& savePath = {});
    // The window's unload: marks become bookmarks, Data/Resource.dat is rewritten and
    // CurrentExam reset. Returns the exam's save file ("" when never saved).
    std::filesystem::path Close();

    [[nodiscard]] bool IsOpen() const { return open_; }
    [[nodiscard]] bool InProgress() const { return inProgress_; }
    [[nodiscard]] bool InReview() const { return review_; }
    // Graded at its end and counted in the statistics: no later grading counts it again.
    [[nodiscard]] bool Counted() const { return counted_; }
    [[nodiscard]] bool ClockRunning() const { return clockRunning_; }
    [[nodiscard]] bool Paused() const { return paused_; }
    [[nodiscard]] bool Timed() const { return limitSeconds_ != 0; }
    [[nodiscard]] std::int32_t TimeLimitSeconds() const { return limitSeconds_; }
    // Time left, or time used when untimed.
    [[nodiscard]] std::int32_t SecondsLeft() const { return secondsLeft_; }
    [[nodiscard]] std::int32_t ElapsedSeconds() const { return elapsedSeconds_; }
    [[nodiscard]] const std::filesystem::path& SavePath() const { return savePath_; }

    [[nodiscard]] int QuestionCount() const;
    // Sets CurrentQuestionIndex; false for a position outside the exam.
    bool GoTo(std::int16_t position);
    // The state at CurrentQuestionIndex; nullptr when no exam is open.
    [[nodiscard]] const QuestionState* CurrentState() const;

    // Answers change only while the exam runs, its clock is not paused and time is left.
    [[nodiscard]] bool AcceptsAnswers() const;
    // Stores the mark and the answer of the shown question: the chosen caption, the checked
    // captions joined with ",", or the fill-in text (cut to kMaxFillInLength); "" leaves it
    // unanswered. Regrades when the exam shows its score.
    bool RecordAnswer(std::string_view answer, bool marked);
    // Erases the shown question's answer; its mark stays.
    bool ClearAnswer();
    // The status list's check box of one question.
    bool SetMarked(std::int16_t position, bool marked);
    [[nodiscard]] StatusCounts Counts() const;

    // Brings the exam clock up to the monotonic time; true when this call ran out of time
    // (the window then opens the end dialog with reason 6).
    bool TickClock();
    // Brings the elapsed time up to the monotonic time and mirrors both times into
    // CurrentExam.
    void TickElapsed();
    // False when the clock is not running (nothing to pause).
    bool Pause();
    void Resume();
    void StopClock();
    void ResumeClock();
    // Back to the full limit (timed) or to zero (untimed), without starting the clock.
    void ResetClock();

    // End dialog options. Each one that ends the exam does so before grading, so that
    // grading counts in the statistics.
    void Continue();
    // Evaluate and grade, or end and record: grades and appends the exam to the history.
    // False when it could not be stored: the history was found broken (AbortFlag: the
    // program closes) or a write failed (reported).
    bool GradeAndRecord();
    // Save: an empty path (save dialog cancelled) leaves the exam running.
    bool SaveAndEnd(const std::filesystem::path& path);
    // The save button during the exam: its grading does not count.
    bool Save(const std::filesystem::path& path);

    // The evaluation window's load: clock and elapsed time stop, answers are closed.
    void EnterReview();

private:
    QuestionState* currentState();
    void regradeForScore();
    // Adds the monotonic time passed since the last call to the clocks that ran meanwhile;
    // called before any change of what runs.
    void sync();
    void setClock(std::int64_t milliseconds);
    void mirrorTimes() const;

    bool open_ = false;
    bool inProgress_ = false;
    bool review_ = false;
    bool counted_ = false;
    bool clockRunning_ = false;
    bool paused_ = false;
    std::int32_t limitSeconds_ = 0;
    std::int32_t secondsLeft_ = 0;
    std::int32_t elapsedSeconds_ = 0;
    // Left when timed, used when untimed.
    std::int64_t clockMs_ = 0;
    std::int64_t elapsedMs_ = 0;
    std::chrono::milliseconds syncedAt_{};
    std::filesystem::path savePath_;
};

inline ExamSession CurrentExamSession;

// Appends the exam just graded to the performance history; false when it could not be
// stored. The history store lives above the exam engine, so the program installs it;
// without one nothing is recorded.
using ExamRecorder = std::function<bool()>;
void SetExamRecorder(ExamRecorder recorder);

}  // namespace exam
