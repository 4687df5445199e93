#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextCursor>
#include <QTextEdit>

#include <cstring>
#include <string>

#include "core/AppPaths.h"
#include "notes/NoteSteps.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "pages/PageTrial.h"
#include "pages/PageVerdicts.h"
#include "support/GuiTestSupport.h"
#include "support/Repeated.h"
#include "support/TempProgramFolder.h"

namespace {

using page_verdicts::Digest;

constexpr std::int32_t kNote = 14;

Digest digestOf(std::size_t k) {
    return page_verdicts::DigestOf("request " + std::to_string(k));
}

std::string fileText(const std::filesystem::path& path) {
    const formats::Bytes bytes = testsupport::ReadFile(path);
    return {bytes.begin(), bytes.end()};
}

struct PageVerdictsTest : ::testing::Test {
    testsupport::TempProgramFolder folder;

    PageVerdictsTest() { page_trial::ForgetVerdicts(); }
    ~PageVerdictsTest() override { page_trial::ForgetVerdicts(); }

    // Loads the note into a shown editor, as a new run would: how many trials that started.
    static std::size_t trialsToShow() {
        page_trial::ForgetVerdicts();
        const std::size_t before = page_trial::TrialsStarted();
        testsupport::ShownNotesEditor shown;
        mod_MyNotes::LoadMyNotes(kNote, shown.editor);
        (void)shown.text().document()->documentLayout()->documentSize();
        EXPECT_FALSE(shown.editor.NoteUnreadable());
        return page_trial::TrialsStarted() - before;
    }
    // The note shown, a letter typed and saved.
    static void typeAndSave() {
        testsupport::ShownNotesEditor shown;
        mod_MyNotes::LoadMyNotes(kNote, shown.editor);
        shown.text().moveCursor(QTextCursor::End);
        testsupport::typeText(&shown.text(), QStringLiteral("z"));
        ASSERT_TRUE(mod_MyNotes::SaveMyNotes(kNote, shown.editor));
    }
};

// A note the program saved shows without a trial in the next runs; a note it only showed, or
// whose verdicts' file is damaged, is tried again, and the next save writes a sound file.
TEST_F(PageVerdictsTest, ANoteTheProgramSavedShowsWithoutATrialInTheNextRuns) {
    const auto file = page_verdicts::VerdictFile();
    EXPECT_NE(file.parent_path(), AppPaths::MyNotesFolder());
    struct Row {
        const char* what;
        const char* verdicts;  // nullptr: as the save left it
        std::size_t trials;
    };
    const Row rows[] = {
        {"as saved", nullptr, 0},
        {"no file", "", 1},
        {"not ours", "garbage", 1},
        {"cut short", "page-verdicts 1\n1:1", 1},
        {"more than it may hold", "page-verdicts 1\n5:99999", 1},
        {"a digest of another length", "page-verdicts 1\n1:13:abc1:0", 1},
    };
    testsupport::WriteNoteFile(kNote, "<p>" + testsupport::Repeated("a few words ", 40) + "</p>");
    EXPECT_EQ(trialsToShow(), 1u);
    EXPECT_EQ(trialsToShow(), 1u);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        typeAndSave();
        if (row.verdicts) {
            if (*row.verdicts)
                testsupport::WriteFile(
                    file, formats::Bytes(row.verdicts, row.verdicts + std::strlen(row.verdicts)));
            else
                std::filesystem::remove(file);
        }
        EXPECT_EQ(trialsToShow(), row.trials);
    }
    typeAndSave();
    EXPECT_EQ(trialsToShow(), 0u);
}

// The file keeps the newest acceptances of what the program wrote, within its bounds; nothing
// else reaches it.
TEST_F(PageVerdictsTest, TheFileKeepsOnlyTheNewestAcceptancesOfWhatWasWritten) {
    const std::size_t written = page_verdicts::kKeptOnDisk + 20;
    for (std::size_t k = 0; k < written; ++k)
        page_verdicts::Keep(digestOf(k), {}, true);
    page_verdicts::Verdict manyPictures;
    manyPictures.pictures.assign(page_verdicts::kPicturesOnDisk + 1,
                                 page_verdicts::StateOf("/nonexistent", false));
    page_verdicts::Keep(digestOf(written), manyPictures, true);
    page_verdicts::Keep(digestOf(written + 1),
                        {page_refusals::Refusal(page_refusals::Cause::kTooSlow, 2'000'000), {}},
                        true);
    page_verdicts::Keep(digestOf(written + 2), {}, false);
    for (std::size_t k = written; k < written + 3; ++k)
        EXPECT_TRUE(page_verdicts::Find(digestOf(k))) << k;

    page_trial::ForgetVerdicts();
    struct Row {
        std::size_t k;
        bool found;
    };
    const Row rows[] = {
        {0, false},       {19, false},          {20, true},           {written - 1, true},
        {written, false}, {written + 1, false}, {written + 2, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(page_verdicts::Find(digestOf(row.k)).has_value(), row.found) << row.k;
    EXPECT_LT(fileText(page_verdicts::VerdictFile()).size(), std::size_t{64} << 10);
}

}  // namespace
