#include <gtest/gtest.h>

#include "browsers/BrowserTexts.h"
#include "browsers/FakeBrowserView.h"
#include "browsers/QuestionBrowser.h"
#include "browsers/mod_Bookmark.h"
#include "browsers/mod_MyNotesTab.h"
#include "browsers/mod_ViewAllQuestions.h"
#include "support/TempProgramFolder.h"

namespace {

using Calls = std::vector<std::string>;
using browsers::QuestionBrowser;
using testsupport::FakeBrowserView;
using testsupport::RecordingNotes;

struct QuestionBrowserTest : ::testing::Test {
    testsupport::TempProgramFolder folder;
    FakeBrowserView view;
    RecordingNotes notes;

    void SetUp() override {
        testsupport::SetBrowserTexts();
        QuestionBank.clear();
        QuestionStatsTable.clear();
        for (std::int32_t id = 1; id <= 5; ++id) {
            QuestionBank.push_back(testsupport::BrowserQuestion(id));
            QuestionStatsTable.push_back({id, 0, 0, 0, false});
        }
    }
    void TearDown() override {
        QuestionBank.clear();
        QuestionStatsTable.clear();
    }

    QuestionBrowser Make(const browsers::BrowserTab& tab) {
        QuestionBrowser browser(tab, view);
        browser.SetNoteSlot(notes);
        return browser;
    }
    static void Bookmark(std::int32_t id, bool on = true) {
        browsers::FindQuestionStats(id)->Bookmarked = on;
    }
    static std::vector<std::int32_t> BankIds() { return mod_ViewAllQuestions::BuildQuestionList(); }
};

TEST_F(QuestionBrowserTest, ViewAllFirstVisitShowsQuestionOneAndListsEveryQuestionOnce) {
    QuestionBrowser tab = Make(mod_ViewAllQuestions::Tab());
    EXPECT_TRUE(tab.RefreshTab());
    EXPECT_EQ(view.captions.Title, "V0");
    EXPECT_EQ(view.captions.FullView, "V9");
    EXPECT_EQ(view.jumpCount, 5);
    EXPECT_EQ(view.pageCaption, "V1   (Q1 / 5)");
    EXPECT_FALSE(view.previousEnabled);
    EXPECT_TRUE(view.nextEnabled);
    EXPECT_TRUE(view.Shows(1));
    EXPECT_EQ(view.headers, (Calls{"", "H0", "H1", "H2", "H3"}));
    ASSERT_EQ(view.rows, 5u);
    EXPECT_EQ(tab.ListRow(4), (browsers::BrowserRow{5, "5", "Trial", "Beginner"}));
    EXPECT_EQ(notes.Take(), (Calls{"load 1"}));

    // Leaving and entering again keeps the position and the list page.
    tab.Next();
    EXPECT_TRUE(tab.SaveNote());
    QuestionBank.push_back(testsupport::BrowserQuestion(6));
    tab.RefreshTab();
    EXPECT_TRUE(view.Shows(2));
    EXPECT_EQ(view.listFills, 1);
    EXPECT_EQ(tab.List().size(), 5u);
    EXPECT_EQ(notes.Take(), (Calls{"save 1", "load 2", "save 2", "load 2"}));
}

TEST_F(QuestionBrowserTest, EveryMoveSavesTheNoteFirstAndTheAnswersBoxKeepsIt) {
    QuestionBrowser tab = Make(mod_ViewAllQuestions::Tab());
    tab.RefreshTab();
    notes.Take();
    tab.Next();
    EXPECT_EQ(view.jumpClears, 1);
    tab.Jump(5);
    EXPECT_EQ(view.jumpClears, 1);
    EXPECT_TRUE(view.previousEnabled);
    EXPECT_FALSE(view.nextEnabled);
    EXPECT_EQ(view.pageCaption, "V1   (Q5 / 5)");
    tab.Previous();
    EXPECT_EQ(notes.Take(), (Calls{"save 1", "load 2", "save 2", "load 5", "save 5", "load 4"}));

    const int renders = view.renders;
    tab.AnswersClicked(true);
    EXPECT_EQ(view.renders, renders + 1);
    EXPECT_NE(view.text.find("V10\r\n"), std::string::npos);
    EXPECT_TRUE(notes.Take().empty());

    // A jump past the list stays where it is.
    tab.Jump(9);
    EXPECT_TRUE(view.Shows(4));
}

TEST_F(QuestionBrowserTest, BookmarkBoxMirrorsTheFlagAndWritesItBack) {
    QuestionBrowser tab = Make(mod_ViewAllQuestions::Tab());
    Bookmark(1);
    tab.RefreshTab();
    EXPECT_EQ(view.bookmarkBox, true);
    tab.SaveBookmarkFlag(false);
    EXPECT_FALSE(browsers::FindQuestionStats(1)->Bookmarked);

    // A question without a statistics record leaves the box and ignores clicks.
    QuestionStatsTable.erase(QuestionStatsTable.begin() + 1);
    view.bookmarkBox.reset();
    tab.Next();
    EXPECT_FALSE(view.bookmarkBox.has_value());
    tab.SaveBookmarkFlag(true);
    EXPECT_EQ(std::count_if(QuestionStatsTable.begin(), QuestionStatsTable.end(),
                            [](const QuestionStats& s) { return s.Bookmarked; }),
              0);
}

TEST_F(QuestionBrowserTest, BookmarksFollowTheFlagsAtEveryRefresh) {
    Bookmark(2);
    Bookmark(4);
    QuestionBrowser tab = Make(mod_Bookmark::Tab());
    tab.RefreshTab();
    EXPECT_EQ(view.jumpCount, 2);
    EXPECT_EQ(view.text.find("\r\n\r\nA.  yes"), view.text.find("Single") + 6);
    tab.Next();
    tab.SaveBookmarkFlag(false);
    EXPECT_EQ(tab.List().size(), 2u);  // until the next refresh

    EXPECT_TRUE(tab.SaveNote());
    tab.RefreshTab();
    EXPECT_EQ(tab.List().size(), 1u);
    EXPECT_EQ(tab.Position(), 0);
    EXPECT_TRUE(view.Shows(2));
    EXPECT_EQ(view.rows, 1u);

    Bookmark(2, false);
    EXPECT_FALSE(tab.RefreshTab());
    EXPECT_EQ(view.text, "");
}

TEST_F(QuestionBrowserTest, DoubleClickShowsTheClickedQuestionOfARebuiltList) {
    for (std::int32_t id : {2, 4, 5})
        Bookmark(id);
    QuestionBrowser tab = Make(mod_Bookmark::Tab());
    tab.RefreshTab();
    notes.Take();
    Bookmark(2, false);  // unticked since the list page was filled

    EXPECT_TRUE(tab.ListDoubleClicked(3));  // the row of question 5
    EXPECT_TRUE(view.questionPage);
    EXPECT_TRUE(view.Shows(5));
    EXPECT_EQ(tab.Position(), 1);
    EXPECT_EQ(notes.Take(), (Calls{"save 2", "load 5"}));

    Bookmark(5, false);
    EXPECT_TRUE(tab.ListDoubleClicked(2));  // question 5 is gone: the first position
    EXPECT_TRUE(view.Shows(4));

    // Everything unticked: nothing is indexed, nothing shown, no note saved later.
    Bookmark(4, false);
    notes.Take();
    EXPECT_FALSE(tab.ListDoubleClicked(1));
    EXPECT_EQ(view.text, "");
    EXPECT_EQ(view.rows, 0u);
    EXPECT_FALSE(tab.Position().has_value());
    EXPECT_TRUE(tab.SaveNote());
    EXPECT_FALSE(tab.OpenFullView().has_value());
    EXPECT_EQ(notes.Take(), (Calls{"save 4"}));
}

TEST_F(QuestionBrowserTest, DoubleClickAfterSortingUsesTheRowNumber) {
    QuestionBrowser tab = Make(mod_ViewAllQuestions::Tab());
    tab.RefreshTab();
    EXPECT_TRUE(tab.ListDoubleClicked(5));
    EXPECT_EQ(tab.Position(), 4);
    EXPECT_TRUE(view.Shows(5));
    tab.ListDoubleClicked(0);  // only the question page
    EXPECT_EQ(tab.Position(), 4);
}

TEST_F(QuestionBrowserTest, MyNotesListsTheQuestionsWithANoteFile) {
    std::filesystem::create_directories(mod_MyNotesTab::NoteFile(3).parent_path());
    testsupport::WriteFile(mod_MyNotesTab::NoteFile(3), {'x'});
    testsupport::WriteFile(mod_MyNotesTab::NoteFile(5), {'x'});
    // Only a file named exactly by the note rule counts.
    const auto folder = mod_MyNotesTab::NoteFile(3).parent_path();
    testsupport::WriteFile(folder / "01.html", {'x'});
    testsupport::WriteFile(folder / "2.htm", {'x'});
    std::filesystem::create_directories(folder / "4.html");
    QuestionBrowser tab = Make(mod_MyNotesTab::Tab());
    tab.RefreshTab();
    ASSERT_EQ(tab.List().size(), 2u);
    EXPECT_EQ(tab.List()[1], 5);
    EXPECT_EQ(view.captions.Title, "N0");

    std::filesystem::remove(mod_MyNotesTab::NoteFile(3));
    std::filesystem::remove(mod_MyNotesTab::NoteFile(5));
    EXPECT_FALSE(tab.RefreshTab());
}

TEST_F(QuestionBrowserTest, RoutesBackFromTheFullView) {
    QuestionBrowser all = Make(mod_ViewAllQuestions::Tab());
    all.RefreshTab();
    const auto request = all.OpenFullView();
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->List.size(), 5u);
    EXPECT_EQ(request->Start, 0);
    notes.Take();
    EXPECT_TRUE(all.ReturnFromFullView({3, true}));
    EXPECT_TRUE(view.Shows(4));
    EXPECT_TRUE(view.answersBox);
    EXPECT_TRUE(all.ShowAnswers());
    EXPECT_EQ(notes.Take(), (Calls{"load 4"}));

