#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>

#include "core/AbortFlag.h"
#include "core/QuestionBank.h"
#include "exam/CurrentExam.h"
#include "exam/ExamWindow.h"
#include "exam/QuestionLookup.h"
#include "mainscreen/CountPanel.h"
#include "mainscreen/CustomExamFile.h"
#include "mainscreen/CustomTab.h"
#include "mainscreen/LevelCountBox.h"
#include "mainscreen/frm_Customize.h"
#include "support/GuiTestSupport.h"
#include "support/SampleArchives.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;

namespace {

QuestionRecord question(std::int32_t id, std::int16_t group, std::int16_t level) {
    QuestionRecord q;
    q.QuestionID = id;
    q.GroupCode = group;
    q.Topic = "Routing";
    q.Level = level;
    return q;
}

std::vector<std::int32_t> bankIds() {
    std::vector<std::int32_t> ids;
    for (const QuestionRecord& q : QuestionBank)
        ids.push_back(q.QuestionID);
    return ids;
}

struct CustomTabTest : ::testing::Test {
    TempProgramFolder folder;
    ScriptedMessageBoxes boxes;
    std::vector<QuestionRecord> fullBank;
    std::unique_ptr<CustomTab> tab;

    void SetUp() override {
        AbortFlag = false;
        SystemVars = MinimalSystemVars();
        const std::pair<int, const char*> names[] = {{11, "Trial"},      {51, "Practice 1"},
                                                     {52, "Practice 2"}, {21, "Diagnostic"},
                                                     {41, "Exhaustive"}, {31, "Final exam"}};
        for (const auto& [code, name] : names)
            SystemVars.GroupNames.at(code) = name;
        SystemVars.CustomizeTexts.at(1) = "Exam";
        SystemVars.CustomizeTexts.at(24) = "Maximum ";
        PracticeGroups = {51, 52};
        fullBank = {question(100, 1, 1),  question(101, 11, 1), question(102, 46, 1),
                    question(103, 51, 1), question(104, 11, 1), question(105, 51, 1),
                    question(106, 46, 2), question(107, 21, 1), question(108, 52, 3),
                    question(109, 51, 1)};
        QuestionBank = fullBank;
        QuestionBankBackup.reset();
        exam::InvalidateQuestionLookup();
        CustomExamTable.clear();
        CurrentExam = BlankExam;
        tab = std::make_unique<CustomTab>();
        tab->Refresh();
    }

    void TearDown() override {
        tab.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QuestionBank.clear();
        QuestionBankBackup.reset();
        PracticeGroups.clear();
        CustomExamTable.clear();
        CurrentExam = BlankExam;
    }

    // Checks line i with the wanted counts.
    void want(std::size_t line, const std::array<int, 3>& counts) {
        if (!tab->chkExam[line]->isChecked()) tab->lblExam_Click(static_cast<int>(line));
        for (int level = 1; level <= 3; ++level)
            tab->LevelBoxes(level)[line]->SetText(
                std::to_string(counts[static_cast<std::size_t>(level - 1)]));
    }

    // Runs Command2 with `inDialog` acting on the Customize dialog it opens.
    void goOn(const std::function<void(frm_Customize*)>& inDialog) {
        const ModalWatcher watcher([&](QWidget* modal) {
            auto* dialog = qobject_cast<frm_Customize*>(modal);
            ASSERT_NE(dialog, nullptr);
            inDialog(dialog);
        });
        tab->Command2_Click();
        EXPECT_TRUE(watcher.acted());
    }
};

}  // namespace

