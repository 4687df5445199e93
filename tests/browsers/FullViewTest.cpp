#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTextEdit>

#include <algorithm>
#include <functional>
#include <utility>

#include "browsers/FakeBrowserView.h"
#include "browsers/FullViewSteps.h"
#include "browsers/QuestionBrowserPage.h"
#include "browsers/frm_FullView.h"
#include "browsers/frm_Viewer.h"
#include "browsers/mod_ViewAllQuestions.h"
#include "core/ListView.h"
#include "core/mod_ComboBox.h"
#include "core/mod_ListViewSort.h"
#include "evaluation/mod_PerformanceTab.h"
#include "exam/frm_Exam.h"
#include "mainscreen/SwitchBoardFixture.h"
#include "support/GuiTestSupport.h"

namespace {

using testsupport::InFullView;
using testsupport::ModalWatcher;
using testsupport::RecordingNotes;

std::string shown(const QTextEdit* box) {
    return box->toPlainText().toStdString();
}

struct FullViewWindowTest : testsupport::SwitchBoardFixture {
    void SetUp() override {
        SwitchBoardFixture::SetUp();
        SystemVars.ViewAllTexts.at(browser_text::kQuestion) = "Question";
        SystemVars.ViewAllTexts.at(browser_text::kOf) = " of ";
        SystemVars.Copyright = "(c) us";
    }
};

TEST_F(FullViewWindowTest, EveryWayOutUnloadsOnceAndSavesTheNote) {
    for (const auto& leave : std::vector<std::function<void(frm_FullView&)>>{
             [](frm_FullView& w) { w.Command14->click(); },
             [](frm_FullView& w) { QTest::keyClick(&w, Qt::Key_Escape); },
             [](frm_FullView& w) { w.close(); }}) {
        frm_FullView window;
        RecordingNotes notes;
        window.Browser().SetNoteSlot(notes);
        window.Form_Load({mod_ViewAllQuestions::BuildQuestionList(), 2, false, false});
        window.show();
        EXPECT_EQ(window.windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
        EXPECT_EQ(window.StatusBar1->text(), QStringLiteral("(c) us"));
        EXPECT_EQ(shown(window.RichTextBox1).substr(0, 17), "\nQuestion 3 of 8\n");
        window.Command7->click();
        leave(window);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.Result().Position, 3);
        window.close();
        EXPECT_EQ(notes.calls, (std::vector<std::string>{"load 3", "save 3", "load 4", "save 4"}));
    }
}

TEST_F(FullViewWindowTest, EnterJumpsOrTicksAndOnlyTheCloseButtonEndsTheWindow) {
    frm_FullView window;
    RecordingNotes notes;
    window.Browser().SetNoteSlot(notes);
    window.Form_Load({mod_ViewAllQuestions::BuildQuestionList(), 0, false, false});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    window.Combo1->setFocus();
    QTest::keyClick(window.Combo1, Qt::Key_5);
    QTest::keyClick(window.Combo1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(window.Combo1, Qt::Key_3);
    QTest::keyClick(window.Combo1, Qt::Key_Return);
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(shown(window.RichTextBox1).substr(0, 17), "\nQuestion 3 of 8\n");
    EXPECT_EQ(window.Combo1->currentText(), "3");

    window.Check1->setFocus();
    QTest::keyClick(window.Check1, Qt::Key_Enter);
    ASSERT_TRUE(window.isVisible());

    window.Command14->setFocus();
    QTest::keyClick(window.Command14, Qt::Key_Return);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.Result().Position, 2);
}

void expectHandleAtTheTop(QTextEdit* box) {
    testsupport::ExpectScrollHandleAtTheTop(*box->verticalScrollBar());
}

// About three boxes' heights of text, shown from its top.
void fillThreePages(QTextEdit* box) {
    const int lines = 3 * box->viewport()->height() / box->fontMetrics().lineSpacing();
    QString text;
    for (int k = 0; k < lines; ++k)
        text += QStringLiteral("line %1\n").arg(k);
    box->setPlainText(text);
    QApplication::processEvents();
}

// Shows `window` and checks the handle of `box` over a long text.
void expectHandleAtTheTopOf(QWidget& window, QTextEdit* box) {
    window.resize(900, 640);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    fillThreePages(box);
    expectHandleAtTheTop(box);
}

TEST_F(FullViewWindowTest, EveryQuestionAndDocumentBoxDrawsItsHandleWhereTheTextIs) {
    frm_SwitchBoard& sb = Load();
    const std::pair<const char*, std::function<void()>> boxes[] = {
        {"view-all tab",
         [&] {
             sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
             expectHandleAtTheTopOf(sb, sb.RichTextBox1);
         }},
        {"full view",
         [&] {
             const ModalWatcher watcher(InFullView([](frm_FullView& w) {
                 ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
                 fillThreePages(w.RichTextBox1);
                 expectHandleAtTheTop(w.RichTextBox1);
             }));
             sb.Command14->click();
             EXPECT_TRUE(watcher.acted());
         }},
        {"exam window, question",
         [] {
             frm_Exam window;
             expectHandleAtTheTopOf(window, window.RichTextBox1);
         }},
        {"exam window, explanation",
         [] {
             frm_Exam window;
             window.SSTab2->setCurrentIndex(1);
             expectHandleAtTheTopOf(window, window.RichTextBox2);
         }},
        {"document viewer",
         [] {
             frm_Viewer window;
             expectHandleAtTheTopOf(window, window.WebBrowser1);
         }},
    };
    for (const auto& [where, check] : boxes) {
        SCOPED_TRACE(where);
        check();
    }
}

TEST_F(FullViewWindowTest, OpenedFromViewAllItReturnsWhereTheUserLeft) {
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    sb.Combo1->setCurrentIndex(2);
    emit sb.Combo1->textActivated(QStringLiteral("3"));
    ModalWatcher watcher(InFullView([](frm_FullView& w) {
        EXPECT_EQ(shown(w.RichTextBox1).substr(0, 17), "\nQuestion 3 of 8\n");
        for (int k = 0; k < 4; ++k)
            w.Command7->click();
        w.Check1->click();
    }));
    sb.Command14->click();
    EXPECT_TRUE(watcher.acted());
    EXPECT_NE(shown(sb.RichTextBox1).find("\nQuestion 7\n"), std::string::npos);
    EXPECT_TRUE(sb.Check1->isChecked());
    EXPECT_EQ(sb.SSTab1->currentIndex(), frm_SwitchBoard::kViewAllTab);
}

TEST_F(FullViewWindowTest, ClearingTheOnlyBookmarkThereLandsOnViewAll) {
    QuestionStatsTable[5].Bookmarked = true;
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kBookmarksTab);
    ModalWatcher watcher(InFullView([](frm_FullView& w) {
        EXPECT_TRUE(w.Check2->isChecked());
        EXPECT_FALSE(w.Command6->isEnabled() || w.Command7->isEnabled());
        w.Check2->click();
        w.Check1->click();
    }));
    sb.Command8->click();
    EXPECT_TRUE(watcher.acted());
    EXPECT_FALSE(QuestionStatsTable[5].Bookmarked);
    // The view-all page's controls exist only once that tab is built.
    ASSERT_EQ(sb.SSTab1->currentIndex(), frm_SwitchBoard::kViewAllTab);
    EXPECT_TRUE(sb.Check1->isChecked());
    EXPECT_NE(shown(sb.RichTextBox1).find("\nQuestion 1\n"), std::string::npos);
}

