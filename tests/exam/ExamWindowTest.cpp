#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QWheelEvent>

#include <filesystem>
#include <vector>

#include "app/mdi_Main.h"
#include "core/AppPaths.h"
#include "core/ListView.h"
#include "core/OwnIcons.h"
#include "core/mod_ComboBox.h"
#include "core/mod_Question.h"
#include "core/mod_System.h"
#include "exam/ExamWindowFixture.h"
#include "exam/mod_MyCurrentExam.h"
#include "platform/mod_Forms.h"

using exam::CurrentExamSession;
using examtest::ExamWindowFixture;

namespace {

using Answers = std::optional<std::vector<std::string>>;
using Texts = std::vector<std::string>;

struct ExamWindowTest : ExamWindowFixture {};

// Where the picture and the question text start in the question box (-1: absent).
std::pair<int, int> picturePlace(const QTextEdit* box, const QString& text) {
    int picture = -1;
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            if (fragment.fragment().charFormat().isImageFormat())
                picture = fragment.fragment().position();
    return {picture, box->document()->find(text).selectionStart()};
}

QImage iconImage(const QIcon& icon) {
    return icon.pixmap(16, 16).toImage();
}

Texts rowNumbers(const ListView* list) {
    Texts numbers;
    for (int row = 0; row < list->rowCount(); ++row)
        numbers.push_back(list->text(row, 0));
    return numbers;
}

}  // namespace

TEST_F(ExamWindowTest, ShowsEachAnswerTypeWithHeadingsTextAndPicture) {
    QApplication::clipboard()->setText(QStringLiteral("mine"));
    ASSERT_TRUE(open());
    EXPECT_EQ(window->SSTab2->tabText(frm_Exam::kQuestionTab), "Question 1 / 4");
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(window->lbl_Exam_Type[k]->text(), "Exam: Practice Set 1");
        EXPECT_EQ(window->lbl_Exam_Category[k]->text(), "Objective: Topic 11");
        EXPECT_EQ(window->lbl_Exam_Difficulty[k]->text(), "Level: Beginner");
    }
    auto [picture, text] = picturePlace(window->RichTextBox1, "See the exhibit");
    EXPECT_GE(picture, 0);  // found although named in other case and with blanks
    EXPECT_LT(picture, text);
    ASSERT_EQ(window->choices_single_optionbutton.size(), 3u);
    EXPECT_EQ(window->Label[1]->text(), "Network");

    window->Choices_Next_Click(0);
    std::tie(picture, text) = picturePlace(window->RichTextBox1, "Above all");
    EXPECT_GT(picture, text);  // only "Above": the picture follows the text
    EXPECT_EQ(window->lbl_Choices_Type->text(), "Multiple answers (Choose 2)");
    EXPECT_FALSE(window->choice_multiple_checkbox[3]->isHidden());
    EXPECT_TRUE(window->choices_single_optionbutton[0]->isHidden());

    window->Choices_Next_Click(0);
    EXPECT_FALSE(window->choices_fill_in_the_blanks->isHidden());
    EXPECT_EQ(picturePlace(window->RichTextBox1, "Name").first, -1);
    EXPECT_EQ(window->choices_fill_in_the_blanks->maxLength(),
              static_cast<int>(exam::kMaxFillInLength));

    window->Choices_Next_Click(2);
    EXPECT_EQ(window->lbl_Exam_Type[0]->text(), "Exam: ");  // group 120 has no name
    EXPECT_EQ(window->lbl_Exam_Difficulty[0]->text(), "Level: ");
    EXPECT_EQ(QApplication::clipboard()->text(), "mine");
}

TEST_F(ExamWindowTest, TheExplanationIsAlwaysFilledAndItsTabFollowsTheAnswerMode) {
    for (const std::int16_t mode : {0, 2}) {
        ASSERT_TRUE(open("10", mode));
        EXPECT_EQ(window->SSTab2->isTabVisible(frm_Exam::kExplanationTab), mode == 0);
        EXPECT_TRUE(window->RichTextBox2->toPlainText().contains("Explained 11."));
        exam::UnloadExamWindow();
    }

    ASSERT_TRUE(open("10", 1));
    EXPECT_FALSE(window->SSTab2->isTabVisible(frm_Exam::kExplanationTab));  // unanswered
    window->Timer1_Timer();
    QTest::mouseClick(window->choices_single_optionbutton[0], Qt::LeftButton);
    EXPECT_TRUE(window->SSTab2->isTabVisible(frm_Exam::kExplanationTab));  // wrong
    QTest::mouseClick(window->choices_single_optionbutton[1], Qt::LeftButton);
    EXPECT_FALSE(window->SSTab2->isTabVisible(frm_Exam::kExplanationTab));  // right
    window->Choices_Next_Click(0);
    EXPECT_TRUE(window->RichTextBox2->toPlainText().contains("Explained 12."));
}

