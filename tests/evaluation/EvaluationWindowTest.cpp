#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "app/mdi_Main.h"
#include "core/AbortFlag.h"
#include "core/ListView.h"
#include "core/OwnIcons.h"
#include "core/PictureButton.h"
#include "core/cls_ToolTipText.h"
#include "core/mod_ComboBox.h"
#include "evaluation/EvaluationWindow.h"
#include "evaluation/frm_Evaluate.h"
#include "exam/ExamSession.h"
#include "exam/QuestionLookup.h"
#include "exam/frm_Exam.h"
#include "exam/mod_Exam.h"
#include "mainscreen/SwitchBoardFixture.h"
#include "support/GuiTestSupport.h"

using namespace testsupport;
using evaluation::EvaluationWindow;
using evaluation::LoadEvaluationWindow;
using exam::CurrentExamSession;

namespace {

// The main screen's fixture gives the program folder and globals; the bank is replaced.
struct EvaluationWindowTest : SwitchBoardFixture {
    void SetUp() override {
        SwitchBoardFixture::SetUp();
        for (int k = 0; k <= 35; ++k)
            SystemVars.EvaluateTexts.at(k) = "E" + std::to_string(k);
        SystemVars.TypeNames.at(1) = "Single answer";
        SystemVars.FeedbackEmail = "feedback@exam.example";
        SystemVars.FeedbackSubject = "Feedback on ";
        useBank({"Routing", "Switching", "Cabling"}, 20);
        mod_Performance::InitPerformancePaths();
    }
    void TearDown() override {
        if (frm_Evaluate* window = EvaluationWindow()) window->Form_Unload();
        SwitchBoardFixture::TearDown();
        CurrentExamSession = exam::ExamSession{};
        exam::InvalidateQuestionLookup();
    }

    // Question k (from 1) of group 51 has objective k mod n; its answer "A" is correct.
    static void useBank(const std::vector<std::string>& objectives, int count) {
        QuestionBank.clear();
        for (int id = 1; id <= count; ++id)
            QuestionBank.push_back(
                BankQuestion(id, 51, objectives[static_cast<std::size_t>(id) % objectives.size()]));
        ResetStats();
        ObjectiveNames = objectives;
        std::sort(ObjectiveNames.begin(), ObjectiveNames.end());
        exam::InvalidateQuestionLookup();
    }

    // Takes and records an exam the way the end dialog's evaluate option does, then opens
    // the evaluation window; the first `correct` questions are answered right, the next
    // `wrong` ones wrong.
    static frm_Evaluate* evaluate(const std::string& title, double examDate, int correct,
                                  int wrong = 0, std::int16_t group = 51) {
        CurrentExam = BlankExam;
        CurrentExam.Title = title;
        CurrentExam.Minutes = "10";
        CurrentExam.RemainingText = "00:00:00";
        CurrentExam.TimerOn = true;
        CurrentExam.Groups = std::vector<std::int16_t>{group};
        mod_Exam::BuildExamQuestions();
        if (!exam::LoadExamWindow(exam::ExamOpening::kNew)) return nullptr;
        CurrentExam.ExamDate = examDate;
        for (int k = 0; k < correct + wrong; ++k) {
            CurrentExamSession.GoTo(static_cast<std::int16_t>(k));
            CurrentExamSession.RecordAnswer(k < correct ? "A" : "B", false);
        }
        if (!CurrentExamSession.GradeAndRecord()) return nullptr;
        return LoadEvaluationWindow();
    }

