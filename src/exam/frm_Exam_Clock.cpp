// The exam window's clock, pause screen, clock buttons, picture buttons and notes panel.
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <array>
#include <charconv>
#include <string>
#include <utility>

#include "core/ImageStore.h"
#include "core/PictureButton.h"
#include "core/SystemVars.h"
#include "core/frm_Confirm.h"
#include "core/mod_Email.h"
#include "core/mod_User.h"
#include "exam/ExamEnd.h"
#include "exam/LcdDigits.h"
#include "exam/frm_Exam.h"
#include "exam/mod_MyCurrentExam.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"
#include "platform/mod_Picture.h"

namespace {

// Seconds left below which the clock turns yellow, then red.
constexpr int kYellowBelow = 300;
constexpr int kRedBelow = 120;

// Notes panel: grows upward from the picture buttons, in pixels.
constexpr int kNotesLeft = 120;
constexpr int kNotesWidth = 420;
constexpr int kNotesHeight = 240;
constexpr int kNotesStep = 10;

constexpr std::array<std::pair<std::string_view, std::array<int, 3>>, 5> kClockColours = {{
    {"red", {255, 0, 0}},
    {"green", {0, 128, 0}},
    {"yellow", {253, 111, 7}},
    {"gray", {128, 128, 128}},
    {"blue", {19, 22, 147}},
}};

QColor litColour(std::string_view word) {
    for (const auto& [name, rgb] : kClockColours)
        if (name == word) return QColor(rgb[0], rgb[1], rgb[2]);
    return LcdUnlitColour();
}

QIcon slotIcon(int slot) {
    return QIcon(mod_Picture::PictureFromBytes(ImageStore[static_cast<std::size_t>(slot)].Bytes));
}

int iconNumber(const std::string& text) {
    std::int16_t number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

frm_Exam::ExamEndDialog& installedExamEndDialog() {
    static frm_Exam::ExamEndDialog dialog;
    return dialog;
}

}  // namespace

// Counts a box of this window as open from construction to destruction; a time-out seen
// meanwhile opens the end dialog once the outermost box has returned and the handler
// that opened it has finished.
class frm_Exam::ModalScope {
public:
    explicit ModalScope(frm_Exam* window) : window_(window) { ++window->modalDepth_; }
    ~ModalScope() {
        if (window_) window_->leaveModal();
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    QPointer<frm_Exam> window_;
};

void frm_Exam::leaveModal() {
    if (--modalDepth_ > 0 || !timeOutPending_) return;
    timeOutPending_ = false;
    if (!unloaded_ && exam::CurrentExamSession.InProgress()) OpenExamEnd(mod_Exam::kTimeUpReason);
}

frm_Exam::ExamEndDialog frm_Exam::SetExamEndDialog(ExamEndDialog dialog) {
    return std::exchange(installedExamEndDialog(), std::move(dialog));
}

void frm_Exam::OpenExamEnd(int reason) {
    ModalScope scope(this);
    if (const ExamEndDialog& dialog = installedExamEndDialog())
        dialog(reason);
    else
        mod_Exam::ShowExamEnd(reason);
}

void frm_Exam::syncTimers() {
    const auto run = [](QTimer* timer, bool on) {
        if (!on)
            timer->stop();
        else if (!timer->isActive())
            timer->start();
    };
    run(Timer1, exam::CurrentExamSession.ClockRunning());
    run(Timer4, exam::CurrentExamSession.InProgress());
}

// Clock ----------------------------------------------------------------------------------

void frm_Exam::Timer1_Timer() {
    auto& session = exam::CurrentExamSession;
    if (!session.ClockRunning()) {
        syncTimers();
        return;
    }
    const bool timedOut = session.TickClock();
    UpdateTimerDisplay();
    UpdateTimerButtons();
    if (!timedOut) return;
    // Another box of this window is open: the end dialog follows once it has closed. An
    // open end dialog only takes the time-up message.
    if (modalDepth_ > 0 && !mod_Forms::IsFormLoaded("frm_ExamEnd"))
        timeOutPending_ = true;
    else
        OpenExamEnd(mod_Exam::kTimeUpReason);
}

void frm_Exam::Timer2_Timer() {
    if (++HoverDelayCount > 1) Timer2->stop();
}

void frm_Exam::Timer4_Timer() {
    exam::CurrentExamSession.TickElapsed();
    if (!exam::CurrentExamSession.InProgress()) Timer4->stop();
}

void frm_Exam::UpdateTimerDisplay() {
    const auto& session = exam::CurrentExamSession;
    const std::int32_t seconds = session.SecondsLeft();
    std::string_view colour = "green";
    if (seconds < kYellowBelow) colour = "yellow";
    if (seconds < kRedBelow) colour = "red";
    if (session.TimeLimitSeconds() == seconds) colour = "green";
    if (!session.Timed()) colour = "blue";

    // Two digits per part; a clock that counted up past a day starts its hours again.
    const std::int32_t parts[3] = {seconds / 3600 % 24, seconds / 60 % 60, seconds % 60};
    for (int k = 0; k < 6; ++k)
        MakeNumber(k, k % 2 == 0 ? parts[k / 2] / 10 : parts[k / 2] % 10, colour);
}

void frm_Exam::MakeNumber(int index, int number, std::string_view colour) {
    clockColour_ = colour;
    const QColor lit = litColour(colour);
    for (LcdColon* colon : picColon)
        colon->Draw(lit);
    if (index >= 0 && index < static_cast<int>(picDigit.size()))
        picDigit[static_cast<std::size_t>(index)]->Draw(number, lit);
}

void frm_Exam::UpdateTimerButtons() {
    auto& session = exam::CurrentExamSession;
    // An untimed clock counts up and never runs out, also when it stands at 0.
    const bool timeLeft = !session.Timed() || session.SecondsLeft() != 0;
    const bool running = session.InProgress() && !session.InReview();
    if (timeLeft && running) {
        for (QWidget* control :
             {static_cast<QWidget*>(Button_Stop_Timer), static_cast<QWidget*>(Button_Pause_Exam),
              static_cast<QWidget*>(button_pause)})
            control->setEnabled(true);
        Choices_Inner->setEnabled(session.AcceptsAnswers() && !RichTextBox1Tag.empty());
    } else {
        for (QWidget* control :
             {static_cast<QWidget*>(Button_Stop_Timer), static_cast<QWidget*>(Button_Pause_Exam),
              static_cast<QWidget*>(button_pause), Choices_Inner,
              static_cast<QWidget*>(Choices_Reset)})
            control->setEnabled(false);
        session.StopClock();
    }
    if (timeLeft && running && !session.ClockRunning()) {
        Button_Stop_Timer->setText(platform::toQt(SystemVars.ExamTexts(exam_text::kResumeClock)));
        Button_Stop_Timer->setIcon(slotIcon(kResumeClockImageSlot));
        Button_Pause_Exam->setEnabled(false);
        button_pause->setEnabled(false);
    }
    syncTimers();
}

// Pause screen ---------------------------------------------------------------------------

void frm_Exam::PauseExam() {
    if (!exam::CurrentExamSession.Pause()) {
        isPaused_ = false;
        return;
    }
    Pause_Screen_Image->setPixmap(
        mod_Picture::PictureFromBytes(ImageStore[kPauseButtonSlot + kNormalLookOffset].Bytes));
    Pause_Screen->setGeometry(rect());
    Pause_Screen->show();
    Pause_Screen->raise();
    Pause_Button->setFocus();
    syncTimers();
    isPaused_ = true;
}

void frm_Exam::ResumeExam() {
    button_pause->showLook(button_pause->isEnabled() ? PictureButton::Look::Normal
                                                     : PictureButton::Look::Disabled);
    HoverDelayCount = 0;
    Timer2->start();
    // A graded exam was taken out of its pause by the review: its clock stays stopped.
    exam::CurrentExamSession.Resume();
    syncTimers();
    Pause_Screen->hide();
    isPaused_ = false;
}

void frm_Exam::Pause_Button_Click() {
    ResumeExam();
}

void frm_Exam::button_pause_Click() {
    PauseExam();
}

void frm_Exam::Button_Pause_Exam_Click() {
    PauseExam();
}

// Clock buttons ----------------------------------------------------------------------------

bool frm_Exam::askClockQuestion(const StringTable<0, 6>& texts, bool& skip) {
    if (skip) return true;
    QWidget* main = mod_Forms::Find("mdi_Main");
    const ConfirmAnswer answer =
        AskConfirm(main ? main : this, {.title = texts(confirm_text::kTitle),
                                        .message = texts(confirm_text::kMessage),
                                        .rememberCaption = texts(confirm_text::kRemember),
                                        .yesCaption = texts(confirm_text::kYes),
                                        .noCaption = texts(confirm_text::kNo),
                                        .icon = iconNumber(texts(confirm_text::kIcon))});
    // "Do not ask again" stands for the answer given, so only a Yes is remembered.
    if (answer.yes && answer.remember) {
        skip = true;
        mod_User::SaveConfig();
    }
    return answer.yes;
}

void frm_Exam::Button_Reset_Timer_Click() {
    auto& session = exam::CurrentExamSession;
    if (!session.InProgress() || session.InReview()) return;
    const QPointer<frm_Exam> self(this);
    ModalScope scope(this);
    if (!askClockQuestion(SystemVars.ResetTimerTexts, UserSettings.SkipResetTimerConfirm) ||
        !self || !session.InProgress())
        return;
    session.ResetClock();
    UpdateTimerDisplay();
    if (session.Timed()) UpdateTimerButtons();
}

void frm_Exam::Button_Stop_Timer_Click() {
    auto& session = exam::CurrentExamSession;
    if (!session.InProgress() || session.InReview() || session.Paused()) return;
    if (!session.ClockRunning()) {
        session.ResumeClock();
        if (!session.ClockRunning()) return;
        button_pause->setEnabled(true);
        button_pause->showLook(PictureButton::Look::Normal);
        Button_Pause_Exam->setEnabled(true);
        Button_Stop_Timer->setText(platform::toQt(SystemVars.ExamTexts(exam_text::kStopClock)));
        Button_Stop_Timer->setIcon(slotIcon(kStopClockImageSlot));
        syncTimers();
        if (session.Timed()) UpdateTimerButtons();
        return;
    }
    const QPointer<frm_Exam> self(this);
    ModalScope scope(this);
    if (!askClockQuestion(SystemVars.StopTimerTexts, UserSettings.SkipStopTimerConfirm) || !self ||
        !session.InProgress())
        return;
    session.StopClock();
    UpdateTimerButtons();
}

// Picture buttons --------------------------------------------------------------------------

void frm_Exam::button_end_Click() {
    OpenExamEnd(mod_Exam::kEndReason);
}

void frm_Exam::button_evaluate_Click() {
    OpenExamEnd(mod_Exam::kEvaluateReason);
}

void frm_Exam::button_feedback_Click() {
    button_feedback->showLook(PictureButton::Look::Pressed);
    const std::string subject =
        SystemVars.FeedbackSubject + SystemVars.ProductCode + "  QID: " + RichTextBox1Tag;
    mod_Email::SendEmail(SystemVars.FeedbackEmail, SystemVars.SupportEmail, "", subject, "");
    button_feedback->showLook(PictureButton::Look::Normal);
}

void frm_Exam::button_save_Click() {
    const QPointer<frm_Exam> self(this);
    ModalScope scope(this);
    mod_Exam::SaveRunningExam(this);
    if (self) button_save->showLook(PictureButton::Look::Normal);
}

void frm_Exam::button_review_Click() {
    OpenStatusList(kMarkedTab);
}

// Notes panel ------------------------------------------------------------------------------

void frm_Exam::placeNotesPanel(int height) {
    const int bottom = PicFrame[2]->geometry().top();
    MyNotes->setGeometry(kNotesLeft, bottom - height, kNotesWidth, height);
}

void frm_Exam::button_notes_Click() {
    lbl_MyNotes->setText(platform::toQt(SystemVars.ExamTexts(exam_text::kMyNotes)));
    if (MyNotes->isHidden()) {
        // Placed first: the note is tried at the width the panel gives it.
        placeNotesPanel(0);
        mod_MyCurrentExam::ShowQuestionNotes();
        Timer3[1]->stop();
        MyNotes->show();
        MyNotes->raise();
        button_notes->setLatched(true);
        Timer3[0]->start();
    } else {
        MyNotes_Close_Click();
    }
}

void frm_Exam::MyNotes_Close_Click() {
    if (!SaveShownNote()) return;
    // One slide at a time, so the panel always ends open or closed.
    Timer3[0]->stop();
    Timer3[1]->start();
}

bool frm_Exam::SaveShownNote(mod_MyNotes::Leaving leaving) {
    std::int32_t id = 0;
    const char* end = RichTextBox1Tag.data() + RichTextBox1Tag.size();
    if (RichTextBox1Tag.empty() || std::from_chars(RichTextBox1Tag.data(), end, id).ptr != end)
        return true;
    return mod_MyNotes::SaveMyNotes(id, *MyNotes_Editor, leaving);
}

void frm_Exam::Timer3_Timer(int index) {
    const int height = MyNotes->height();
    if (index == 0) {
        placeNotesPanel(std::min(kNotesHeight, height + kNotesStep));
        if (MyNotes->height() >= kNotesHeight) Timer3[0]->stop();
        return;
    }
    placeNotesPanel(std::max(0, height - kNotesStep));
    if (MyNotes->height() > 0) return;
    Timer3[1]->stop();
    MyNotes->hide();
    button_notes->setLatched(false);
}
