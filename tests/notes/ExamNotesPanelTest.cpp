#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "core/mod_ComboBox.h"
#include "exam/ExamWindowFixture.h"
#include "exam/mod_MyCurrentExam.h"
#include "notes/NoteSteps.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "platform/MessageBox.h"
#include "support/FullDisk.h"
#include "support/GuiTestSupport.h"

namespace {

namespace fs = std::filesystem;

struct ExamNotesPanelTest : examtest::ExamWindowFixture {
    // Runs a slide of the panel (0 opening, 1 closing) to its end; one that never ends fails.
    void slide(int timer) {
        for (int step = 0; step < 1000 && window->Timer3[timer]->isActive(); ++step)
            window->Timer3_Timer(timer);
        EXPECT_FALSE(window->Timer3[timer]->isActive()) << "the panel is still sliding";
    }
    void openPanel() {
        window->button_notes_Click();
        slide(0);
    }
    void closePanel() {
        window->button_notes_Click();
        slide(1);
    }
    void type(const QString& text) {
        window->MyNotes_Contents->setFocus();
        window->MyNotes_Contents->moveCursor(QTextCursor::End);
        testsupport::typeText(window->MyNotes_Contents, text);
    }
    QString shownNote() const { return window->MyNotes_Contents->toPlainText(); }
    static std::string fileOf(std::int32_t id) {
        const formats::Bytes bytes = testsupport::ReadFile(mod_MyNotes::NotePath(id));
        return {bytes.begin(), bytes.end()};
    }
};

}  // namespace

TEST_F(ExamNotesPanelTest, OpeningLoadsMovingSavesAndLoadsClosingSaves) {
    ASSERT_TRUE(open());
    EXPECT_TRUE(window->MyNotes_Contents->isReadOnly());  // blank until opened
    openPanel();
    EXPECT_EQ(window->MyNotes_Editor->LoadedQuestionId(), 11);
    EXPECT_TRUE(shownNote().isEmpty());
    type(QStringLiteral("first"));

    window->Choices_Next_Click(0);
    EXPECT_NE(fileOf(11).find("first"), std::string::npos);
    EXPECT_EQ(window->MyNotes_Editor->LoadedQuestionId(), 12);
    EXPECT_FALSE(window->MyNotes_Contents->isReadOnly());
    type(QStringLiteral("second"));

    closePanel();
    EXPECT_NE(fileOf(12).find("second"), std::string::npos);
    EXPECT_TRUE(window->MyNotes->isHidden());

    // Reopened on the same question: the note comes back from its file.
    openPanel();
    EXPECT_EQ(shownNote(), QStringLiteral("second"));
    // Emptied and closed: the file goes.
    window->MyNotes_Contents->selectAll();
    QTest::keyClick(window->MyNotes_Contents, Qt::Key_Delete);
    closePanel();
    EXPECT_FALSE(fs::exists(mod_MyNotes::NotePath(12)));
    boxes.expectNone();
}

// The panel is closed while its note loads: the note is tried at the width the open panel
// shows it at, and at the narrowest the panel lets the box take.
TEST_F(ExamNotesPanelTest, TheClosedPanelTriesItsNoteAtTheWidthItShowsAt) {
    const std::string page = "<table><tr><td>a cell</td></tr></table>";
    testsupport::WriteFile(mod_MyNotes::NotePath(11), formats::Bytes(page.begin(), page.end()));
    ASSERT_TRUE(open());
    const testsupport::TriedWidths tried;
    openPanel();
    QApplication::processEvents();
    EXPECT_EQ(tried.count(), 1u);
    EXPECT_TRUE(tried.lastTriedAsShownAndNarrowest(*window->MyNotes_Contents))
        << window->MyNotes_Contents->width();
    EXPECT_GE(window->MyNotes_Contents->width(), window->MyNotes_Contents->minimumWidth());
}

