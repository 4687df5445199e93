#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <array>
#include <filesystem>

#include "core/AppPaths.h"
#include "core/PictureButton.h"
#include "core/frm_Confirm.h"
#include "exam/ExamRecordIo.h"
#include "exam/ExamWindowFixture.h"
#include "exam/LcdDigits.h"
#include "platform/Look.h"
#include "platform/MessageBox.h"
#include "support/GuiTestSupport.h"

using exam::CurrentExamSession;
using examtest::ExamWindowFixture;
using testsupport::ModalWatcher;

namespace {

struct ExamClockTest : ExamWindowFixture {
    void ticks(int count) {
        for (int k = 0; k < count; ++k) {
            clock.Advance(std::chrono::seconds(1));
            window->Timer1_Timer();
        }
    }

    // Presses a clock button and answers its question: ticks Remember as asked, then Yes or No.
    void answered(void (frm_Exam::*press)(), bool remember, const char* button) {
        const ModalWatcher watcher([remember, button](QWidget* modal) {
            modal->findChild<QCheckBox*>(QStringLiteral("Remember"))->setChecked(remember);
            ModalWatcher::clickButton(QLatin1String(button))(modal);
        });
        (window->*press)();
        EXPECT_TRUE(watcher.acted());
    }
};

// Centre of a cell of a `columns` x 19 grid, in the grabbed image.
QColor cellColour(const QImage& image, QPoint cell, int columns = 13) {
    return image.pixelColor((2 * cell.x() + 1) * image.width() / (2 * columns),
                            (2 * cell.y() + 1) * image.height() / 38);
}

// "1" per lit segment: top, upper left, upper right, middle, lower left, lower right, bottom.
std::string litSegments(LcdDigit& digit, int number, const QColor& lit) {
    static constexpr std::array<QPoint, 7> kCentres{
        {{6, 1}, {1, 5}, {11, 5}, {6, 9}, {1, 13}, {11, 13}, {6, 17}}};
    digit.Draw(number, lit);
    const QImage image = digit.grab().toImage();
    std::string on;
    for (const QPoint centre : kCentres) {
        const QColor colour = cellColour(image, centre);
        EXPECT_TRUE(colour == lit || colour == LcdUnlitColour()) << number;
        on += colour == lit ? '1' : '0';
    }
    return on;
}

}  // namespace

TEST(LcdDigits, DigitsLightTheirSegmentsAtAnyBoxSizeAndColour) {
    const QColor green(0, 128, 0);
    for (const QSize size : {QSize(13, 19), QSize(45, 64), QSize(130, 190)}) {
        LcdDigit digit;
        digit.resize(size);
        EXPECT_EQ(litSegments(digit, 1, green), "0010010");
        EXPECT_EQ(litSegments(digit, 8, green), "1111111");
        EXPECT_EQ(litSegments(digit, 6, green), "1101111");
        EXPECT_EQ(litSegments(digit, 7, green), "1010010");
        EXPECT_EQ(litSegments(digit, 9, green), "1111011");
        EXPECT_EQ(litSegments(digit, 0, Qt::red), "1110111");
        EXPECT_EQ(litSegments(digit, 0, QColor(19, 22, 147)), "1110111");  // only the colour
        // The hollows between the segments keep the panel colour.
        const QImage image = digit.grab().toImage();
        EXPECT_EQ(cellColour(image, {6, 5}), platform::PanelColour());
        EXPECT_EQ(cellColour(image, {6, 13}), platform::PanelColour());
    }

    LcdColon colon;
    colon.resize(25, 95);
    EXPECT_EQ(cellColour(colon.grab().toImage(), {1, 5}, 3), platform::PanelColour());
    colon.Draw(Qt::red);
    const QImage image = colon.grab().toImage();
    EXPECT_EQ(cellColour(image, {1, 5}, 3), Qt::red);
    EXPECT_EQ(cellColour(image, {1, 13}, 3), Qt::red);
    EXPECT_EQ(cellColour(image, {1, 9}, 3), platform::PanelColour());
}

