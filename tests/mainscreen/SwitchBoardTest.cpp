#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <tuple>

#include "core/AppPaths.h"
#include "core/ReadOnlyTextBox.h"
#include "exam/mod_Exam.h"
#include "mainscreen/CustomTab.h"
#include "mainscreen/SwitchBoardFixture.h"
#include "mainscreen/frm_Customize.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"
#include "support/GuiTestSupport.h"

using namespace testsupport;

namespace {

using SwitchBoardTest = SwitchBoardFixture;

std::string text(const QLabel* label) {
    return platform::fromQt(label->text());
}

TEST_F(SwitchBoardTest, PracticeButtonsAreNumberedByPositionInColumnsOfFive) {
    using Groups = std::vector<std::int16_t>;
    for (const Groups& groups :
         {Groups{}, Groups{51}, Groups{51, 60, 75}, Groups(7, 51), Groups(12, 51)}) {
        PracticeGroups = groups;
        const frm_SwitchBoard& sb = Load();
        const std::size_t count = std::max<std::size_t>(groups.size(), 1);
        ASSERT_EQ(sb.opt_Practice.size(), count);
        EXPECT_TRUE(sb.opt_Practice[0]->isChecked());
        const QRect first = sb.opt_Practice[0]->geometry();
        for (std::size_t i = 0; i < count; ++i) {
            const PracticeOption& button = *sb.opt_Practice[i];
            EXPECT_EQ(platform::fromQt(button.text()), "Practice Set " + std::to_string(i + 1));
            EXPECT_EQ(button.Tag, std::to_string(51 + i));
            const QPoint step(first.width() + 7, first.height() + 7);
            EXPECT_EQ(button.geometry(), first.translated(static_cast<int>(i / 5) * step.x(),
                                                          static_cast<int>(i % 5) * step.y()))
                << "button " << i << " of " << count;
        }
    }
}

TEST_F(SwitchBoardTest, LoadCaptionsTheTabsAndSummarisesTheExamKinds) {
    for (int i = 0; i <= 7; ++i)
        SystemVars.SwitchBoardTexts.at(i) = "T" + std::to_string(i);
    for (int i = 0; i <= 2; ++i)
        SystemVars.TrialTexts.at(i) = SystemVars.FinalTexts.at(i) =
            std::vector<std::string>{"About", "Questions:", "Time: "}[static_cast<std::size_t>(i)];
    SystemVars.TimeLimitPrefix = "min";
    const frm_SwitchBoard& sb = Load();

    for (int i = 0; i <= 7; ++i)
        EXPECT_EQ(platform::fromQt(sb.SSTab1->tabText(i)), "T" + std::to_string(i));
    EXPECT_EQ(sb.txt_Objectives->text(),
              "Objectives:\n\n1. Routing\n2. Security\n3. Switching\n4. Wireless\n");
    EXPECT_EQ(text(sb.txt_Trial[1]), "Questions: 3");  // groups 11 and 46
    EXPECT_EQ(text(sb.txt_Trial[2]), "Time: 45 min");
    EXPECT_EQ(text(sb.txt_Final[1]), "Questions: 0");
    EXPECT_EQ(text(sb.txt_Final[2]), "Time: 90 min");
}

struct KindCase {
    QPushButton* frm_SwitchBoard::*button;
    std::string title;
    std::string minutes;
    std::vector<std::int16_t> groups;
    std::vector<std::int32_t> ids;
};

TEST_F(SwitchBoardTest, EveryStartButtonResetsTheExamAndBuildsItsKind) {
    frm_SwitchBoard& sb = Load();
    sb.opt_Practice[2]->setChecked(true);
    const std::vector<KindCase> kinds = {
        {&frm_SwitchBoard::Practice_Start, "Practice Set 3", "20", {53}, {8}},
        {&frm_SwitchBoard::Trial_Start, "Exam 1", "45", {11, 46}, {1, 2, 3}},
        {&frm_SwitchBoard::Diagnostic_Start, "Exam 2", "0", {21}, {4}},
        {&frm_SwitchBoard::Exhaustive_Start, "Exam 3", "60", {41}, {5}},
        // No question of group 31: the exam still starts with the id-0 placeholder.
        {&frm_SwitchBoard::Final_Start, "Exam 4", "90", {31}, {0}},
    };
    for (const KindCase& kind : kinds) {
        CurrentExam.Title = "old";
        CurrentExam.ExamDate = 45000;
        CurrentExam.IsCustom = CurrentExam.SmartMode = true;
        sb.Tag = "21";
        (sb.*kind.button)->click();

        CurrentExamRecord expected = BlankExam;
        expected.Title = kind.title;
        expected.Minutes = kind.minutes;
        expected.RemainingText = "00:00:00";
        expected.TimerOn = true;
        expected.Groups = kind.groups;
        expected.Randomize = true;
        expected.AnswerMode = 2;
        // The exam window, once open, stamps the date and fills the answer keys.
        EXPECT_NE(CurrentExam.ExamDate, 45000);
        expected.ExamDate = CurrentExam.ExamDate;
        expected.Questions = CurrentExam.Questions;
        EXPECT_EQ(CurrentExam, expected) << kind.title;
        std::vector<std::int32_t> ids;
        for (const QuestionState& state : CurrentExam.Questions.value())
            ids.push_back(state.QuestionID);
        std::sort(ids.begin(), ids.end());
        EXPECT_EQ(ids, kind.ids) << kind.title;
        EXPECT_EQ(sb.Tag, "");
        exam::UnloadExamWindow();
    }
}

TEST_F(SwitchBoardTest, CustomizeButtonsHandTheirGroupCodesToTheDialog) {
    frm_SwitchBoard& sb = Load();
    sb.opt_Practice[1]->setChecked(true);
    const std::vector<std::tuple<QPushButton*, std::string, std::int16_t>> buttons = {
        {sb.Practice_Customize, "52", 52},
        {sb.Trial_Customize, "11,46", 11},
        {sb.Diagnostic_Customize, "21", 21},
        {sb.Exhaustive_Customize, "41", 41},
        {sb.Final_Customize, "31", 31}};
    for (const auto& [button, codes, code] : buttons) {
        CurrentExam.Title = "old";
        std::int16_t shownCode = 0;
        const ModalWatcher cancel([&](QWidget* modal) {
            if (auto* dialog = qobject_cast<frm_Customize*>(modal)) shownCode = dialog->Code();
            static_cast<QDialog*>(modal)->reject();
        });
        button->click();
        EXPECT_TRUE(cancel.acted());
        EXPECT_EQ(shownCode, code);
        EXPECT_EQ(sb.Tag, codes);
        EXPECT_EQ(CurrentExam, BlankExam);
    }
}

TEST_F(SwitchBoardTest, StartAndCustomizeDoNothingWhileAnExamWindowIsOpen) {
    frm_SwitchBoard& sb = Load();
    sb.Trial_Start->click();
    ASSERT_NE(exam::ExamWindow(), nullptr);
    const CurrentExamRecord running = CurrentExam;
    const ModalWatcher noDialog([](QWidget* modal) {
        ADD_FAILURE() << "a dialog opened over the running exam";
        static_cast<QDialog*>(modal)->reject();
    });
    for (QPushButton* button : {sb.Practice_Start, sb.Final_Start, sb.Final_Customize}) {
        button->click();
        EXPECT_EQ(CurrentExam, running);
    }
}

TEST_F(SwitchBoardTest, EmptyTabsAreRefusedBackToTheExamKinds) {
    SystemVars.BookmarkTexts.at(14) = "No bookmarks";
    SystemVars.MyNotesTexts.at(14) = "No notes";
    SystemVars.PerformanceTexts.at(0) = "No history";
    frm_SwitchBoard& sb = Load();
    const auto enter = [&](int tab, const std::string& refusal) {
        sb.SSTab1->setCurrentIndex(2);
        boxes.clear();
        if (!refusal.empty()) boxes.queue(platform::kOk);
        sb.SSTab1->setCurrentIndex(tab);
        if (refusal.empty()) {
            EXPECT_EQ(sb.SSTab1->currentIndex(), tab);
            boxes.expectNone();
        } else {
            EXPECT_EQ(sb.SSTab1->currentIndex(), 0) << tab;
            ASSERT_EQ(boxes.shown().size(), 1u);
            EXPECT_EQ(boxes.shown()[0].text, refusal);
            EXPECT_EQ(boxes.shown()[0].style, platform::kInformation);
        }
    };
    enter(4, "No bookmarks");
    QuestionStatsTable.push_back({99, 0, 0, 0, true});  // not a bank question
    enter(4, "No bookmarks");
    QuestionStatsTable[1].Bookmarked = true;
    enter(4, "");

    enter(6, "No notes");
    WriteFile(AppPaths::MyNotesFolder() / "7.html", BytesOf("<p>note</p>"));
    enter(6, "");

    enter(5, "No history");
    std::filesystem::create_directories(AppPaths::PerformanceFolder());
    WriteFile(AppPaths::PerformanceFolder() / "index.dat", BytesOf("broken"));
    auto* mainWindow = new QWidget;
    mod_Forms::Register(mainWindow, "mdi_Main");
    mainWindow->show();
    sb.SSTab1->setCurrentIndex(2);
    boxes.queue(platform::kOk);  // the critical error about the broken index
    sb.SSTab1->setCurrentIndex(5);
    EXPECT_TRUE(AbortFlag);
    EXPECT_FALSE(mainWindow->isVisible());
    delete mainWindow;
}

TEST_F(SwitchBoardTest, TheCustomTabIsBuiltOnEntryAndGivesTheBankBackOnLeaving) {
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(1);
    EXPECT_EQ(sb.CustomPage->Label2[0]->text(), "8");
    const std::vector<QuestionRecord> full = QuestionBank;
    QuestionBankBackup = full;
    QuestionBank.resize(2);
    sb.SSTab1->setCurrentIndex(2);
    EXPECT_EQ(QuestionBank.size(), full.size());
    EXPECT_FALSE(QuestionBankBackup.has_value());
}

TEST_F(SwitchBoardTest, TheObjectivesBoxHandsItsFocusToTheTabs) {
    frm_SwitchBoard& sb = Load();
    sb.resize(1000, 700);
    sb.show();
    sb.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sb));
    QTest::mouseClick(sb.txt_Objectives->viewport(), Qt::LeftButton);
    EXPECT_TRUE(sb.SSTab1->hasFocus());
    EXPECT_FALSE(sb.txt_Objectives->hasFocus());
}

}  // namespace