    static void closeAll() {
        if (frm_Evaluate* window = EvaluationWindow()) window->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

}  // namespace

TEST_F(EvaluationWindowTest, TheExamBecomesAReviewThatNothingChangesOrCountsAgainEvenReopened) {
    ASSERT_TRUE(evaluate("Trial", 100, 3, 1));
    frm_Exam* examWindow = exam::ExamWindow();
    ASSERT_TRUE(examWindow);
    EXPECT_FALSE(examWindow->Timer1->isActive());
    EXPECT_FALSE(examWindow->Timer4->isActive());
    EXPECT_TRUE(examWindow->PicFrame[1]->isHidden());
    EXPECT_FALSE(examWindow->PicFrame[1]->isEnabled());
    for (const int tab : {1, 2}) {
        EXPECT_TRUE(examWindow->SSTab2->isTabVisible(tab));
        EXPECT_TRUE(examWindow->SSTab2->isTabEnabled(tab));
    }
    EXPECT_EQ(examWindow->SSTab2->tabText(frm_Exam::kResultsTab), "Score : 15% (3/20)");
    for (const PictureButton* button :
         {examWindow->button_end, examWindow->button_save, examWindow->button_pause}) {
        EXPECT_FALSE(button->isEnabled());
        EXPECT_EQ(button->look(), PictureButton::Look::Disabled);
    }
    for (const QPushButton* button : {examWindow->Button_Pause_Exam, examWindow->Button_Reset_Timer,
                                      examWindow->Button_Stop_Timer})
        EXPECT_FALSE(button->isEnabled());

    EXPECT_TRUE(CurrentExamSession.InReview());
    const CurrentExamRecord graded = CurrentExam;
    CurrentExamSession.GoTo(10);
    EXPECT_FALSE(CurrentExamSession.RecordAnswer("A", false));
    EXPECT_FALSE(CurrentExamSession.GradeAndRecord());
    EXPECT_FALSE(CurrentExamSession.Save(folder.path() / "x.sav"));
    EXPECT_FALSE(CurrentExamSession.TickClock());
    EXPECT_EQ(CurrentExam, graded);
    EXPECT_EQ(QuestionStatsTable[0].TimesAsked, 1);

    // Closing ends both windows; the record reopened from the history is a review too.
    closeAll();
    EXPECT_FALSE(exam::ExamWindow());
    EXPECT_EQ(CurrentExam, BlankExam);
    ASSERT_TRUE(mod_Performance::HasPerformanceHistory());
    ASSERT_TRUE(mod_Performance::OpenPerformanceRecord(0));
    ASSERT_TRUE(exam::LoadExamWindow(exam::ExamOpening::kReview));
    QPointer<frm_Evaluate> window = LoadEvaluationWindow();
    EXPECT_TRUE(CurrentExamSession.InReview());
    EXPECT_EQ(window->Label10[3]->text(), "3");
    EXPECT_NE(window->Label10[0]->text(), " - ");
    EXPECT_EQ(QuestionStatsTable[0].TimesAsked, 1);

    window->button_end_Click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
    EXPECT_FALSE(exam::ExamWindow());
    EXPECT_EQ(QuestionStatsTable[0].TimesAsked, 1);
}

TEST_F(EvaluationWindowTest, TheSummarySetsTheAttemptBesideThePreviousOneOfTheSameExam) {
    frm_Evaluate* first = evaluate("Trial", 100, 10);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Label10[8]->text(), " - ");
    EXPECT_EQ(first->Label10[15]->text(), " - ");
    closeAll();
    ASSERT_TRUE(evaluate("Final", 150, 1));
    closeAll();