TEST_F(ExamClockTest, ATimedClockChangesColourAndTimesOutOnce) {
    ASSERT_TRUE(open("6"));
    EXPECT_EQ(window->ClockColour(), "green");
    ticks(61);
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 299);
    EXPECT_EQ(window->ClockColour(), "yellow");
    ticks(180);
    EXPECT_EQ(window->ClockColour(), "red");
    EXPECT_TRUE(window->Choices_Inner->isEnabled());
    ticks(118);
    EXPECT_TRUE(endReasons.empty());
    ticks(1);
    EXPECT_EQ(endReasons, std::vector<int>{6});
    EXPECT_FALSE(CurrentExamSession.RecordAnswer("B", false));
    for (QWidget* off : {static_cast<QWidget*>(window->Button_Stop_Timer),
                         static_cast<QWidget*>(window->Button_Pause_Exam),
                         static_cast<QWidget*>(window->button_pause), window->Choices_Inner,
                         static_cast<QWidget*>(window->Choices_Reset)})
        EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
    EXPECT_FALSE(window->Timer1->isActive());
    ticks(1);
    EXPECT_EQ(endReasons.size(), 1u);
    window->Timer4_Timer();
    EXPECT_EQ(CurrentExam.RemainingText, "00:00:00");
    EXPECT_EQ(CurrentExam.ElapsedText, "00:06:01");

    // A reset after time-out brings the full limit back, stopped in its resume state.
    UserSettings.SkipResetTimerConfirm = true;
    window->Button_Reset_Timer_Click();
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 360);
    EXPECT_EQ(window->ClockColour(), "green");
    EXPECT_TRUE(window->Choices_Inner->isEnabled());
    EXPECT_EQ(window->Button_Stop_Timer->text(), "Resume");
    EXPECT_FALSE(window->Button_Pause_Exam->isEnabled());
    window->Button_Stop_Timer_Click();
    EXPECT_TRUE(CurrentExamSession.ClockRunning());
    EXPECT_EQ(window->Button_Stop_Timer->text(), "Stop");
    EXPECT_TRUE(window->button_pause->isEnabled());

    window->button_end_Click();
    window->button_evaluate_Click();
    EXPECT_EQ(endReasons, (std::vector<int>{6, 8, 7}));

    SystemVars.FeedbackEmail = "feedback@test.example";
    testsupport::RecordedShell shell;
    window->button_feedback_Click();
    ASSERT_EQ(shell.opened().size(), 1u);
    EXPECT_TRUE(shell.opened()[0].ends_with("TP-1%20%20QID:%2011")) << shell.opened()[0];
    EXPECT_EQ(window->button_feedback->look(), PictureButton::Look::Normal);
}

TEST_F(ExamClockTest, AnUntimedClockCountsUpAndNeverLocksTheExam) {
    ASSERT_TRUE(open("0"));
    EXPECT_EQ(window->lbl_Exam_Time_Remaining->text(), "Time used");
    EXPECT_EQ(window->ClockColour(), "blue");
    UserSettings.SkipStopTimerConfirm = true;
    window->Button_Stop_Timer_Click();  // stopped at 0 seconds
    EXPECT_EQ(window->Button_Stop_Timer->text(), "Resume");
    EXPECT_TRUE(window->Choices_Inner->isEnabled());
    EXPECT_TRUE(CurrentExamSession.AcceptsAnswers());
    window->Button_Stop_Timer_Click();
    ticks(5000);
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 5000);
    EXPECT_EQ(window->ClockColour(), "blue");
    EXPECT_TRUE(endReasons.empty());
}

TEST_F(ExamClockTest, PauseCoversTheWindowUntilAKeyOrAClick) {
    ASSERT_TRUE(open());
    window->Timer2_Timer();
    window->button_pause_Click();
    ASSERT_TRUE(window->IsPaused());
    EXPECT_FALSE(window->Pause_Screen->isHidden());
    EXPECT_EQ(window->Pause_Screen->geometry(), window->rect());
    ticks(3);
    window->Timer4_Timer();
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 600);
    EXPECT_EQ(CurrentExam.ElapsedText, "00:00:03");  // elapsed time runs on
    EXPECT_FALSE(CurrentExamSession.RecordAnswer("B", false));
    QTest::keyClick(window->Pause_Button, Qt::Key_A);
    EXPECT_FALSE(window->IsPaused());
    EXPECT_TRUE(window->Pause_Screen->isHidden());
    EXPECT_EQ(window->HoverDelayCount, 0);
    EXPECT_TRUE(window->Timer1->isActive());

    window->Button_Pause_Exam_Click();
    QTest::mouseClick(window->txt_Pause_Screen[1], Qt::RightButton);
    EXPECT_FALSE(window->IsPaused());

    UserSettings.SkipStopTimerConfirm = true;
    window->Button_Stop_Timer_Click();
    window->button_pause_Click();  // a stopped clock has nothing to pause
    EXPECT_FALSE(window->IsPaused());
}

TEST_F(ExamClockTest, OnlyARememberedYesSilencesTheClockQuestions) {
    ASSERT_TRUE(open());
    ticks(10);
    answered(&frm_Exam::Button_Reset_Timer_Click, true, "No");
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 590);
    EXPECT_FALSE(UserSettings.SkipResetTimerConfirm);
    answered(&frm_Exam::Button_Reset_Timer_Click, true, "Yes");
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 600);
    EXPECT_TRUE(UserSettings.SkipResetTimerConfirm);
    EXPECT_TRUE(std::filesystem::exists(AppPaths::ConfigDat()));
    ticks(5);
    window->Button_Reset_Timer_Click();  // asks no more
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 600);

    answered(&frm_Exam::Button_Stop_Timer_Click, false, "Yes");
    EXPECT_FALSE(CurrentExamSession.ClockRunning());
    EXPECT_FALSE(UserSettings.SkipStopTimerConfirm);
    EXPECT_EQ(window->Button_Stop_Timer->text(), "Resume");
    EXPECT_FALSE(window->button_pause->isEnabled());
}

