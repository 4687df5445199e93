#include <gtest/gtest.h>

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>

#include "core/AppPaths.h"
#include "core/ImageStore.h"
#include "core/ReadOnlyTextBox.h"
#include "mainscreen/CustomTab.h"
#include "mainscreen/SwitchBoardFixture.h"
#include "mainscreen/frm_Customize.h"
#include "platform/Look.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"
#include "support/GuiTestSupport.h"

using namespace testsupport;

namespace {

using SwitchBoardTest = SwitchBoardFixture;

std::string text(const QLabel* label) {
    return platform::fromQt(label->text());
}

TEST_F(SwitchBoardTest, PracticeButtonsRunDownColumnsOfFiveUnclippedAndApart) {
    using Groups = std::vector<std::int16_t>;
    for (const Groups& groups : {Groups{}, Groups{51, 60, 75}, Groups(12, 51)}) {
        PracticeGroups = groups;
        const frm_SwitchBoard& sb = Load();
        const std::size_t count = std::max<std::size_t>(groups.size(), 1);
        ASSERT_EQ(sb.opt_Practice.size(), count);
        EXPECT_TRUE(sb.opt_Practice[0]->isChecked());
        for (std::size_t i = 0; i < count; ++i) {
            const PracticeOption& button = *sb.opt_Practice[i];
            EXPECT_EQ(platform::fromQt(button.text()), "Practice Set " + std::to_string(i + 1));
            EXPECT_EQ(button.Tag, std::to_string(51 + i));
            const QRect shown = button.geometry();
            EXPECT_TRUE(button.parentWidget()->rect().contains(shown)) << "button " << i;
            EXPECT_GE(shown.width(), button.sizeHint().width()) << "button " << i;
            for (std::size_t other = i + 1; other < count; ++other)
                EXPECT_FALSE(shown.intersects(sb.opt_Practice[other]->geometry()))
                    << "buttons " << i << " and " << other;
            // Down a column of five, then on in the next column to the right.
            if (i % 5 != 4 && i + 1 < count) {
                EXPECT_GT(sb.opt_Practice[i + 1]->y(), shown.bottom()) << "button " << i;
            }
            if (i + 5 < count) {
                EXPECT_GT(sb.opt_Practice[i + 5]->x(), shown.right()) << "button " << i;
            }
        }
    }
}

TEST_F(SwitchBoardTest, LoadSummarisesTheObjectivesAndTheExamKinds) {
    SystemVars.TrialTexts.at(kind_text::kQuestions) =
        SystemVars.FinalTexts.at(kind_text::kQuestions) = "Questions:";
    SystemVars.TrialTexts.at(kind_text::kTimeLimit) =
        SystemVars.FinalTexts.at(kind_text::kTimeLimit) = "Time: ";
    SystemVars.TimeLimitPrefix = "min";
    frm_SwitchBoard& sb = Load();
    EXPECT_EQ(sb.txt_Objectives->text(),
              "Objectives:\n\n1. Routing\n2. Security\n3. Switching\n4. Wireless\n");
    EXPECT_EQ(text(sb.txt_Trial[1]), "Questions: 3");  // groups 11 and 46
    EXPECT_EQ(text(sb.txt_Trial[2]), "Time: 45 min");
    EXPECT_EQ(text(sb.txt_Final[1]), "Questions: 0");
    EXPECT_EQ(text(sb.txt_Final[2]), "Time: 90 min");
}

TEST_F(SwitchBoardTest, TheCustomTabShowsItsPictureAndLineOnThePanelColour) {
    const auto savedImages = ImageStore;
    ImageStore[kConfigureImageSlot] = {"main_Configure.gif",
                                       testsupport::PngBytes(QSize(20, 10), Qt::red)};
    SystemVars.SwitchBoardLabels.at(0) = "Compose your own exam.";
    frm_SwitchBoard& sb = Load();
    EXPECT_EQ(sb.CustomPage, nullptr);  // built when first shown
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kCustomTab);
    ImageStore = savedImages;
    ASSERT_NE(sb.CustomPage, nullptr);
    for (const QLabel* shown : {sb.PicLogo[0], sb.Label15}) {
        EXPECT_TRUE(sb.CustomPage->isAncestorOf(shown));
        EXPECT_TRUE(shown->isVisibleTo(sb.CustomPage));
    }
    EXPECT_EQ(sb.PicLogo[0]->pixmap().size(), QSize(20, 10));
    EXPECT_EQ(text(sb.Label15), "Compose your own exam.");
    EXPECT_TRUE(sb.CustomPage->autoFillBackground());
    EXPECT_EQ(sb.CustomPage->palette().color(sb.CustomPage->backgroundRole()),
              platform::PanelColour());
}