    Bookmark(2);
    FakeBrowserView markedView;
    QuestionBrowser marked(mod_Bookmark::Tab(), markedView);
    marked.RefreshTab();
    Bookmark(2, false);  // cleared in the full view
    EXPECT_FALSE(marked.ReturnFromFullView({0, false}));
    EXPECT_FALSE(marked.Position().has_value());
}

TEST_F(QuestionBrowserTest, AReplacedBankShowsItsOwnQuestionOfAnIdOrNone) {
    QuestionBrowser tab = Make(mod_ViewAllQuestions::Tab());
    tab.RefreshTab();
    tab.Next();
    notes.Take();

    // A filtered copy: question 3 is gone and question 4 reads differently.
    std::vector<QuestionRecord> bank = {QuestionBank[0], QuestionBank[1], QuestionBank[3],
                                        QuestionBank[4]};
    bank[2].QuestionText = "Text 40";
    QuestionBank = std::move(bank);

    EXPECT_EQ(tab.ListRow(2), (browsers::BrowserRow{3, "3", "", ""}));
    view.bookmarkBox.reset();
    tab.Next();
    EXPECT_EQ(view.text, "");
    EXPECT_EQ(view.pageCaption, "V1   (Q3 / 5)");
    EXPECT_TRUE(view.previousEnabled && view.nextEnabled);
    EXPECT_FALSE(view.bookmarkBox.has_value());
    tab.SaveBookmarkFlag(true);
    EXPECT_FALSE(browsers::FindQuestionStats(3)->Bookmarked);
    tab.Next();
    EXPECT_TRUE(view.Shows(40));
    // The note of the question left is saved even when the question is gone; none is loaded
    // for it.
    EXPECT_EQ(notes.Take(), (Calls{"save 2", "save 3", "load 4"}));

    // A double-click on the gone question's row finds its place; the full view starts there.
    EXPECT_TRUE(tab.ListDoubleClicked(3));
    EXPECT_EQ(tab.Position(), 2);
    EXPECT_EQ(view.text, "");
    const auto request = tab.OpenFullView();
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->List, (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(request->Start, 2);

    QuestionBank.clear();
    EXPECT_TRUE(tab.ReturnFromFullView({4, false}));
    EXPECT_EQ(tab.Position(), 4);
    EXPECT_EQ(view.text, "");
    tab.Previous();
    EXPECT_EQ(view.pageCaption, "V1   (Q4 / 5)");
}

TEST_F(QuestionBrowserTest, ARepeatedIdShowsTheFirstQuestionOfTheIdAtEachOfItsPlaces) {
    QuestionRecord second = testsupport::BrowserQuestion(2);
    second.QuestionText = "Text 22";
    QuestionBank.insert(QuestionBank.begin() + 2, second);
    QuestionBrowser tab = Make(mod_ViewAllQuestions::Tab());
    tab.RefreshTab();
    EXPECT_EQ(view.jumpCount, 6);
    ASSERT_EQ(view.rows, 6u);
    EXPECT_EQ(tab.ListRow(2), (browsers::BrowserRow{2, "3", "Trial", "Beginner"}));
    tab.Jump(3);
    EXPECT_TRUE(view.Shows(2));
    EXPECT_EQ(view.pageCaption, "V1   (Q3 / 6)");
}

struct FullViewTest : QuestionBrowserTest {
    browsers::BrowserTab fullView{mod_ViewAllQuestions::Tab().Text,
                                  browsers::ChoiceLayout::kLabelInParentheses, nullptr, false,
                                  true};
};

// A note that cannot be saved holds every move: the same question stays, with its note.
TEST_F(FullViewTest, AFailedNoteSaveHoldsEveryMoveAndTheClose) {
    QuestionBrowser tab = Make(mod_ViewAllQuestions::Tab());
    tab.RefreshTab();
    tab.Next();
    notes.Take();
    notes.failing = true;
    const int renders = view.renders;
    tab.Next();
    tab.Previous();
    tab.Jump(5);
    EXPECT_TRUE(tab.ListDoubleClicked(4));
    EXPECT_TRUE(view.questionPage);
    EXPECT_FALSE(tab.OpenFullView().has_value());
    EXPECT_EQ(tab.Position(), 1);
    EXPECT_EQ(view.renders, renders);
    EXPECT_EQ(notes.Take(), Calls(5, "save 2"));

    QuestionBrowser window = Make(fullView);
    window.OpenWith({BankIds(), 2, false, false});
    EXPECT_FALSE(window.Close().has_value());
    EXPECT_EQ(window.Position(), 2);

    notes.failing = false;
    tab.Next();
    EXPECT_TRUE(view.Shows(3));
    EXPECT_EQ(window.Close()->Position, 2);
}

TEST_F(FullViewTest, ChecksTheStartAndShowsTheHeaderAndStatistics) {
    QuestionBrowser window = Make(fullView);
    QuestionStatsTable[1] = {2, 2, 1, 3, true};
    window.OpenWith({BankIds(), 1, true, true});
    EXPECT_EQ(view.jumpCount, 5);
    EXPECT_TRUE(view.answersBox);
    EXPECT_EQ(view.bookmarkBox, true);
    EXPECT_EQ(view.captions.Close, "V11");
    EXPECT_EQ(view.text.substr(0, 22), "\r\nQuestion 2 of 5\r\nExa");
    EXPECT_NE(view.text.find("Asked 3\r\nCorrect 2\r\nWrong 1\r\nUnanswered 0\r\nRate 66 %"),
              std::string::npos);
    window.Next();
    const auto result = window.Close();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Position, 2);
    EXPECT_TRUE(result->ShowAnswers);
    EXPECT_EQ(notes.Take(), (Calls{"load 2", "save 2", "load 3", "save 3"}));

    // A stale start falls back to the first question; an empty list shows none.
    window.OpenWith({BankIds(), 40, false, false});
    EXPECT_TRUE(view.Shows(1));
    EXPECT_EQ(view.text.find("Asked"), std::string::npos);
    window.OpenWith({{}, 0, false, false});
    EXPECT_EQ(view.text, "");
    EXPECT_FALSE(view.previousEnabled || view.nextEnabled);
    (void)window.Close();
    EXPECT_EQ(notes.Take(), (Calls{"load 1"}));
}

TEST_F(FullViewTest, AQuestionGoneFromTheBankShowsNoneAndKeepsItsPlace) {
    QuestionBrowser window = Make(fullView);
    window.OpenWith({{4, 77, 2}, 1, false, false});
    EXPECT_EQ(view.jumpCount, 3);
    EXPECT_EQ(view.text, "");
    EXPECT_TRUE(view.previousEnabled && view.nextEnabled);
    window.Next();
    EXPECT_EQ(view.text.substr(0, 19), "\r\nQuestion 3 of 3\r\n");
    EXPECT_TRUE(view.Shows(2));
    window.Previous();
    EXPECT_EQ(window.Close()->Position, 1);
    EXPECT_EQ(notes.Take(), (Calls{"save 77", "load 2", "save 2", "save 77"}));
}

TEST_F(FullViewTest, OneQuestionDisablesBothButtons) {
    QuestionBrowser window = Make(fullView);
    window.OpenWith({{QuestionBank[0].QuestionID}, 0, false, false});
    EXPECT_FALSE(view.previousEnabled);
    EXPECT_FALSE(view.nextEnabled);
}

}  // namespace
