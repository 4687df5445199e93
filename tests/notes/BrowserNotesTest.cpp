#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "browsers/FullViewSteps.h"
#include "browsers/QuestionBrowserPage.h"
#include "browsers/frm_FullView.h"
#include "core/ListView.h"
#include "mainscreen/SwitchBoardFixture.h"
#include "notes/NoteSteps.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "pages/PageJudge.h"
#include "support/FullDisk.h"
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

// A note that shows nothing (cut short by a crash or a full disk, text only in its head) is
// not the user's emptied note: looking at it and moving on leaves its file as it was.
TEST_F(BrowserNotesTest, ANoteThatShowsNothingIsKeptWhenOnlyLookedAt) {
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    typeInto(sb.MyNotes1_Contents, QStringLiteral("a note the user wrote"));
    sb.Command7->click();
    const std::string whole = noteFile(1);
    const std::string head = whole.substr(0, whole.find("a note"));

    std::vector<std::string> kept{"<html><head><title>only a title</title></head></html>",
                                  "<html><body><!-- only a comment --></body></html>"};
    for (const std::size_t cut :
         {std::size_t{0}, std::size_t{1}, std::size_t{50}, head.size() / 2, head.size()})
        kept.push_back(whole.substr(0, cut));
    for (const std::string& content : kept) {
        SCOPED_TRACE(content);
        testsupport::WriteFile(mod_MyNotes::NotePath(1),
                               formats::Bytes(content.begin(), content.end()));
        sb.Command6->click();
        ASSERT_EQ(sb.ViewAllPage->NoteEditor->LoadedQuestionId(), 1);
        EXPECT_TRUE(sb.MyNotes1_Contents->toPlainText().isEmpty());
        sb.Command7->click();
        EXPECT_EQ(noteFile(1), content);
    }

    // Emptied by the user, it goes as before.
    sb.Command6->click();
    typeInto(sb.MyNotes1_Contents, QStringLiteral("x"));
    empty(sb.MyNotes1_Contents);
    sb.Command7->click();
    EXPECT_FALSE(fs::exists(mod_MyNotes::NotePath(1)));
    boxes.expectNone();
}

TEST_F(BrowserNotesTest, AnUnreadableNoteIsShownAsSuchAndLeftAlone) {
    fs::create_directories(mod_MyNotes::NotePath(1));
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    const QString shown = sb.MyNotes1_Contents->toPlainText();
    EXPECT_TRUE(shown.contains(QStringLiteral("cannot be read"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QString::fromStdString(mod_MyNotes::NotePath(1).string())));
    EXPECT_TRUE(sb.MyNotes1_Contents->isReadOnly());
    EXPECT_FALSE(sb.ViewAllPage->NoteEditor->Button(QStringLiteral("print"))->isEnabled());
    sb.Command7->click();
    sb.Command6->click();
    EXPECT_TRUE(fs::is_directory(mod_MyNotes::NotePath(1)));
    boxes.expectNone();
}

// Each box tries a note at the width it shows at, also when hidden until then, and at the
// narrowest its window lets it take; the window at its smallest keeps it that wide, and
// resizing tries nothing.
TEST_F(BrowserNotesTest, EachBoxTriesANoteAtItsShownAndItsNarrowestWidth) {
    struct Row {
        const char* what;
        std::function<void(frm_SwitchBoard&, const std::function<void(QTextEdit&)>&)> open;
    };
    const Row rows[] = {
        {"the view-all tab",
         [](frm_SwitchBoard& sb, const std::function<void(QTextEdit&)>& check) {
             sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
             check(*sb.ViewAllPage->NotesContents);
         }},
        {"the my-notes tab",
         [](frm_SwitchBoard& sb, const std::function<void(QTextEdit&)>& check) {
             sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kMyNotesTab);
             check(*sb.MyNotesPage->NotesContents);
         }},
        {"the full view, hidden while its note loads",
         [](frm_SwitchBoard& sb, const std::function<void(QTextEdit&)>& check) {
             sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
             ModalWatcher inside(InFullView([&](frm_FullView& w) { check(*w.MyNotes1_Contents); }));
             sb.Command14->click();
             EXPECT_TRUE(inside.acted());
         }},
    };
    const std::string page = "<table><tr><td>a cell</td></tr></table>";
    testsupport::WriteFile(mod_MyNotes::NotePath(1), formats::Bytes(page.begin(), page.end()));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const testsupport::TriedWidths tried;
        frm_SwitchBoard& sb = Load();
        sb.show();
        row.open(sb, [&](QTextEdit& box) {
            QApplication::processEvents();
            EXPECT_TRUE(tried.lastTriedAsShownAndNarrowest(box)) << box.width();
            const std::size_t trials = tried.count();
            QWidget& window = *box.window();
            window.resize(window.minimumSize());
            QApplication::processEvents();
            EXPECT_GE(box.width(), box.minimumWidth());
            window.resize(window.minimumSize() + QSize(300, 100));
            QApplication::processEvents();
            EXPECT_EQ(tried.count(), trials);
        });
    }
    boxes.expectNone();
}