TEST_F(FullViewWindowTest, BookmarksTabKeepsItsPlaceAndTakesTheAnswersBox) {
    QuestionStatsTable[1].Bookmarked = true;
    QuestionStatsTable[5].Bookmarked = true;
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kBookmarksTab);
    sb.Command9->click();
    ModalWatcher watcher(InFullView([](frm_FullView& w) { w.Check1->click(); }));
    sb.Command8->click();
    EXPECT_EQ(sb.SSTab1->currentIndex(), frm_SwitchBoard::kBookmarksTab);
    EXPECT_TRUE(sb.Check4->isChecked());
    EXPECT_NE(shown(sb.RichTextBox2).find("\nQuestion 6\n"), std::string::npos);
}

}  // namespace

namespace {

struct PerformanceOpenersTest : FullViewWindowTest {
    void SetUp() override {
        FullViewWindowTest::SetUp();
        for (const auto& [k, word] : std::vector<std::pair<int, std::string>>{{13, "Asked "},
                                                                              {14, "Correct "},
                                                                              {15, "Wrong "},
                                                                              {16, "Unanswered "},
                                                                              {17, "Rate "}})
            SystemVars.PerformanceTexts.at(k) = word;
        SystemVars.PerformanceTexts.at(performance_text::kTitle) =
            "Performance";  // the tab's set-up marker
    }
    static void DoubleClick(ListView* list, int row) {
        list->setCurrentRow(row);
        emit list->rowDoubleClicked(row);
    }
};

TEST_F(PerformanceOpenersTest, AnObjectiveOpensItsQuestionsWithTheirStatistics) {
    QuestionStatsTable[0] = {1, 29, 20, 50, false};
    frm_SwitchBoard& sb = Load();
    sb.BuildTab(frm_SwitchBoard::kPerformanceTab);
    mod_PerformanceTab::InitPerformanceTab(sb);
    mod_PerformanceTab::FillObjectiveList(sb);
    ModalWatcher watcher(InFullView([](frm_FullView& w) {
        const std::string text = shown(w.RichTextBox1);
        EXPECT_EQ(text.substr(0, 17), "\nQuestion 1 of 3\n");
        EXPECT_NE(text.find("\nAsked 50\nCorrect 29\nWrong 20\nUnanswered 1\nRate 57 %\n"),
                  std::string::npos);
        w.Command7->click();
        EXPECT_NE(
            shown(w.RichTextBox1).find("\nAsked 0\nCorrect 0\nWrong 0\nUnanswered 0\nRate  - \n"),
            std::string::npos);
        EXPECT_NE(shown(w.RichTextBox1).find("\nQuestion 3\n"), std::string::npos);
    }));
    DoubleClick(sb.ListView8, 0);  // Routing: questions 1, 3 and 6
    EXPECT_TRUE(watcher.acted());
}

TEST_F(PerformanceOpenersTest, AQuestionRowOpensTheWholeBankAtThatQuestionAfterSorting) {
    QuestionBank[3].QuestionText = "A first by text";
    frm_SwitchBoard& sb = Load();
    sb.BuildTab(frm_SwitchBoard::kPerformanceTab);
    mod_PerformanceTab::InitPerformanceTab(sb);
    mod_PerformanceTab::FillQuestionStatsList(sb);
    mod_ListViewSort::SortListViewColumn(*sb.ListView9, 7);  // by question text
    const int row = 0;
    ASSERT_EQ(sb.ListView9->text(row, 0), "4");
    ModalWatcher watcher(InFullView([](frm_FullView& w) {
        const std::string text = shown(w.RichTextBox1);
        EXPECT_EQ(text.substr(0, 17), "\nQuestion 4 of 8\n");
        EXPECT_NE(text.find("\nAsked 0\n"), std::string::npos);
    }));
    DoubleClick(sb.ListView9, row);
    EXPECT_TRUE(watcher.acted());
}

}  // namespace
