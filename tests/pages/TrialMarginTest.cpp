#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTextCursor>
#include <QTextEdit>

#include <chrono>
#include <functional>
#include <string>

#include "core/AppPaths.h"
#include "notes/NoteSteps.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "pages/PageTrial.h"
#include "platform/MessageBox.h"
#include "support/CraftedPictures.h"
#include "support/GuiTestSupport.h"
#include "support/Repeated.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

namespace {

using testsupport::Repeated;

constexpr std::int32_t kNote = 12;

std::string table(std::size_t rows, std::size_t columns) {
    return "<html><body><table border=1>" +
           Repeated("<tr>" + Repeated("<td>cell text</td>", columns) + "</tr>", rows) +
           "</table></body></html>";
}

struct PageForm {
    const char* what;
    std::function<std::string()> page;
    // What the user then does to it before it is saved.
    std::function<void(QTextEdit&)> edit;
};

void typeLetter(QTextEdit& box) {
    box.moveCursor(QTextCursor::End);
    testsupport::typeText(&box, QStringLiteral("z"));
}

struct TrialMarginTest : ::testing::Test {
    testsupport::TempProgramFolder folder;
    testsupport::ScriptedMessageBoxes boxes;
    page_trial::Limits limits = page_trial::CurrentLimits();

    TrialMarginTest() { page_trial::ForgetVerdicts(); }
    ~TrialMarginTest() override {
        page_trial::SetLimits(limits);
        page_trial::ForgetVerdicts();
    }

    // Loads the note into a shown editor, lays it out whole: whether it was shown.
    static bool load(NotesEditor& editor) {
        mod_MyNotes::LoadMyNotes(kNote, editor);
        (void)editor.Contents()->document()->documentLayout()->documentSize();
        QApplication::processEvents();
        return !editor.NoteUnreadable();
    }

    // The note shown, edited, saved and shown again, as the next start would.
    void roundTrip(const PageForm& form) {
        testsupport::WriteNoteFile(kNote, form.page());
        testsupport::ShownNotesEditor shown;
        ASSERT_TRUE(load(shown.editor)) << shown.text().toPlainText().left(300).toStdString();
        form.edit(shown.text());
        const QString typed = shown.text().toPlainText();
        ASSERT_TRUE(mod_MyNotes::SaveMyNotes(kNote, shown.editor));
        page_trial::ForgetVerdicts();
        testsupport::ShownNotesEditor next;
        ASSERT_TRUE(load(next.editor)) << next.text().toPlainText().left(300).toStdString();
        EXPECT_EQ(next.text().toPlainText(), typed);
    }
};

// What the user already has is held to the wider limit: a note near the budget once shown is
// edited, saved and shown again.
TEST_F(TrialMarginTest, ANoteShownIsSavedAfterAnEditAndShownAgain) {
    const PageForm forms[] = {
        {"a table of 1,000 x 6", [] { return table(1000, 6); }, typeLetter},
        {"20,000 short lines typed into a one-line note", [] { return std::string("<p>x</p>"); },
         [](QTextEdit& box) {
             box.moveCursor(QTextCursor::End);
             box.textCursor().insertText(QString::fromStdString(Repeated("\nshort line", 20'000)));
         }},
    };
    for (const PageForm& form : forms) {
        SCOPED_TRACE(form.what);
        roundTrip(form);
    }
    boxes.expectNone();
}

// Under a trial slowed past the budget of what comes in, what the user already has still shows
// and saves, while a paste into it is refused: each road takes its own budget.
TEST_F(TrialMarginTest, UnderASlowedTrialANoteStillShowsAndSavesWhileAPasteIsRefused) {
    testsupport::WriteFile(mod_MyNotes::NotePath(kNote).parent_path() / "pic.png", [] {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QByteArray bytes = testsupport::Encoded(image, "PNG");
        return formats::Bytes(bytes.begin(), bytes.end());
    }());
    // Each takes some milliseconds to lay out: a processor clock may advance in ticks.
    const PageForm forms[] = {
        {"paragraphs", [] { return "<html><body>" + Repeated("<p>a few words</p>", 4'000); },
         typeLetter},
        {"a table of 200 x 10", [] { return table(200, 10); }, typeLetter},
        {"a picture",
         [] {
             return Repeated("<p>a few words</p>", 4'000) + "<p>words <img src=\"pic.png\"></p>";
         },
         typeLetter},
    };
    page_trial::Limits slowed = limits;
    slowed.comingIn = std::chrono::microseconds(1);
    page_trial::SetLimits(slowed);
    for (const PageForm& form : forms) {
        SCOPED_TRACE(form.what);
        roundTrip(form);

        testsupport::ShownNotesEditor shown;
        ASSERT_TRUE(load(shown.editor));
        auto* data = new QMimeData;
        data->setText(QStringLiteral("pasted words"));
        QApplication::clipboard()->setMimeData(data);
        boxes.queue(platform::kOk);
        shown.text().moveCursor(QTextCursor::End);
        shown.text().paste();
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_NE(boxes.shown()[0].text.find("cannot be pasted"), std::string::npos);
        EXPECT_FALSE(shown.text().toPlainText().contains(QStringLiteral("pasted words")));
        boxes.clear();
    }
}

}  // namespace