TEST_F(ExamClockTest, ATimeOutDuringAQuestionOpensTheEndDialogOnceTheQuestionCloses) {
    ASSERT_TRUE(open("1"));
    {
        ModalWatcher watcher([this](QWidget* modal) {
            ticks(60);
            EXPECT_TRUE(endReasons.empty());
            ModalWatcher::clickButton(QStringLiteral("No"))(modal);
        });
        window->Button_Stop_Timer_Click();
        EXPECT_TRUE(watcher.acted());
    }
    EXPECT_EQ(endReasons, std::vector<int>{6});
}

TEST_F(ExamClockTest, SavingKeepsTheExamRunningAndItsNoticeShowsUntilRememberIsTicked) {
    ASSERT_TRUE(open());
    ticks(3);
    window->Timer4_Timer();
    QTest::mouseClick(window->choices_single_optionbutton[1], Qt::LeftButton);
    window->Choices_Next_Click(0);
    const CurrentExamRecord before = CurrentExam;
    testsupport::WriteFile(AppPaths::DataFolder() / "file", {});
    const auto broken = AppPaths::DataFolder() / "file" / "exam.sav";  // no such folder
    chosenPaths = {{}, broken, AppPaths::SaveFolder() / "mine"};

    window->button_save_Click();  // cancelled
    EXPECT_EQ(CurrentExam, before);
    EXPECT_TRUE(CurrentExamSession.SavePath().empty());
    boxes.queue(platform::kOk);
    window->button_save_Click();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].style, platform::kCritical);
    EXPECT_NE(boxes.shown()[0].text.find(broken.string()), std::string::npos);
    EXPECT_TRUE(CurrentExamSession.InProgress());
    EXPECT_TRUE(window->Timer4->isActive());

    for (const bool remember : {false, true}) {
        const ModalWatcher notice([&](QWidget* modal) {
            auto* box = qobject_cast<frm_Confirm*>(modal);
            ASSERT_NE(box, nullptr);
            box->Remember->setChecked(remember);
            box->Yes->click();
        });
        window->button_save_Click();
        EXPECT_TRUE(notice.acted());
        EXPECT_EQ(UserSettings.SkipSaveExamNotice, remember);
        EXPECT_EQ(std::filesystem::exists(AppPaths::ConfigDat()), remember);
    }
    const ModalWatcher none([](QWidget* modal) {
        ADD_FAILURE() << "notice shown";
        modal->close();
    });
    window->button_save_Click();
    EXPECT_EQ(chooserCalls, 3);  // later saves go to the chosen file unasked
    EXPECT_EQ(exam::ReadExamFile(AppPaths::SaveFolder() / "mine.sav"), CurrentExam);
    EXPECT_EQ(CurrentExam.StartIndex, 1);
    EXPECT_EQ(CurrentExam.ElapsedText, "00:00:03");
    EXPECT_TRUE(CurrentExamSession.InProgress());
    EXPECT_FALSE(std::filesystem::exists(AppPaths::ResourceDat()));  // nothing counted yet
    EXPECT_EQ(window->button_save->look(), PictureButton::Look::Normal);
}

TEST_F(ExamClockTest, AResumedSaveWhoseTimeRanOutStaysOutOfTime) {
    CurrentExam = BlankExam;
    CurrentExam.Minutes = "5";
    CurrentExam.TimerOn = true;
    CurrentExam.Groups = std::vector<std::int16_t>{51};
    mod_Exam::BuildExamQuestions();
    CurrentExam.RemainingText = "00:00:00";
    CurrentExam.ElapsedText = "00:05:03";  // saved after its time ran out
    ASSERT_TRUE(load(exam::ExamOpening::kResumed));
    EXPECT_EQ(CurrentExamSession.SecondsLeft(), 0);
    EXPECT_FALSE(CurrentExamSession.AcceptsAnswers());
    EXPECT_FALSE(window->Button_Stop_Timer->isEnabled());
    EXPECT_TRUE(endReasons.empty());
}

TEST_F(ExamClockTest, TheNotesPanelSlidesOpenAndClosed) {
    ASSERT_TRUE(open());
    window->button_notes_Click();
    EXPECT_TRUE(window->button_notes->latched());
    for (int k = 0; k < 24; ++k)
        window->Timer3_Timer(0);
    EXPECT_FALSE(window->Timer3[0]->isActive());
    EXPECT_EQ(window->MyNotes->geometry().bottom() + 1, window->PicFrame[2]->geometry().top());
    const int openHeight = window->MyNotes->height();
    EXPECT_GT(openHeight, 0);
    window->button_notes_Click();
    for (int k = 0; k * 10 < openHeight; ++k)
        window->Timer3_Timer(1);
    EXPECT_TRUE(window->MyNotes->isHidden());
    EXPECT_FALSE(window->button_notes->latched());
}