TEST_F(ExamWindowTest, AnswersGivenByMouseOrKeyboardAreRecordedAtOnce) {
    ASSERT_TRUE(open());
    QTest::mouseClick(window->RichTextBox1->viewport(), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), window->Choices_Inner);
    const auto& options = window->choices_single_optionbutton;
    QTest::mouseClick(options[1], Qt::LeftButton);
    EXPECT_EQ(state(0).GivenAnswers, Answers(Texts{"B"}));
    EXPECT_TRUE(window->Choices_Reset->isEnabled());
    options[1]->setFocus();
    QTest::keyClick(options[1], Qt::Key_Down);
    EXPECT_EQ(state(0).GivenAnswers, Answers(Texts{"C"}));
    window->Label_Click(0);  // the text beside a choice selects it
    EXPECT_EQ(state(0).GivenAnswers, Answers(Texts{"A"}));

    window->Choices_Next_Click(0);
    window->Timer1_Timer();
    const auto& boxes = window->choice_multiple_checkbox;
    boxes[0]->setFocus();
    QTest::keyClick(boxes[0], Qt::Key_Space);
    QTest::mouseClick(boxes[2], Qt::LeftButton);
    EXPECT_EQ(state(1).GivenAnswers, Answers(Texts{"A", "C"}));
    EXPECT_FALSE(boxes[1]->isEnabled());  // two of two chosen
    EXPECT_FALSE(window->Label[3]->isEnabled());
    window->Label_Click(0);
    EXPECT_EQ(state(1).GivenAnswers, Answers(Texts{"C"}));
    EXPECT_TRUE(boxes[1]->isEnabled());

    window->Choices_Next_Click(0);
    window->Timer1_Timer();
    QLineEdit* fillIn = window->choices_fill_in_the_blanks;
    QTest::keyClicks(fillIn, "hello, world");
    EXPECT_EQ(state(2).GivenAnswers, Answers(Texts{"hello", " world"}));
    EXPECT_EQ(fillIn->text(), "hello, world");  // typing is never cut back
    QApplication::clipboard()->setText(QStringLiteral("Hello World"));
    fillIn->selectAll();
    fillIn->paste();
    EXPECT_EQ(state(2).GivenAnswers, Answers(Texts{"Hello World"}));
    fillIn->selectAll();
    fillIn->cut();
    EXPECT_FALSE(state(2).GivenAnswers);

    QTest::mouseClick(window->check_Review[1], Qt::LeftButton);
    EXPECT_TRUE(state(2).Marked);
    EXPECT_TRUE(window->check_Review[0]->isChecked());
    window->Choices_Previous_Click(0);
    EXPECT_TRUE(boxes[2]->isChecked());  // shown again as stored
    EXPECT_FALSE(boxes[0]->isChecked());
}

