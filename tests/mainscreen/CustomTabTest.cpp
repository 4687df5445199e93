#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include "exam/QuestionLookup.h"
#include "mainscreen/CountPanel.h"
#include "mainscreen/CustomExamFile.h"
#include "mainscreen/CustomTab.h"
#include "mainscreen/LevelCountBox.h"
#include "mainscreen/SwitchBoardFixture.h"
#include "mainscreen/frm_Customize.h"
#include "support/GuiTestSupport.h"

using namespace testsupport;

namespace {

std::vector<std::int32_t> bankIds() {
    std::vector<std::int32_t> ids;
    ids.reserve(QuestionBank.size());
    for (const QuestionRecord& q : QuestionBank)
        ids.push_back(q.QuestionID);
    return ids;
}

struct CustomTabTest : SwitchBoardFixture {
    std::vector<QuestionRecord> fullBank;
    std::unique_ptr<CustomTab> tab;

    void SetUp() override {
        SwitchBoardFixture::SetUp();
        const std::pair<int, const char*> names[] = {{11, "Trial"},      {51, "Practice 1"},
                                                     {52, "Practice 2"}, {21, "Diagnostic"},
                                                     {41, "Exhaustive"}, {31, "Final exam"}};
        for (const auto& [code, name] : names)
            SystemVars.GroupNames.at(code) = name;
        SystemVars.CustomizeTexts.at(customize_text::kExamSuffix) = "Exam";
        SystemVars.CustomizeTexts.at(customize_text::kUseMaximum) = "Maximum ";
        PracticeGroups = {51, 52};
        // Levels 1 but for 106 (2) and 108 (3); group 1 is not group 11.
        fullBank = {BankQuestion(100, 1, "Routing"),     BankQuestion(101, 11, "Routing"),
                    BankQuestion(102, 46, "Routing"),    BankQuestion(103, 51, "Routing"),
                    BankQuestion(104, 11, "Routing"),    BankQuestion(105, 51, "Routing"),
                    BankQuestion(106, 46, "Routing", 2), BankQuestion(107, 21, "Routing"),
                    BankQuestion(108, 52, "Routing", 3), BankQuestion(109, 51, "Routing")};
        QuestionBank = fullBank;
        ResetStats();
        QuestionBankBackup.reset();
        exam::InvalidateQuestionLookup();
        CustomExamTable.clear();
        tab = std::make_unique<CustomTab>();
        tab->Refresh();
    }

    void TearDown() override {
        tab.reset();
        QuestionBankBackup.reset();
        CustomExamTable.clear();
        SwitchBoardFixture::TearDown();
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
    EXPECT_EQ(tab->lblExam[5]->text(), "Final exam");
    EXPECT_EQ(SystemVars.GroupNames(51), "Practice 1 Exam");
    EXPECT_EQ(tab->ctrBeginner[0]->text(), "3");
    EXPECT_EQ(tab->ctrIntermediate[0]->text(), "1");
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

TEST_F(CustomTabTest, CtrlAThenADigitReplacesTheCountInEveryWindow) {
    tab->show();
    tab->lblExam_Click(0);
    frm_Customize dialog(nullptr, "11,46", CustomizeOrigin::kExamKind);
    dialog.Form_Load();
    dialog.show();
    QTest::mouseClick(dialog.chkObjectives[0], Qt::LeftButton, {},
                      QPoint(6, dialog.chkObjectives[0]->height() / 2));
    QTest::mouseClick(dialog.chkTimer, Qt::LeftButton, {},
                      QPoint(6, dialog.chkTimer->height() / 2));
    const std::pair<const char*, LevelCountBox*> boxes[] = {
        {"custom tab", tab->ctrBeginner[0]},
        {"Customize dialog", dialog.ctrBeginner[0]},
        {"Customize dialog, minutes", dialog.txtMinutes}};
    for (const auto& [where, box] : boxes) {
        SCOPED_TRACE(where);
        ASSERT_TRUE(box->isEnabled());
        box->SetText("3");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_2);
        EXPECT_EQ(box->text(), "2");
    }
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
    exam::UnloadExamWindow();
    EXPECT_EQ(QuestionBank.size(), 5u);
    tab->lblExam_Click(1);
    want(3, {1, 0, 0});
    goOn([](frm_Customize* d) {
        EXPECT_EQ(bankIds(), (std::vector<std::int32_t>{101, 102, 104}));
        d->cmdStart_Click();
    });
    EXPECT_EQ(CurrentExam.Groups, (std::vector<std::int16_t>{11, 46, 21}));
    exam::UnloadExamWindow();
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
    const auto type = [&box](const char* start, Qt::Key key, Qt::KeyboardModifiers with = {}) {
        box.SetText(start);
        box.setCursorPosition(1);
        QTest::keyClick(&box, key, with);
        return box.text();
    };
    EXPECT_EQ(type("7", Qt::Key_Backspace), "0");
    EXPECT_EQ(box.selectedText(), "0");
    QTest::keyClick(&box, '7');
    EXPECT_EQ(box.text(), "7");
    EXPECT_EQ(type("1", Qt::Key_5), "1");
    EXPECT_EQ(type("1", Qt::Key_2), "12");
    EXPECT_EQ(type("0", Qt::Key_3), "0");
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_Minus, Qt::Key_Space, Qt::Key_Period})
        EXPECT_EQ(type("0", key), "0") << key;
    QApplication::clipboard()->setText(QStringLiteral("9"));
    EXPECT_EQ(type("0", Qt::Key_V, Qt::ControlModifier), "0");

    // Text that got in some other way is brought back at once; with the caret at the start
    // the characters go from the front.
    const auto bringBack = [&box](const char* raw) {
        box.setText(QString::fromLatin1(raw));
        box.setCursorPosition(0);
        box.KeyUp();
        return box.text();
    };
    EXPECT_EQ(bringBack("0x5"), "5");
    box.SetMaximum(0);
    EXPECT_EQ(bringBack("07"), "0");
}

TEST(LevelCountBox, PastesAndDropsHoldOnlyDigitsUpToTheMaximum) {
    LevelCountBox count(0, 1, nullptr);
    count.SetMaximum(9);
    count.SetText("3");
    const auto pasted = [](LevelCountBox& box, const char* text) {
        box.selectAll();
        box.insert(QString::fromLatin1(text));  // the road of a middle-click paste or a drop
        return box.text();
    };
    EXPECT_EQ(pasted(count, "314"), "3");
    EXPECT_EQ(pasted(count, "0IP"), "3");
    EXPECT_EQ(pasted(count, "7"), "7");
    QApplication::clipboard()->setText(QStringLiteral("12"));
    count.selectAll();
    count.paste();
    EXPECT_EQ(count.text(), "7");

    LevelCountBox minutes(3, nullptr);
    minutes.SetText("45");
    EXPECT_EQ(pasted(minutes, "0IP"), "45");
    EXPECT_EQ(pasted(minutes, "1000"), "100");  // cut at the box's three digits
    EXPECT_EQ(minutes.Number(), 100);
}