TEST_F(CustomTabTest, TheLinesAreBuiltOnceWithTheirCountsAndSuffixedNames) {
    ASSERT_EQ(tab->chkExam.size(), 6u);
    EXPECT_EQ(tab->chkExamTag, (std::vector<std::string>{"11,46", "51", "52", "21", "41", "31"}));
    EXPECT_EQ(tab->lblExam[0]->text(), "Trial Exam");
    EXPECT_EQ(tab->lblExam[5]->text(), "Final exam");
    EXPECT_EQ(SystemVars.GroupNames(51), "Practice 1 Exam");
    EXPECT_EQ(tab->ctrBeginner[0]->text(), "3");
    EXPECT_EQ(tab->ctrIntermediate[0]->text(), "1");
    EXPECT_EQ(tab->ctrExpert[4]->text(), "0");
    EXPECT_FALSE(tab->ctrBeginner[0]->isEnabled());
    EXPECT_EQ(tab->Label2[0]->text(), "10");
    EXPECT_EQ(tab->Label2[1]->text(), "0");

    tab->Refresh();
    EXPECT_EQ(tab->chkExam.size(), 6u);
    EXPECT_EQ(SystemVars.GroupNames(11), "Trial Exam");
}

TEST_F(CustomTabTest, CheckedLinesMakeTheTotal) {
    QTest::mouseClick(tab->chkExam[0], Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_TRUE(tab->ctrExpert[0]->isEnabled());
    EXPECT_EQ(tab->Label2[1]->text(), "4");
    EXPECT_EQ(tab->Tag, "11,46");
    tab->ctrBeginner[0]->SetText("1");
    EXPECT_EQ(tab->Label2[1]->text(), "2");
    QTest::mouseClick(tab->lblExam[0], Qt::LeftButton);
    EXPECT_FALSE(tab->ctrBeginner[0]->isEnabled());
    EXPECT_EQ(tab->ctrBeginner[0]->text(), "1");
    EXPECT_EQ(tab->Label2[1]->text(), "0");

    tab->Command3_Click(2);
    tab->Command3_Click(0);
    EXPECT_EQ(tab->Label2[1]->text(), "9");  // every question but group 1's
    EXPECT_EQ(tab->Tag, "11,46,51,52,21,41,31");
    tab->Command3_Click(1);
    EXPECT_EQ(tab->Label2[1]->text(), "0");
    EXPECT_FALSE(tab->ctrBeginner[3]->isEnabled());

    // The main window's maximum item, through the tab's own menu here.
    tab->lblExam_Click(0);
    tab->ctrIntermediate[0]->SetText("0");
    QTest::mouseClick(tab->ctrIntermediate[0], Qt::RightButton);
    EXPECT_EQ(tab->CustomExam_mnuMaximumValue->text(), "Maximum 1");
    tab->CustomExam_mnuMaximumValue->trigger();
    tab->CustomExam_ContextMenu->hide();
    EXPECT_EQ(tab->ctrIntermediate[0]->text(), "1");
    EXPECT_EQ(tab->Label2[1]->text(), "4");
}

TEST_F(CustomTabTest, TheSubsetChargesAnyCheckedLineInBankOrderAndIsRestoredOnEveryRoad) {
    want(0, {2, 0, 0});
    want(1, {3, 0, 0});
    tab->Tag = "21";  // stale codes from an earlier round are not used
    const std::vector<std::function<void(frm_Customize*)>> closings{
        [](frm_Customize* d) { d->cmdCancel_Click(); },
        [](frm_Customize* d) { QTest::keyClick(d, Qt::Key_Escape); },
        [](frm_Customize* d) { d->close(); },
    };
    for (const auto& close : closings) {
        goOn([&](frm_Customize* d) {
            // Group 1 is not group 11; question 104 (group 11) fills the practice line.
            EXPECT_EQ(bankIds(), (std::vector<std::int32_t>{101, 102, 103, 104, 105}));
            EXPECT_EQ(d->Record()->Groups, (std::vector<std::int16_t>{11, 46, 51}));
            EXPECT_EQ(d->txtTotal->text(), "5");
            close(d);
        });
        EXPECT_EQ(QuestionBank.size(), fullBank.size());
        EXPECT_FALSE(QuestionBankBackup.has_value());
        EXPECT_TRUE(CustomExamTable.empty());
    }

    // After a start the subset stays for the exam; a second round still draws from the
    // full bank (question 104 of group 11 fills the Diagnostic line's room), and leaving the
    // tab puts the bank back.
    goOn([](frm_Customize* d) { d->cmdStart_Click(); });
    if (exam::ExamWindow()) exam::UnloadExamWindow();
    EXPECT_EQ(QuestionBank.size(), 5u);
    tab->lblExam_Click(1);
    want(3, {1, 0, 0});
    goOn([](frm_Customize* d) {
        EXPECT_EQ(bankIds(), (std::vector<std::int32_t>{101, 102, 104}));
        d->cmdStart_Click();
    });
    EXPECT_EQ(CurrentExam.Groups, (std::vector<std::int16_t>{11, 46, 21}));
    if (exam::ExamWindow()) exam::UnloadExamWindow();
    tab->Leave();
    EXPECT_EQ(QuestionBank.size(), fullBank.size());
    EXPECT_FALSE(QuestionBankBackup.has_value());
    EXPECT_TRUE(CustomExamTable.empty());
    tab->Leave();
    EXPECT_EQ(QuestionBank.size(), fullBank.size());
}

TEST_F(CustomTabTest, WithNothingRequestedTheDialogOffersEveryKindOnTheWholeBank) {
    goOn([](frm_Customize* d) {
        EXPECT_FALSE(QuestionBankBackup.has_value());
        EXPECT_EQ(d->Record()->Groups->size(), 7u);
        d->cmdCancel_Click();
    });
    EXPECT_EQ(QuestionBank.size(), fullBank.size());
    EXPECT_EQ(mod_Customize::SelectedTotal({{true, "1", {30000, 30000, 0}}}), 60000);
}

TEST(LevelCountBox, KeysKeepACountWithinItsMaximum) {
    LevelCountBox box(0, 2, nullptr);
    box.SetMaximum(12);
    box.SetText("7");
    box.setCursorPosition(1);
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), "0");
    EXPECT_EQ(box.selectedText(), "0");
    QTest::keyClick(&box, '7');
    EXPECT_EQ(box.text(), "7");

    box.SetText("1");
    box.setCursorPosition(1);
    QTest::keyClick(&box, '5');
    EXPECT_EQ(box.text(), "1");
    QTest::keyClick(&box, '2');
    EXPECT_EQ(box.text(), "12");

    box.SetText("0");
    box.setCursorPosition(1);
    QTest::keyClick(&box, '3');
    EXPECT_EQ(box.text(), "0");

    for (const Qt::Key key : {Qt::Key_A, Qt::Key_Minus, Qt::Key_Space, Qt::Key_Period})
        QTest::keyClick(&box, key);
    QApplication::clipboard()->setText(QStringLiteral("9"));
    box.setCursorPosition(1);
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.text(), "0");

    // Text that got in some other way is brought back at once; with the caret at the start
    // the characters go from the front.
    box.setText(QStringLiteral("0x5"));
    box.setCursorPosition(0);
    box.KeyUp();
    EXPECT_EQ(box.text(), "5");
    box.SetMaximum(0);
    box.setText(QStringLiteral("07"));
    box.setCursorPosition(0);
    box.KeyUp();
    EXPECT_EQ(box.text(), "0");
}

TEST(LevelCountBox, TheMaximumShowsOnHoverAndOnFocusOfTheBeginnerColumnOnly) {
    SystemVars.CustomizeTexts.at(6) = "Up to ";
    LevelCountBox beginner(0, 1, nullptr);
    LevelCountBox expert(0, 3, nullptr);
    for (LevelCountBox* box : {&beginner, &expert}) {
        box->SetMaximum(4);
        QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(box, &focus);
    }
    EXPECT_EQ(beginner.toolTip(), "Up to 4");
    EXPECT_TRUE(expert.toolTip().isEmpty());
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&expert, &move);
    EXPECT_EQ(expert.toolTip(), "Up to 4");
}
