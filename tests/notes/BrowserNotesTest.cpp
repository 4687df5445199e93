#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

#include <filesystem>
#include <functional>
#include <string>

#include "browsers/FullViewSteps.h"
#include "browsers/QuestionBrowserPage.h"
#include "browsers/frm_FullView.h"
#include "core/ListView.h"
#include "mainscreen/SwitchBoardFixture.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "support/GuiTestSupport.h"

namespace {

namespace fs = std::filesystem;
using testsupport::InFullView;
using testsupport::ModalWatcher;

std::string noteFile(std::int32_t id) {
    const formats::Bytes bytes = testsupport::ReadFile(mod_MyNotes::NotePath(id));
    return {bytes.begin(), bytes.end()};
}

void typeInto(QTextEdit* editor, const QString& text) {
    editor->setFocus();
    editor->moveCursor(QTextCursor::End);
    testsupport::typeText(editor, text);
}

void empty(QTextEdit* editor) {
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
}

struct BrowserNotesTest : testsupport::SwitchBoardFixture {
    void SetUp() override {
        SwitchBoardFixture::SetUp();
        SystemVars.BookmarkTexts.at(browser_text::kEmptyList) = "No bookmarks";
        SystemVars.MyNotesTexts.at(browser_text::kEmptyList) = "No notes";
    }
};

}  // namespace

TEST_F(BrowserNotesTest, ViewAllLoadsEditsAndSavesOnEveryMove) {
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    NotesEditor& editor = *sb.ViewAllPage->NoteEditor;
    EXPECT_EQ(editor.LoadedQuestionId(), 1);
    EXPECT_FALSE(sb.MyNotes1_Contents->isReadOnly());
    EXPECT_FALSE(editor.Button(QStringLiteral("print"))->isEnabled());
    EXPECT_FALSE(editor.Button(QStringLiteral("undo"))->isEnabled());

    typeInto(sb.MyNotes1_Contents, QStringLiteral("one"));
    sb.Command7->click();
    EXPECT_NE(noteFile(1).find("one"), std::string::npos);
    EXPECT_EQ(editor.LoadedQuestionId(), 2);

    // Leaving the tab saves; coming back shows the note from its file.
    typeInto(sb.MyNotes1_Contents, QStringLiteral("two"));
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kExamsTab);
    EXPECT_NE(noteFile(2).find("two"), std::string::npos);
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    EXPECT_EQ(sb.MyNotes1_Contents->toPlainText(), QStringLiteral("two"));

    // So does closing the main screen.
    typeInto(sb.MyNotes1_Contents, QStringLiteral(" more"));
    delete board;
    EXPECT_NE(noteFile(2).find("two more"), std::string::npos);
    boxes.expectNone();
}

TEST_F(BrowserNotesTest, ARefusedTabSavesTheNoteLeftOnce) {
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    typeInto(sb.MyNotes1_Contents, QStringLiteral("kept"));
    boxes.queue(platform::kOk);
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kBookmarksTab);  // no bookmarks
    EXPECT_EQ(sb.SSTab1->currentIndex(), frm_SwitchBoard::kExamsTab);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "No bookmarks");
    EXPECT_NE(noteFile(1).find("kept"), std::string::npos);
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    EXPECT_EQ(sb.MyNotes1_Contents->toPlainText(), QStringLiteral("kept"));
}

TEST_F(BrowserNotesTest, MyNotesFollowsTheFilesAndIsRefusedWithoutOne) {
    frm_SwitchBoard& sb = Load();
    boxes.queue(platform::kOk);
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kMyNotesTab);
    EXPECT_EQ(sb.SSTab1->currentIndex(), frm_SwitchBoard::kExamsTab);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "No notes");
    boxes.clear();

    // Notes written on the view-all tab for questions 3 and 5.
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    for (int k = 0; k < 4; ++k) {
        if (k == 2 || k == 4) typeInto(sb.MyNotes1_Contents, QStringLiteral("note"));
        sb.Command7->click();
    }
    typeInto(sb.MyNotes1_Contents, QStringLiteral("note"));
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kMyNotesTab);
    ASSERT_EQ(sb.SSTab1->currentIndex(), frm_SwitchBoard::kMyNotesTab);
    EXPECT_EQ(sb.MyNotesPage->Browser().List().size(), 2u);
    EXPECT_EQ(sb.MyNotesPage->NoteEditor->LoadedQuestionId(), 3);
    EXPECT_EQ(sb.WebBrowser3->toPlainText(), QStringLiteral("note"));

    // An emptied note drops out at the next visit; with none left the tab is refused.
    empty(sb.WebBrowser3);
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kExamsTab);
    EXPECT_FALSE(fs::exists(mod_MyNotes::NotePath(3)));
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kMyNotesTab);
    EXPECT_EQ(sb.MyNotesPage->Browser().List().size(), 1u);
    EXPECT_EQ(sb.MyNotesPage->NoteEditor->LoadedQuestionId(), 5);
    empty(sb.WebBrowser3);
    boxes.queue(platform::kOk);
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kExamsTab);
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kMyNotesTab);
    EXPECT_EQ(sb.SSTab1->currentIndex(), frm_SwitchBoard::kExamsTab);
    EXPECT_FALSE(fs::exists(mod_MyNotes::NotePath(5)));
    EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(BrowserNotesTest, FullViewEditsTheNoteAndClosingOntoAnEmptiedTabKeepsNothingStale) {
    const std::string old = "<html><body><p>old</p></body></html>\r\n";
    testsupport::WriteFile(mod_MyNotes::NotePath(4), formats::Bytes(old.begin(), old.end()));
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kMyNotesTab);
    ASSERT_EQ(sb.SSTab1->currentIndex(), frm_SwitchBoard::kMyNotesTab);
    typeInto(sb.WebBrowser3, QStringLiteral(" tab"));

    // The full view opens on the saved note and keeps what is typed there.
    ModalWatcher edit(InFullView([](frm_FullView& w) {
        EXPECT_EQ(w.MyNotes1_Editor->LoadedQuestionId(), 4);
        EXPECT_EQ(w.MyNotes1_Contents->toPlainText(), QStringLiteral("old tab"));
        typeInto(w.MyNotes1_Contents, QStringLiteral(" full"));
    }));
    sb.Command11->click();
    EXPECT_TRUE(edit.acted());
    EXPECT_EQ(sb.WebBrowser3->toPlainText(), QStringLiteral("old tab full"));

    // Emptied in the full view: the main screen falls back to view all, and the my-notes
    // editor, which still holds the note, writes nothing back.
    ModalWatcher clear(InFullView([](frm_FullView& w) { empty(w.MyNotes1_Contents); }));
    sb.Command11->click();
    EXPECT_TRUE(clear.acted());
    EXPECT_EQ(sb.SSTab1->currentIndex(), frm_SwitchBoard::kViewAllTab);
    EXPECT_FALSE(fs::exists(mod_MyNotes::NotePath(4)));
    boxes.expectNone();
}