TEST_F(SwitchBoardTest, ATabIsBuiltWhenFirstShownWithItsHeadingAndCaptions) {
    SystemVars.SwitchBoardLabels.at(6) = "Documents to read.";
    SystemVars.SwitchBoardCaptions.at(switchboard_caption::kAboutPanel +
                                      switchboard_caption::kTitle) = "About";
    frm_SwitchBoard& sb = Load();
    sb.show();
    EXPECT_EQ(sb.Frame8, nullptr);
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kResourcesTab);
    ASSERT_NE(sb.Frame8, nullptr);
    EXPECT_EQ(text(sb.Label21), "Documents to read.");
    EXPECT_EQ(sb.Frame8->title(), QStringLiteral("About"));
    // Visible at once, without waiting for the event loop.
    for (const QWidget* shown :
         std::initializer_list<const QWidget*>{sb.PicLogo[6], sb.Label21, sb.Command16})
        EXPECT_TRUE(shown->isVisible());
    QLabel* const line = sb.Label21;
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kExamsTab);
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kResourcesTab);
    EXPECT_EQ(sb.Label21, line);  // built once
}

struct KindCase {
    QPushButton* frm_SwitchBoard::*customize;
    std::string codes;
    std::int16_t code;
    QPushButton* frm_SwitchBoard::*start;
    std::string title;
    std::string minutes;
    std::vector<std::int16_t> groups;
    std::vector<std::int32_t> ids;
};

TEST_F(SwitchBoardTest, EveryKindHandsItsCodesToCustomizeAndStartsFromAResetExam) {
    frm_SwitchBoard& sb = Load();
    sb.opt_Practice[2]->setChecked(true);
    using F = frm_SwitchBoard;
    const std::vector<KindCase> kinds = {
        {&F::Practice_Customize, "53", 53, &F::Practice_Start, "Practice Set 3", "20", {53}, {8}},
        {&F::Trial_Customize, "11,46", 11, &F::Trial_Start, "Exam 1", "45", {11, 46}, {1, 2, 3}},
        {&F::Diagnostic_Customize, "21", 21, &F::Diagnostic_Start, "Exam 2", "0", {21}, {4}},
        {&F::Exhaustive_Customize, "41", 41, &F::Exhaustive_Start, "Exam 3", "60", {41}, {5}},
        // No question of group 31: the exam still starts with the id-0 placeholder.
        {&F::Final_Customize, "31", 31, &F::Final_Start, "Exam 4", "90", {31}, {0}},
    };
    for (const KindCase& kind : kinds) {
        SCOPED_TRACE(kind.title);
        CurrentExam.Title = "old";
        std::int16_t shownCode = 0;
        {
            const ModalWatcher cancel([&](QWidget* modal) {
                if (auto* dialog = qobject_cast<frm_Customize*>(modal)) shownCode = dialog->Code();
                static_cast<QDialog*>(modal)->reject();
            });
            (sb.*kind.customize)->click();
            EXPECT_TRUE(cancel.acted());
        }
        EXPECT_EQ(shownCode, kind.code);
        EXPECT_EQ(sb.Tag, kind.codes);
        EXPECT_EQ(CurrentExam, BlankExam);

        CurrentExam.Title = "old";
        CurrentExam.ExamDate = 45000;
        CurrentExam.IsCustom = CurrentExam.SmartMode = true;
        (sb.*kind.start)->click();
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
        EXPECT_EQ(CurrentExam, expected);
        std::vector<std::int32_t> ids = ExamIds();
        std::sort(ids.begin(), ids.end());
        EXPECT_EQ(ids, kind.ids);
        EXPECT_EQ(sb.Tag, "");
        exam::UnloadExamWindow();
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
    SystemVars.BookmarkTexts.at(browser_text::kEmptyList) = "No bookmarks";
    SystemVars.MyNotesTexts.at(browser_text::kEmptyList) = "No notes";
    SystemVars.PerformanceTexts.at(performance_text::kNoHistory) = "No history";
    frm_SwitchBoard& sb = Load();
    // A box nobody expects fails the test by itself.
    const auto enter = [&](int tab, const std::string& refusal) {
        sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kSavedExamsTab);
        boxes.clear();
        if (!refusal.empty()) boxes.queue(platform::kOk);
        sb.SSTab1->setCurrentIndex(tab);
        EXPECT_EQ(sb.SSTab1->currentIndex(), refusal.empty() ? tab : 0) << tab;
        if (refusal.empty()) return;
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, refusal);
        EXPECT_EQ(boxes.shown()[0].style, platform::kInformation);
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
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kSavedExamsTab);
    boxes.queue(platform::kOk);  // the critical error about the broken index
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kPerformanceTab);
    EXPECT_TRUE(AbortFlag);
    EXPECT_FALSE(mainWindow->isVisible());
    delete mainWindow;
}

TEST_F(SwitchBoardTest, TheCustomTabIsBuiltOnEntryAndGivesTheBankBackOnLeaving) {
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kCustomTab);
    EXPECT_EQ(sb.CustomPage->Label2[0]->text(), "8");
    const std::vector<QuestionRecord> full = QuestionBank;
    QuestionBankBackup = full;
    QuestionBank.resize(2);
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kSavedExamsTab);
    EXPECT_EQ(QuestionBank.size(), full.size());
    EXPECT_FALSE(QuestionBankBackup.has_value());
}

}  // namespace