TEST_F(ExamWindowTest, NavigationStatesTheJumpListAndTheAnswerPanelKeys) {
    ASSERT_TRUE(open());
    const auto enabled = [](const auto& buttons) {
        return std::count_if(buttons.begin(), buttons.end(),
                             [](const QPushButton* b) { return b->isEnabled(); });
    };
    EXPECT_EQ(enabled(window->Choices_Previous), 0);
    EXPECT_EQ(enabled(window->Choices_Next), 3);
    window->Choices_Next_Click(1);
    EXPECT_EQ(enabled(window->Choices_Previous), 3);
    EXPECT_EQ(enabled(window->Choices_Next), 3);

    ASSERT_EQ(window->Choices_Jump->count(), 4);
    QTest::keyClick(window->Choices_Jump, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(window->Choices_Jump, "4");
    EXPECT_EQ(CurrentQuestionIndex, 3);
    EXPECT_EQ(enabled(window->Choices_Next), 0);
    QTest::keyClicks(window->Choices_Jump, "x");  // begins no entry: swallowed
    EXPECT_EQ(CurrentQuestionIndex, 3);
    window->Choices_Previous_Click(0);
    EXPECT_EQ(CurrentQuestionIndex, 2);
    EXPECT_EQ(window->Choices_Jump->currentText(), "Go to");

    // A panel too short for its rows scrolls by keys, within its bounds.
    window->Choices_Previous_Click(0);
    window->resize(700, 420);
    QApplication::processEvents();
    QScrollBar* bar = window->Choices_Vscroll;
    ASSERT_GT(bar->maximum(), 0);
    window->Choices_Inner_KeyDown(Qt::Key_Up);
    EXPECT_EQ(bar->value(), 0);
    window->Choices_Inner_KeyDown(Qt::Key_Down);
    EXPECT_EQ(bar->value(), bar->singleStep());
    EXPECT_EQ(window->Choices_Inner->y(), -bar->singleStep());
    for (int k = 0; k * bar->pageStep() <= bar->maximum(); ++k)
        window->Choices_Inner_KeyDown(Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), bar->maximum());

    // The wheel over a choice's text scrolls the panel too.
    const auto wheel = [this](int delta) {
        QLabel* text = window->Label[0];
        const QPointF at(text->width() / 2.0, text->height() / 2.0);
        QWheelEvent event(at, text->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(text, &event);
    };
    wheel(120);
    EXPECT_LT(bar->value(), bar->maximum());
    for (int k = 0; k * bar->singleStep() <= bar->maximum(); ++k)
        wheel(120);
    EXPECT_EQ(bar->value(), 0);
    wheel(-120);
    EXPECT_GT(bar->value(), 0);

    EXPECT_EQ(window->Choices_Previous[1]->text(), "Previous");
    EXPECT_EQ(window->Choices_Next[2]->text(), "Next");
}

// Four one-line choices overflow the answer box: its scroll bar reads as the question
// box's does, the handle darker than the track.
TEST_F(ExamWindowTest, TheChoicesScrollHandleStandsOutFromItsTrack) {
    ASSERT_TRUE(open());
    window->Choices_Next_Click(0);
    // Short enough that four choices overflow, tall enough for a handle shorter than its track.
    window->resize(700, 520);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    ASSERT_TRUE(window->Choices_Vscroll->isEnabled());
    testsupport::ExpectScrollHandleAtTheTop(*window->Choices_Vscroll);
}

TEST_F(ExamWindowTest, AQuestionTakesAnswersAtOnceButADisabledChoiceTakesNoClickOnItsText) {
    ASSERT_TRUE(open());
    const auto& options = window->choices_single_optionbutton;
    const auto& boxes = window->choice_multiple_checkbox;
    // Quick "next, answer" pairs are each recorded, with no wait for the clock.
    for (int round = 0; round < 3; ++round) {
        window->Choices_Previous_Click(0);
        QTest::mouseClick(options[round], Qt::LeftButton);
        window->Choices_Next_Click(0);
        QTest::mouseClick(boxes[round], Qt::LeftButton);
    }
    EXPECT_EQ(state(0).GivenAnswers, Answers(Texts{"C"}));
    EXPECT_EQ(state(1).GivenAnswers, Answers(Texts{"A", "B"}));

    // Two of two chosen: the others' texts do nothing.
    ASSERT_FALSE(boxes[2]->isEnabled());
    QTest::mouseClick(window->Label[2], Qt::LeftButton);
    window->Label_Click(3);
    EXPECT_EQ(state(1).GivenAnswers, Answers(Texts{"A", "B"}));
    EXPECT_FALSE(boxes[2]->isChecked());

    // Out of time: no text changes an answer, not even on the screen.
    clock.Advance(std::chrono::minutes(10));
    window->Timer1_Timer();
    ASSERT_EQ(endReasons, std::vector<int>{6});
    window->Label_Click(0);
    EXPECT_TRUE(boxes[0]->isChecked());
    window->Choices_Previous_Click(0);
    EXPECT_FALSE(window->Choices_Inner->isEnabled());
    QTest::mouseClick(window->Label[0], Qt::LeftButton);
    EXPECT_FALSE(options[0]->isChecked());
    EXPECT_EQ(state(0).GivenAnswers, Answers(Texts{"C"}));
}

TEST_F(ExamWindowTest, AQuestionMissingFromTheBankShowsNothingAndRecordsNothing) {
    ASSERT_TRUE(open());
    QuestionBank.erase(QuestionBank.begin() + 1);
    exam::InvalidateQuestionLookup();
    window->Timer1_Timer();
    QTest::mouseClick(window->choices_single_optionbutton[1], Qt::LeftButton);

    window->Choices_Next_Click(0);
    window->Timer1_Timer();
    EXPECT_EQ(window->SSTab2->tabText(frm_Exam::kQuestionTab), "Question 2 / 4");
    EXPECT_TRUE(window->RichTextBox1->toPlainText().isEmpty());
    EXPECT_TRUE(window->RichTextBox1Tag.empty());
    EXPECT_FALSE(window->Choices_Inner->isEnabled());
    EXPECT_FALSE(window->check_Review[0]->isEnabled());
    EXPECT_TRUE(window->choices_single_optionbutton[1]->isHidden());
    mod_MyCurrentExam::RecordAnswer();
    EXPECT_EQ(state(0).GivenAnswers, Answers(Texts{"B"}));
    EXPECT_FALSE(state(1).GivenAnswers);
    EXPECT_FALSE(state(1).Marked);
}

TEST_F(ExamWindowTest, ClosingBookmarksTheMarkedQuestionsAndResetsTheExam) {
    const auto bookmarksOnDisk = [] {
        std::vector<bool> flags;
        const bool read = mod_System::ReadSignedFile(AppPaths::ResourceDat(), [&](auto& in) {
            for (const QuestionStats& stats :
                 mod_Question::ReadStatsBody(in, QuestionStatsTable.size()))
                flags.push_back(stats.Bookmarked);
        });
        EXPECT_TRUE(read && mod_System::IsFileSignatureValid());
        return flags;
    };
    ASSERT_TRUE(mod_Question::WriteStatistics());
    ASSERT_EQ(bookmarksOnDisk(), std::vector<bool>(QuestionStatsTable.size(), false));
    auto* main = new mdi_Main();
    main->show();
    ASSERT_TRUE(open());
    EXPECT_TRUE(main->isAncestorOf(window));
    EXPECT_FALSE(exam::LoadExamWindow(exam::ExamOpening::kNew));  // one at a time
    window->Timer1_Timer();
    QTest::mouseClick(window->check_Review[0], Qt::LeftButton);
    window->Choices_Next_Click(0);

    EXPECT_FALSE(main->close());  // closing the program asks how the exam ends
    EXPECT_EQ(endReasons, std::vector<int>{8});
    exam::UnloadExamWindow();
    EXPECT_FALSE(exam::ExamWindow());
    EXPECT_EQ(CurrentExam, BlankExam);
    EXPECT_TRUE(QuestionStatsTable[0].Bookmarked);
    EXPECT_FALSE(QuestionStatsTable[1].Bookmarked);
    const std::vector<bool> written = bookmarksOnDisk();
    ASSERT_EQ(written.size(), QuestionStatsTable.size());
    EXPECT_TRUE(written[0]);
    EXPECT_FALSE(written[1]);
    EXPECT_TRUE(mod_Forms::Find("frm_SwitchBoard")->isVisible());

    // After a critical error the program closes unasked and still runs the window's unload.
    ASSERT_TRUE(open());
    window->Timer1_Timer();
    window->Choices_Next_Click(0);
    QTest::mouseClick(window->check_Review[0], Qt::LeftButton);
    AbortFlag = true;
    EXPECT_TRUE(main->close());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(exam::ExamWindow());
    EXPECT_TRUE(QuestionStatsTable[1].Bookmarked);
    EXPECT_TRUE(bookmarksOnDisk().at(1));
    EXPECT_EQ(CurrentExam, BlankExam);
}

TEST_F(ExamWindowTest, CountsStatusListsAndResultsFollowAnswersAndMarks) {
    ASSERT_TRUE(open());
    window->Timer1_Timer();
    QTest::mouseClick(window->choices_single_optionbutton[0], Qt::LeftButton);  // wrong
    QTest::mouseClick(window->check_Review[0], Qt::LeftButton);
    window->Choices_Next_Click(0);
    window->Timer1_Timer();
    window->Label_Click(0);
    window->Label_Click(2);  // right
    EXPECT_EQ(window->lbl_question_status[0]->text(), "Answered: 2");
    EXPECT_EQ(window->lbl_question_status[1]->text(), "Unanswered: 2");
    EXPECT_EQ(window->lbl_question_status[2]->text(), "Marked: 1");
    EXPECT_EQ(window->lbl_question_total[2]->text(), "Questions: 1");
    EXPECT_EQ(window->SSTab2->tabText(frm_Exam::kResultsTab), "Score : 25% (1/4)");

    window->lbl_question_status_Click(0);  // within the first second: nothing
    EXPECT_TRUE(window->ListView1->isHidden());
    window->Timer2_Timer();
    window->lbl_question_status_Click(0);
    EXPECT_FALSE(window->ListView1->isHidden());
    EXPECT_TRUE(window->Choices_Frame->isHidden());
    EXPECT_EQ(rowNumbers(window->ListView1), (Texts{"1", "2"}));
    EXPECT_TRUE(window->ListView1->isChecked(0));
    window->SSTab1->setCurrentIndex(frm_Exam::kUnansweredTab);
    EXPECT_EQ(rowNumbers(window->ListView1), (Texts{"3", "4"}));
    window->button_review_Click();
    EXPECT_EQ(window->SSTab1->currentIndex(), frm_Exam::kMarkedTab);
    ASSERT_EQ(rowNumbers(window->ListView1), (Texts{"1"}));
    window->ListView1->setChecked(0, false);
    EXPECT_FALSE(state(0).Marked);
    EXPECT_EQ(window->lbl_question_status[2]->text(), "Marked: 0");
    EXPECT_EQ(window->ListView1->rowCount(), 1);  // stays until rebuilt
    window->ListView1->setCurrentRow(0);
    window->ListView1_DblClick();
    EXPECT_TRUE(window->ListView1->isHidden());
    EXPECT_EQ(CurrentQuestionIndex, 0);

    window->SSTab2->setCurrentIndex(frm_Exam::kResultsTab);
    const ListView* results = window->ListView2;
    ASSERT_EQ(results->rowCount(), 4);
    for (const int row : {0, 1, 2})  // wrong, right, unanswered
        EXPECT_EQ(iconImage(results->rowIcon(row)), iconImage(OwnIcons::resultIcon(3 - row)));
    window->Timer1_Timer();
    window->Label_Click(1);  // corrected while the results show
    EXPECT_EQ(iconImage(window->ListView2->rowIcon(0)), iconImage(OwnIcons::resultIcon(2)));
    EXPECT_EQ(window->SSTab2->tabText(frm_Exam::kResultsTab), "Score : 50% (2/4)");
}

TEST_F(ExamWindowTest, AGradedExamStaysReadOnlyAndCountsNothingMore) {
    ASSERT_TRUE(open());
    window->Timer1_Timer();
    window->button_pause_Click();
    ASSERT_TRUE(window->IsPaused());
    // Graded behind the pause screen (the end dialog from the main window's close).
    ASSERT_TRUE(CurrentExamSession.GradeAndRecord());
    CurrentExamSession.EnterReview();
    const auto asked = QuestionStatsTable[0].TimesAsked;
    window->ResumeExam();
    EXPECT_FALSE(CurrentExamSession.ClockRunning());
    EXPECT_FALSE(window->Timer1->isActive());

    mod_MyCurrentExam::ShowQuestion(0);
    window->Timer1_Timer();
    EXPECT_FALSE(window->Choices_Inner->isEnabled());
    EXPECT_FALSE(window->check_Review[1]->isEnabled());
    window->button_pause_Click();
    EXPECT_FALSE(window->IsPaused());
    // Even a change that reaches a control is refused and undone.
    window->check_Review[1]->setEnabled(true);
    window->check_Review[1]->click();
    EXPECT_FALSE(state(0).Marked);
    EXPECT_FALSE(window->check_Review[1]->isChecked());
    window->Timer2_Timer();
    window->lbl_question_status_Click(1);
    window->ListView1->setChecked(0, true);
    EXPECT_FALSE(state(0).Marked);
    EXPECT_FALSE(window->ListView1->isChecked(0));
    EXPECT_EQ(QuestionStatsTable[0].TimesAsked, asked);
}