TEST_F(ExamNotesPanelTest, WhileHiddenMovingNeitherSavesNorLoads) {
    ASSERT_TRUE(open());
    openPanel();
    type(QStringLiteral("kept"));
    closePanel();
    const std::string saved = fileOf(11);

    window->Choices_Next_Click(0);
    window->Choices_Next_Click(0);
    EXPECT_EQ(window->MyNotes_Editor->LoadedQuestionId(), 11);
    EXPECT_EQ(fileOf(11), saved);
    EXPECT_FALSE(fs::exists(mod_MyNotes::NotePath(12)));
    EXPECT_FALSE(fs::exists(mod_MyNotes::NotePath(13)));
}

TEST_F(ExamNotesPanelTest, UnloadSavesOnlyAnOpenPanel) {
    ASSERT_TRUE(open());
    openPanel();
    type(QStringLiteral("at unload"));
    exam::UnloadExamWindow();
    EXPECT_NE(fileOf(11).find("at unload"), std::string::npos);

    ASSERT_TRUE(open());
    openPanel();
    window->MyNotes_Contents->selectAll();
    QTest::keyClick(window->MyNotes_Contents, Qt::Key_Delete);
    window->MyNotes->hide();  // closed without a save of its own
    exam::UnloadExamWindow();
    EXPECT_TRUE(fs::exists(mod_MyNotes::NotePath(11)));
}

TEST_F(ExamNotesPanelTest, AnExamWithoutAQuestionLoadsAndSavesNothing) {
    CurrentExam = BlankExam;
    CurrentExam.Title = "Empty";
    CurrentExam.Minutes = "10";
    CurrentExam.RemainingText = "00:00:00";
    CurrentExam.TimerOn = true;
    CurrentExam.Groups = std::vector<std::int16_t>{77};
    mod_Exam::BuildExamQuestions();
    ASSERT_TRUE(load(exam::ExamOpening::kNew));
    ASSERT_TRUE(window->RichTextBox1Tag.empty());
    openPanel();
    EXPECT_FALSE(window->MyNotes_Editor->LoadedQuestionId());
    EXPECT_TRUE(window->MyNotes_Contents->isReadOnly());
    closePanel();
    exam::UnloadExamWindow();
    EXPECT_FALSE(fs::exists(mod_MyNotes::NotePath(0).parent_path()));
}

TEST_F(ExamNotesPanelTest, ANoteThatCannotBeSavedHoldsTheMoveAndThePanel) {
    ASSERT_TRUE(open());
    openPanel();
    type(QStringLiteral("typed on a full disk"));
    boxes.queue(platform::kOk);
    boxes.queue(platform::kOk);
    {
        const testsupport::FullDisk full;
        window->Choices_Next_Click(0);
        window->button_notes_Click();
    }
    EXPECT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(CurrentQuestionIndex, 0);
    EXPECT_EQ(window->RichTextBox1Tag, "11");
    EXPECT_FALSE(window->Timer3[1]->isActive());
    EXPECT_FALSE(window->MyNotes->isHidden());
    EXPECT_EQ(shownNote(), QStringLiteral("typed on a full disk"));
    EXPECT_FALSE(window->MyNotes_Contents->isReadOnly());
    EXPECT_FALSE(fs::exists(mod_MyNotes::NotePath(11)));

    // Space freed: the same move now saves and goes on.
    window->Choices_Next_Click(0);
    EXPECT_NE(fileOf(11).find("typed on a full disk"), std::string::npos);
    EXPECT_EQ(CurrentQuestionIndex, 1);
}