// A save that fails holds every move it can: the question, the tab and the full view stay,
// with the typed text still in the editor.
TEST_F(BrowserNotesTest, ANoteThatCannotBeSavedHoldsEveryMove) {
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    typeInto(sb.MyNotes1_Contents, QStringLiteral("typed"));
    for (int k = 0; k < 3; ++k)
        boxes.queue(platform::kOk);
    // Should the full view open after all, it is closed at once and the test fails.
    const ModalWatcher noFullView([](QWidget* modal) {
        ADD_FAILURE() << "opened " << modal->objectName().toStdString();
        modal->hide();
    });
    {
        const testsupport::FullDisk full;
        sb.Command7->click();
        sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kExamsTab);
        sb.Command14->click();  // the full view
    }
    EXPECT_EQ(boxes.shown().size(), 3u);
    EXPECT_NE(boxes.shown()[0].text.find("stays open"), std::string::npos);
    EXPECT_EQ(sb.SSTab1->currentIndex(), frm_SwitchBoard::kViewAllTab);
    EXPECT_EQ(sb.ViewAllPage->NoteEditor->LoadedQuestionId(), 1);
    EXPECT_EQ(sb.MyNotes1_Contents->toPlainText(), QStringLiteral("typed"));
    EXPECT_FALSE(sb.MyNotes1_Contents->isReadOnly());
    EXPECT_FALSE(fs::exists(mod_MyNotes::NotePath(1)));

    sb.Command7->click();
    EXPECT_NE(noteFile(1).find("typed"), std::string::npos);
    EXPECT_EQ(sb.ViewAllPage->NoteEditor->LoadedQuestionId(), 2);
}

TEST_F(BrowserNotesTest, TheFullViewStaysOpenWhileItsNoteCannotBeSaved) {
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    boxes.queue(platform::kOk);
    ModalWatcher edit(InFullView([](frm_FullView& w) {
        typeInto(w.MyNotes1_Contents, QStringLiteral("in full view"));
        {
            const testsupport::FullDisk full;
            w.Command14->click();
        }
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.MyNotes1_Contents->toPlainText(), QStringLiteral("in full view"));
    }));
    sb.Command14->click();
    EXPECT_TRUE(edit.acted());
    EXPECT_EQ(boxes.shown().size(), 1u);
    EXPECT_NE(noteFile(1).find("in full view"), std::string::npos);
}