    frm_Evaluate* window = evaluate(" trial ", 200, 17);
    ASSERT_TRUE(window);
    const std::vector<QString> current = {"20", "17", "0", "3", "85%", "E4"};
    const std::vector<QString> previous = {"20", "10", "0", "10", "50%", "E1"};
    for (std::size_t k = 0; k < current.size(); ++k) {
        EXPECT_EQ(window->Label10[k + 2]->text(), current[k]);
        EXPECT_EQ(window->Label10[k + 10]->text(), previous[k]);
    }
    EXPECT_NE(window->Label10[8]->text(), " - ");
    EXPECT_EQ(window->currPercentile->text(), "85% (17/20)");
    EXPECT_EQ(window->currPBinner->width(), 135);  // 2031.5 twips
    EXPECT_TRUE(PerformanceHistory.empty());       // the main screen is not on its history tab
}

TEST_F(EvaluationWindowTest, TheObjectiveTabIsBuiltOnceAndScrollsByKeysPastSixRows) {
    useBank({"b", "A", "c", "d", "e", "f", "g"}, 21);
    frm_Evaluate* window = evaluate("Trial", 100, 3);
    ASSERT_TRUE(window);
    window->SSTab1->setCurrentIndex(frm_Evaluate::kObjectiveTab);
    window->SSTab1->setCurrentIndex(frm_Evaluate::kSummaryTab);
    window->SSTab1->setCurrentIndex(frm_Evaluate::kObjectiveTab);
    ASSERT_EQ(window->PicRow.size(), 7u);
    EXPECT_EQ(window->Objective[0]->text(), "A");
    // Questions 1 to 3 are right, one each of A, c and d; b has none.
    EXPECT_EQ(window->Percentile[0]->text(), "33% (1/3)");
    EXPECT_EQ(window->Remarks[0]->text(), "E0");
    EXPECT_EQ(window->PBinner[0]->width(), 53);  // 796.67 twips
    EXPECT_EQ(window->Percentile2[1]->text(), "0% (0/3)");
    EXPECT_EQ(window->PBinner[1]->width(), 0);

    EXPECT_TRUE(window->Objectives_Vscroll->isEnabled());
    QTest::keyClick(window->Objectives_Inner, Qt::Key_PageDown);
    EXPECT_EQ(window->Objectives_Vscroll->value(), 410);
    EXPECT_EQ(window->Objectives_Inner->y(), -27);
    window->Objectives_Inner_KeyDown(33);
    EXPECT_EQ(window->Objectives_Inner->y(), 0);
}

// Twenty objectives overflow the table: its scroll bar reads as the lists' do, the handle
// darker than the track.
TEST_F(EvaluationWindowTest, TheObjectiveTablesScrollHandleStandsOutFromItsTrack) {
    std::vector<std::string> objectives;
    for (char name = 'a'; name < 'a' + 20; ++name)
        objectives.emplace_back(1, name);
    useBank(objectives, 40);
    frm_Evaluate* window = evaluate("Trial", 100, 3);
    ASSERT_TRUE(window);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    window->SSTab1->setCurrentIndex(frm_Evaluate::kObjectiveTab);
    ExpectScrollHandleAtTheTop(*window->Objectives_Vscroll);
}

TEST_F(EvaluationWindowTest, EveryControlIsFoundByItsOwnName) {
    useBank({"b", "A", "c"}, 21);
    frm_Evaluate* window = evaluate("Trial", 100, 3);
    ASSERT_TRUE(window);
    window->SSTab1->setCurrentIndex(frm_Evaluate::kObjectiveTab);
    EXPECT_EQ(window->findChild<QWidget*>("button_end"), window->button_end);
    EXPECT_EQ(window->findChild<QTimer*>("Timer2"), window->Timer2);
    EXPECT_EQ(window->findChild<QLabel*>("Label10_15"), window->Label10[15]);
    EXPECT_EQ(window->findChild<QLabel*>("lbl_Legend_3"), window->lbl_Legend[3]);
    EXPECT_EQ(window->findChild<QLabel*>("Remarks_2"), window->Remarks[2]);
    EXPECT_EQ(window->findChild<QFrame*>("Line3_2"), window->Line3[2]);
    EXPECT_EQ(testsupport::duplicateNames(*window), QStringList());
}

TEST_F(EvaluationWindowTest, TheQuestionListJumpsToTheQuestionOfTheRowAfterSorting) {
    frm_Evaluate* window = evaluate("Trial", 100, 2, 1);
    ASSERT_TRUE(window);
    window->SSTab1->setCurrentIndex(frm_Evaluate::kQuestionTab);
    ListView* list = window->ListView1;
    ASSERT_EQ(list->rowCount(), 20);
    EXPECT_EQ(list->rowIcon(2).pixmap(16).toImage(), OwnIcons::resultIcon(3).pixmap(16).toImage());

    window->ListView1_ColumnClick(1);
    int seventh = -1;
    for (int row = 0; row < list->rowCount(); ++row)
        if (list->text(row, 0) == "7") seventh = row;
    ASSERT_GE(seventh, 0);
    EXPECT_NE(seventh, 6);
    const QPoint where = list->visualRect(list->model()->index(seventh, 0)).center();
    window->ListView1_MouseMove(where);
    ASSERT_TRUE(window->ListTip);
    EXPECT_EQ(window->ListTip->Title(), "Single answer     (Double-Click to go to question)");
    EXPECT_EQ(window->ListTip->TipText(), "Question 7");
    const QWidget* tip = window->ListTip->tipWindow();
    window->ListView1_MouseMove(where + QPoint(20, 0));
    EXPECT_EQ(window->ListTip->tipWindow(), tip);

    exam::ExamWindow()->Choices_Jump->setCurrentIndex(2);  // the exam's last jump
    list->setCurrentRow(seventh);
    window->ListView1_DblClick();
    EXPECT_EQ(CurrentQuestionIndex, 6);
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(exam::ExamWindow()->SSTab2->currentIndex(), 0);
    EXPECT_EQ(exam::ExamWindow()->RichTextBox1Tag, "7");
    EXPECT_EQ(exam::ExamWindow()->Choices_Jump->currentText(), "7");
}

TEST_F(EvaluationWindowTest, AnExamOfNoQuestionShowsZerosAndItsEmptyListIgnoresADoubleClick) {
    frm_Evaluate* window = evaluate("Empty", 100, 0, 0, 99);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->currPercentile->text(), "0% (0/1)");
    window->SSTab1->setCurrentIndex(frm_Evaluate::kObjectiveTab);
    ASSERT_EQ(window->PicRow.size(), 1u);
    EXPECT_EQ(window->Percentile[0]->text(), "0% (0/0)");
    EXPECT_EQ(window->PBinner[0]->width(), 0);
    EXPECT_EQ(window->Remarks[0]->text(), "");
    window->Objectives_Inner_KeyDown(34);
    EXPECT_EQ(window->Objectives_Inner->y(), 0);

    window->SSTab1->setCurrentIndex(frm_Evaluate::kQuestionTab);
    EXPECT_EQ(window->ListView1->rowCount(), 0);
    window->ListView1_DblClick();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(EvaluationWindowTest, FeedbackOpensTheMailFullyEncoded) {
    frm_Evaluate* window = evaluate("Trial", 100, 1);
    ASSERT_TRUE(window);
    const RecordedShell shell;
    window->button_feedback_Click();
    // The subject's final blank does not survive the link.
    EXPECT_EQ(shell.opened()[0],
              "mailto:feedback@exam.example?CC=help@test.example"
              "&Subject=Feedback%20on%20TP-1%20%20Evaluate%20%26%20Grade");
    EXPECT_EQ(window->button_feedback->look(), PictureButton::Look::Normal);
}

TEST_F(EvaluationWindowTest, TheMainWindowBringsAHiddenEvaluationBackInsteadOfClosing) {
    auto* main = new mdi_Main();
    main->show();
    frm_Evaluate* window = evaluate("Trial", 100, 1);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->parentWidget(), main);
    window->hide();
    EXPECT_TRUE(main->MDIForm_QueryUnload());
    EXPECT_TRUE(window->isVisible());
    AbortFlag = true;
    main->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    AbortFlag = false;
}