// A save that fails on a later question holds every move there; the next good move goes on
// from that question.
TEST_F(ExamNotesPanelTest, AFailedSaveHoldsTheExamOnALaterQuestion) {
    struct Move {
        const char* name;
        std::function<void(frm_Exam&)> act;
        int jumpEntry;  // what the jump list shows while the move is held
    };
    const Move moves[] = {
        {"next", [](frm_Exam& w) { w.Choices_Next_Click(0); }, -1},
        {"previous", [](frm_Exam& w) { w.Choices_Previous_Click(0); }, -1},
        {"jump",
         [](frm_Exam& w) {
             QTest::keyClick(w.Choices_Jump, Qt::Key_A, Qt::ControlModifier);
             QTest::keyClicks(w.Choices_Jump, "4");
         },
         2},
    };
    for (const Move& move : moves) {
        SCOPED_TRACE(move.name);
        ASSERT_TRUE(open());
        window->Choices_Next_Click(0);
        window->Choices_Next_Click(0);
        openPanel();
        type(QStringLiteral("typed on a full disk"));
        boxes.queue(platform::kOk);
        {
            const testsupport::FullDisk full;
            move.act(*window);
        }
        EXPECT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(CurrentQuestionIndex, 2);
        EXPECT_EQ(window->RichTextBox1Tag, "13");
        EXPECT_EQ(window->SSTab2->tabText(frm_Exam::kQuestionTab),
                  QStringLiteral("Question 3 / 4"));
        EXPECT_EQ(window->Choices_Jump->currentIndex(), move.jumpEntry);
        EXPECT_EQ(shownNote(), QStringLiteral("typed on a full disk"));

        window->Choices_Next_Click(0);
        EXPECT_EQ(CurrentQuestionIndex, 3);
        EXPECT_EQ(window->RichTextBox1Tag, "14");
        EXPECT_NE(fileOf(13).find("typed on a full disk"), std::string::npos);
        exam::UnloadExamWindow();
        fs::remove(mod_MyNotes::NotePath(13));
        boxes.clear();
    }
}

// Typed text still selected when the user moves on: the next question's note comes in,
// whether the panel stayed open or was closed before the move and opened after it.
TEST_F(ExamNotesPanelTest, MovingOnWithTypedTextSelectedShowsTheNextNote) {
    const std::pair<const char*, std::function<void(ExamNotesPanelTest&)>> ways[] = {
        {"panel open", [](ExamNotesPanelTest& t) { t.window->Choices_Next_Click(0); }},
        {"panel closed",
         [](ExamNotesPanelTest& t) {
             t.closePanel();
             t.window->Choices_Next_Click(0);
             t.openPanel();
         }},
    };
    for (const auto& [name, moveOn] : ways) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(open());
        openPanel();
        testsupport::typeAndSelectLine(window->MyNotes_Contents, QStringLiteral("hello note"));
        ASSERT_TRUE(window->MyNotes_Contents->textCursor().hasSelection());
        moveOn(*this);
        EXPECT_EQ(CurrentQuestionIndex, 1);
        EXPECT_EQ(window->MyNotes_Editor->LoadedQuestionId(), 12);
        EXPECT_TRUE(shownNote().isEmpty());
        EXPECT_FALSE(window->MyNotes_Contents->isReadOnly());
        EXPECT_NE(fileOf(11).find("hello note"), std::string::npos);
        exam::UnloadExamWindow();
        fs::remove(mod_MyNotes::NotePath(11));
    }
    boxes.expectNone();
}

// The exam window's editor judges a paste as every other one does: the note stays as it was.
TEST_F(ExamNotesPanelTest, APasteTooDeepToShowLeavesTheNoteAsItWas) {
    ASSERT_TRUE(open());
    openPanel();
    type(QStringLiteral("mine"));
    testsupport::putNestedTablesOnClipboard(17);
    boxes.queue(platform::kNo);
    window->MyNotes_Contents->paste();
    EXPECT_EQ(shownNote(), QStringLiteral("mine"));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(
        boxes.shown()[0].text,
        "This cannot be pasted into the note:\r\n\r\nWhat you pasted has tables inside tables "
        "more than 10 levels deep. Fewer tables inside one another would fit.\r\n\r\nPaste "
        "its text alone, without its formatting?");
}