// Tables one level deeper than a page may nest them (each level doubles what Qt's layout costs,
// and some thousands crash it): shown as its text alone, with the reason, and left as it is.
TEST_F(BrowserNotesTest, ANoteTooDeepToShowIsShownAsItsTextAndLeftAlone) {
    const std::size_t levels = page_judge::kPageLimits.tableDepth + 1;
    std::string deep;
    for (std::size_t k = 0; k < levels; ++k)
        deep += "<table><tr><td>";
    deep += "words kept";
    for (std::size_t k = 0; k < levels; ++k)
        deep += "</td></tr></table>";
    testsupport::WriteFile(mod_MyNotes::NotePath(1), formats::Bytes(deep.begin(), deep.end()));
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    const QString shown = sb.MyNotes1_Contents->toPlainText();
    EXPECT_FALSE(shown.contains(QStringLiteral("cannot be read"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("shown as plain text")));
    EXPECT_TRUE(shown.contains(QStringLiteral("tables inside tables more than 10 levels deep")));
    EXPECT_TRUE(shown.contains(QStringLiteral("words kept")));
    EXPECT_TRUE(sb.MyNotes1_Contents->isReadOnly());
    typeInto(sb.MyNotes1_Contents, QStringLiteral("x"));
    sb.Command7->click();
    sb.Command6->click();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kExamsTab);
    EXPECT_EQ(noteFile(1), deep);
    boxes.expectNone();
}

// What would not read back is not written: the move is held with the text.
TEST_F(BrowserNotesTest, ANoteThatWouldNotReadBackIsNotSavedAndHoldsTheMove) {
    // Qt writes a family its text inherits again on every run of one format: edited, this
    // note would be written larger than a note file may be.
    std::string runs;
    for (int k = 0; k < 60; ++k)
        runs += "<b>x</b>y";
    const std::string page = "<div style=\"font-family:'" + std::string(100'000, 'F') + "'\">" +
                             runs + "<a href=\"data:text/plain," + std::string(5'000'000, 'd') +
                             "\">link</a></div>";
    testsupport::WriteFile(mod_MyNotes::NotePath(1), formats::Bytes(page.begin(), page.end()));
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    ASSERT_FALSE(sb.ViewAllPage->NoteEditor->NoteUnreadable());
    sb.MyNotes1_Contents->moveCursor(QTextCursor::End);
    typeInto(sb.MyNotes1_Contents, QStringLiteral("ab"));
    boxes.queue(platform::kOk);
    sb.Command7->click();
    ASSERT_EQ(boxes.shown().size(), 1u);
    // Its size as saved, which its text alone is far from; the data of its link is no picture.
    const std::string said = boxes.shown()[0].text;
    const std::string start =
        "The note could not be saved:\r\n\r\nSaved with its formatting, the note would be ";
    const std::string end =
        " MB, more than the 16 MB a note may hold. Shorter text or less "
        "formatting would fit.\r\n\r\n" +
        mod_MyNotes::NotePath(1).string() + "\r\n\r\nThe note stays open with what you typed.";
    EXPECT_EQ(said.substr(0, start.size()), start) << said.substr(0, 300);
    ASSERT_GT(said.size(), end.size());
    EXPECT_EQ(said.substr(said.size() - end.size()), end) << said.substr(0, 300);
    EXPECT_EQ(sb.ViewAllPage->NoteEditor->LoadedQuestionId(), 1);
    EXPECT_FALSE(sb.MyNotes1_Contents->isReadOnly());
    EXPECT_TRUE(sb.MyNotes1_Contents->toPlainText().endsWith(QStringLiteral("ab")));
    EXPECT_EQ(noteFile(1), page);

    // Cut back to what reads back, it is saved.
    sb.MyNotes1_Contents->selectAll();
    testsupport::typeText(sb.MyNotes1_Contents, QStringLiteral("short"));
    sb.Command7->click();
    EXPECT_NE(noteFile(1).find("short"), std::string::npos);
    EXPECT_EQ(sb.ViewAllPage->NoteEditor->LoadedQuestionId(), 2);
}

// Every window whose notes editor a browser tab leads to.
struct NoteHost {
    const char* name;
    int tab;
    QuestionBrowserPage* frm_SwitchBoard::*page;
    bool fullView;
};
constexpr NoteHost kNoteHosts[] = {
    {"view all", frm_SwitchBoard::kViewAllTab, &frm_SwitchBoard::ViewAllPage, false},
    {"bookmarks", frm_SwitchBoard::kBookmarksTab, &frm_SwitchBoard::BookmarkPage, false},
    {"my notes", frm_SwitchBoard::kMyNotesTab, &frm_SwitchBoard::MyNotesPage, false},
    {"full view", frm_SwitchBoard::kViewAllTab, &frm_SwitchBoard::ViewAllPage, true},
};

// Notes 1 and 2 written, the host's tab shown, and `act` run on its editor and next button.
void inEveryHost(BrowserNotesTest& test,
                 const std::function<void(NotesEditor&, QPushButton*)>& act) {
    QuestionStatsTable[0].Bookmarked = QuestionStatsTable[1].Bookmarked = true;
    for (const NoteHost& host : kNoteHosts) {
        SCOPED_TRACE(host.name);
        for (const std::int32_t id : {1, 2}) {
            const std::string note = "<p>note " + std::to_string(id) + "</p>";
            testsupport::WriteFile(mod_MyNotes::NotePath(id),
                                   formats::Bytes(note.begin(), note.end()));
        }
        frm_SwitchBoard& sb = test.Load();
        sb.SSTab1->setCurrentIndex(host.tab);
        ASSERT_EQ(sb.SSTab1->currentIndex(), host.tab);
        QuestionBrowserPage& page = *(sb.*host.page);
        if (host.fullView) {
            ModalWatcher inside(
                InFullView([&](frm_FullView& w) { act(*w.MyNotes1_Editor, w.Command7); }));
            page.FullViewButton->click();
            EXPECT_TRUE(inside.acted());
        } else {
            act(*page.NoteEditor, page.NextButton);
        }
    }
}

// Typed text still selected when the user moves on: the next note comes in with the toolbar
// of its own page, on each tab and in the full view.
TEST_F(BrowserNotesTest, MovingOnWithTypedTextSelectedShowsTheNextNote) {
    inEveryHost(*this, [](NotesEditor& editor, QPushButton* next) {
        testsupport::typeAndSelectLine(editor.Contents(), QStringLiteral(" hello note"));
        ASSERT_TRUE(editor.Contents()->textCursor().hasSelection());
        next->click();
        EXPECT_EQ(editor.LoadedQuestionId(), 2);
        EXPECT_EQ(editor.Contents()->toPlainText(), QStringLiteral("note 2"));
        EXPECT_FALSE(editor.Contents()->isReadOnly());
        EXPECT_TRUE(editor.Button(QStringLiteral("print"))->isEnabled());
        EXPECT_FALSE(editor.Button(QStringLiteral("undo"))->isEnabled());
        for (const char* key : {"left", "center", "right", "bullet"})
            EXPECT_FALSE(editor.Button(QLatin1String(key))->isChecked()) << key;
        EXPECT_NE(noteFile(1).find("note 1 hello note"), std::string::npos);
    });
    boxes.expectNone();
}

// Old web pages nest their tables deep: such a paste leaves the note as it was, in every
// window, and says why.
TEST_F(BrowserNotesTest, APasteTooDeepToShowLeavesEveryHostsNoteAsItWas) {
    inEveryHost(*this, [this](NotesEditor& editor, QPushButton*) {
        testsupport::putNestedTablesOnClipboard(17);
        boxes.queue(platform::kNo);
        editor.Contents()->setFocus();
        editor.Contents()->paste();
        EXPECT_EQ(editor.Contents()->toPlainText(), QStringLiteral("note 1"));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(
            boxes.shown()[0].text,
            "This cannot be pasted into the note:\r\n\r\nWhat you pasted has tables inside tables "
            "more than 10 levels deep. Fewer tables inside one another would fit.\r\n\r\nPaste "
            "its text alone, without its formatting?");
        boxes.clear();
    });
}
