#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <system_error>

#include "core/AppPaths.h"
#include "formats/Windows1252.h"
#include "notes/mod_MyNotes.h"
#include "pages/PageJudge.h"
#include "pages/PageRefusals.h"
#include "support/FullDisk.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

namespace fs = std::filesystem;
using mod_MyNotes::LoadMyNotes;
using mod_MyNotes::SaveMyNotes;

namespace {

// An editor that holds its page as text; tests set what the user did.
class FakeEditor : public mod_MyNotes::NoteDocument {
public:
    std::string page;
    bool empty = false;
    bool canUndo = false;
    bool edited = false;
    bool editable = false;
    int loads = 0;
    std::string unreadable;                        // the message shown instead of a note
    std::optional<page_refusals::Refusal> judged;  // what the trial of a save says

    void GoBlank() { ForgetNote(); }

private:
    // Refuses what the page judge refuses, as the real editor does before it parses.
    std::optional<std::string> ShowNotePage(const std::string& html) override {
        if (auto refusal = page_judge::JudgePage(html))
            return page_refusals::Reason(*refusal, page_refusals::Subject::kNote);
        page = html;
        editable = true;
        canUndo = false;
        edited = false;
        unreadable.clear();
        ++loads;
        return std::nullopt;
    }
    void ShowUnreadableNote(const std::string& message) override {
        unreadable = message;
        editable = false;
    }
    void ShowNoteText(const std::string& /*page*/, const std::string& why) override {
        unreadable = page_refusals::NoteShownAsText(why, false);
        editable = false;
    }
    std::string NoteHtml() const override { return page; }
    std::optional<page_refusals::Refusal> JudgeNote(const std::string& /*page*/) const override {
        return judged;
    }
    bool IsNoteEmpty() const override { return empty; }
    bool CanUndo() const override { return canUndo; }
    bool IsEdited() const override { return edited; }
    void EndEditing() override { editable = false; }
};

std::string fileText(const fs::path& path) {
    const formats::Bytes bytes = testsupport::ReadFile(path);
    return {bytes.begin(), bytes.end()};
}

void writeText(const fs::path& path, const std::string& text) {
    testsupport::WriteFile(path, formats::Bytes(text.begin(), text.end()));
}

struct MyNotesTest : ::testing::Test {
    testsupport::TempProgramFolder folder;
    testsupport::ScriptedMessageBoxes boxes;
    FakeEditor editor;
    fs::path note7 = mod_MyNotes::NotePath(7);

    // Runs `steps` in a child that is not root (root reads and deletes anything), with the
    // folders above the note's open to it; the child's exit status, 0 when all went well.
    int exitStatusOfAnotherUser(const std::function<int()>& steps) const {
        for (fs::path up = note7.parent_path().parent_path(); up != folder.path().parent_path();
             up = up.parent_path())
            fs::permissions(up,
                            fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        const pid_t child = ::fork();
        if (child < 0) return -1;
        if (child == 0) {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
            ::_exit(steps());
        }
        int status = 0;
        if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
        return WEXITSTATUS(status);
    }
};

}  // namespace

TEST_F(MyNotesTest, PathsAndTheDefaultPage) {
    EXPECT_EQ(mod_MyNotes::NotePath(1207), folder.path() / "Data" / "MyNotes" / "1207.html");
    EXPECT_EQ(mod_MyNotes::NotePath(-5).filename(), "-5.html");
    EXPECT_EQ(mod_MyNotes::DefaultNotePage(),
              "<html>\r\n   <head>\r\n        <style>\r\n"
              "              p { text-indent: 0; margin-top: 0; margin-bottom: 0; }\r\n"
              "              ul { margin-top: 0; margin-bottom: 0; }\r\n"
              "        </style>\r\n  </head>\r\n  <body>\r\n  </body>\r\n</html>");
}

TEST_F(MyNotesTest, LoadShowsTheFileOrTheDefaultPageAndCreatesTheFolder) {
    LoadMyNotes(7, editor);
    EXPECT_TRUE(fs::is_directory(AppPaths::MyNotesFolder()));
    EXPECT_EQ(editor.page, mod_MyNotes::DefaultNotePage());
    EXPECT_EQ(editor.LoadedQuestionId(), 7);
    EXPECT_TRUE(editor.editable);

    writeText(note7, "<html><body>kept \x80</body></html>\r\n");
    LoadMyNotes(7, editor);
    EXPECT_EQ(editor.page, "<html><body>kept \x80</body></html>");
    EXPECT_FALSE(editor.NoteSaved());
}

// Empty / not empty x undo / no undo x file / no file x showed something / nothing when
// loaded x edited or not.
TEST_F(MyNotesTest, SaveDecisionTable) {
    struct Case {
        bool empty, undo, file, shownEmpty, edited;
        const char* expected;  // nullptr: no file afterwards
    };
    const Case cases[] = {
        {true, false, false, false, false, nullptr},
        {true, true, false, false, true, nullptr},
        {true, false, true, false, false, nullptr},
        {true, true, true, false, true, nullptr},
        {false, false, false, false, false, nullptr},
        {false, true, false, false, true, "<p>new</p>\r\n"},
        {false, false, true, false, false, "<p>old</p>\r\n"},
        {false, true, true, false, true, "<p>new</p>\r\n"},
        // A file that showed nothing (damaged, text only in its head) was not emptied by a
        // user who only looked at it.
        {true, false, true, true, false, "<p>old</p>\r\n"},
        {true, true, true, true, true, nullptr},
        {false, true, true, true, true, "<p>new</p>\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.empty << c.undo << c.file << c.shownEmpty << c.edited);
        fs::remove(note7);
        if (c.file) writeText(note7, "<p>old</p>\r\n");
        editor.empty = c.shownEmpty;
        LoadMyNotes(7, editor);
        editor.page = "<p>new</p>";
        editor.empty = c.empty;
        editor.canUndo = c.undo;
        editor.edited = c.edited;
        EXPECT_TRUE(SaveMyNotes(7, editor));
        EXPECT_FALSE(editor.editable);
        EXPECT_TRUE(editor.NoteSaved());
        if (c.expected)
            EXPECT_EQ(fileText(note7), c.expected);
        else
            EXPECT_FALSE(fs::exists(note7));
    }
    boxes.expectNone();
}

// A save the trial refuses keeps the old file and says why; one no trial could be run for (no
// child, or none in time) is written all the same, so what was typed is not lost.
TEST_F(MyNotesTest, OnlyARefusalOnTrialHoldsASave) {
    struct Row {
        const char* what = nullptr;
        std::optional<page_refusals::Refusal> judged;
        const char* expected = nullptr;
    };
    const Row rows[] = {
        {"accepted", std::nullopt, "<p>new</p>\r\n"},
        {"refused on trial", page_refusals::Refusal(page_refusals::Cause::kTooSlow, 2'000'000),
         "<p>old</p>\r\n"},
        {"no trial could run", page_refusals::Refusal(page_refusals::Cause::kCheckerMissing, 0),
         "<p>new</p>\r\n"},
        {"none in time", page_refusals::Refusal(page_refusals::Cause::kCheckLate, 18'000'000),
         "<p>new</p>\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        writeText(note7, "<p>old</p>\r\n");
        LoadMyNotes(7, editor);
        editor.page = "<p>new</p>";
        editor.canUndo = editor.edited = true;
        editor.judged = row.judged;
        const bool refused = row.judged && page_refusals::Tried(*row.judged);
        if (refused) boxes.queue(platform::kOk);
        EXPECT_EQ(SaveMyNotes(7, editor), !refused);
        EXPECT_EQ(fileText(note7), row.expected);
        if (refused) {
            EXPECT_NE(boxes.shown().back().text.find(
                          page_refusals::Reason(*row.judged, page_refusals::Subject::kSavedNote)),
                      std::string::npos);
        }
    }
}

// A note file that is there but cannot be shown is never replaced by an empty note. Only a
// file that cannot be read is said to be so; a page that cannot be shown shows its text.
TEST_F(MyNotesTest, ANoteThatCannotBeReadIsShownAsSuchAndNeverSavedOver) {
    const auto expectLeftAlone = [&](const std::string& message) {
        editor.empty = true;
        LoadMyNotes(7, editor);
        EXPECT_EQ(editor.unreadable, message);
        EXPECT_FALSE(editor.editable);
        EXPECT_TRUE(editor.NoteUnreadable());
        EXPECT_FALSE(editor.LoadedQuestionId().has_value());
        editor.canUndo = editor.edited = true;
        EXPECT_TRUE(SaveMyNotes(7, editor));
        EXPECT_TRUE(fs::exists(fs::symlink_status(note7)));
    };
    // The reason comes first, then the path.
    const auto expectUnreadable = [&](const std::string& heading, const std::string& reason) {
        expectLeftAlone(heading + "\n" + reason + "\n" + formats::PathToWindows1252(note7) +
                        "\nIts file is left as it is.");
    };
    const std::string unreadable = "This note cannot be read:";
    const std::string notShown = "This note cannot be shown:";
    fs::create_directories(note7);
    expectUnreadable(unreadable, "It is not a file.");
    fs::remove(note7);

    // Judged from its size alone: a sparse file of 64 GiB is never read.
    {
        std::ofstream out(note7, std::ios::binary);
        out.seekp((std::int64_t{64} << 30) - 1);
        out.put('x');
    }
    expectUnreadable(notShown,
                     "The note's file is larger than 16 MB, the most a note may hold. A smaller "
                     "file would show.");
    // At the ceiling it is read, and judged as a page.
    std::string ceiling;
    while (ceiling.size() < mod_MyNotes::kMaxNoteBytes)
        ceiling += "<p>x";
    ceiling.resize(mod_MyNotes::kMaxNoteBytes);
    writeText(note7, ceiling);
    // An intact file that cannot be shown formatted shows its text.
    expectLeftAlone(
        "This note is shown as plain text, read-only, and its file is left as it is. The note has "
        "too many paragraphs and changes of formatting: more than 200,000, counting where each "
        "begins and where it ends. Fewer lines or less formatting would fit.");
    fs::remove(note7);

    // A link to a device is no note of ours to read or to delete.
    fs::create_symlink("/dev/zero", note7);
    expectUnreadable(unreadable, "It is not a file.");
    boxes.expectNone();
}

// Another owner's note the user may not read: shown as such, never deleted.
TEST_F(MyNotesTest, ANoteTheUserMayNotReadIsLeftAlone) {
    writeText(note7, "<p>theirs</p>\r\n");
    fs::permissions(note7, fs::perms::none);
    fs::permissions(note7.parent_path(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    EXPECT_EQ(exitStatusOfAnotherUser([] {
                  FakeEditor viewer;
                  viewer.empty = true;
                  LoadMyNotes(7, viewer);
                  const bool shown =
                      viewer.unreadable.find(
                          std::error_code(EACCES, std::generic_category()).message()) !=
                      std::string::npos;
                  viewer.canUndo = viewer.edited = true;
                  return !shown ? 1 : !SaveMyNotes(7, viewer) ? 2 : 0;
              }),
              0);
    fs::permissions(note7, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fileText(note7), "<p>theirs</p>\r\n");
}

// A note the user emptied whose file may not be deleted (a read-only notes folder): the
// failure is reported, the editor keeps the note as it was and the file stays.
TEST_F(MyNotesTest, AnEmptiedNoteThatMayNotBeDeletedIsReportedAndKept) {
    writeText(note7, "<p>mine</p>\r\n");
    fs::permissions(note7.parent_path(), fs::perms::owner_read | fs::perms::owner_exec |
                                             fs::perms::group_read | fs::perms::group_exec |
                                             fs::perms::others_read | fs::perms::others_exec);
    EXPECT_EQ(exitStatusOfAnotherUser([this] {
                  boxes.queue(platform::kOk);
                  LoadMyNotes(7, editor);
                  editor.page.clear();
                  editor.empty = editor.canUndo = editor.edited = true;
                  const bool saved = SaveMyNotes(7, editor);
                  const bool told =
                      boxes.shown().size() == 1 &&
                      boxes.shown()[0].text.find(
                          std::error_code(EACCES, std::generic_category()).message()) !=
                          std::string::npos;
                  const bool kept = editor.editable && !editor.NoteSaved() && editor.page.empty();
                  return saved ? 1 : !told ? 2 : !kept ? 4 : 0;
              }),
              0);
    fs::permissions(note7.parent_path(), fs::perms::owner_all);
    EXPECT_EQ(fileText(note7), "<p>mine</p>\r\n");
}

// A note whose entry cannot even be looked at (a plain file or a link loop on its path) is not
// an absent note: it is shown as unreadable with the reason, and a save leaves the entry.
TEST_F(MyNotesTest, ANoteBehindAPlainFileOrALinkLoopIsUnreadable) {
    const fs::path notes = AppPaths::MyNotesFolder();
    const fs::path plain = folder.path() / "plain";
    writeText(plain, "x");
    struct Case {
        const char* name;
        std::function<void()> make;
        fs::path entry;  // what must stay as it is
        int error;
    };
    const Case cases[] = {
        {"notes folder a file", [&] { writeText(notes, "x"); }, notes, ENOTDIR},
        {"notes folder a link to a file", [&] { fs::create_symlink(plain, notes); }, notes,
         ENOTDIR},
        {"notes folder a link loop", [&] { fs::create_symlink(notes, notes); }, notes, ELOOP},
        {"note a link loop",
         [&] {
             fs::create_directories(notes);
             fs::create_symlink(note7, note7);
         },
         note7, ELOOP},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(notes);
        c.make();
        const fs::file_type before = fs::symlink_status(c.entry).type();
        editor.empty = true;
        LoadMyNotes(7, editor);
        EXPECT_NE(editor.unreadable.find(formats::PathToWindows1252(note7)), std::string::npos);
        EXPECT_NE(
            editor.unreadable.find(std::error_code(c.error, std::generic_category()).message()),
            std::string::npos)
            << editor.unreadable;
        EXPECT_FALSE(editor.editable);
        EXPECT_TRUE(editor.NoteUnreadable());
        editor.page = "<p>new</p>";
        editor.empty = false;
        editor.canUndo = editor.edited = true;
        EXPECT_TRUE(SaveMyNotes(7, editor));
        EXPECT_EQ(fs::symlink_status(c.entry).type(), before);
    }
    boxes.expectNone();
}

TEST_F(MyNotesTest, SavesThatMustNotTouchTheNoteDoNothing) {
    writeText(note7, "<p>old</p>\r\n");
    // Blank editor: nothing was ever loaded.
    editor.empty = true;
    EXPECT_TRUE(SaveMyNotes(7, editor));
    EXPECT_TRUE(fs::exists(note7));

    // Another question's id.
    LoadMyNotes(8, editor);
    editor.empty = true;
    EXPECT_TRUE(SaveMyNotes(7, editor));
    EXPECT_TRUE(fs::exists(note7));

    // A second save of the same load.
    LoadMyNotes(7, editor);
    editor.page = "<p>first</p>";
    editor.empty = false;
    editor.canUndo = true;
    EXPECT_TRUE(SaveMyNotes(7, editor));
    editor.page = "";
    editor.empty = true;
    EXPECT_TRUE(SaveMyNotes(7, editor));
    EXPECT_EQ(fileText(note7), "<p>first</p>\r\n");

    // Back on the blank page after a load.
    LoadMyNotes(7, editor);
    editor.GoBlank();
    editor.empty = true;
    EXPECT_TRUE(SaveMyNotes(7, editor));
    EXPECT_TRUE(fs::exists(note7));
    boxes.expectNone();
}

TEST_F(MyNotesTest, TheFileDeclaresNoOtherCharacterSetAndKeepsEveryCharacter) {
    const std::string qtHtml =
        "<!DOCTYPE HTML>\n<html><head><meta name=\"qrichtext\" content=\"1\" /><meta "
        "charset=\"utf-8\" />\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
        "charset=utf-8\"><style></style></head><body>\xCE\xA9 \xE2\x82\xAC "
        "\xF0\x9F\x98\x80</body></html>";
    LoadMyNotes(7, editor);
    editor.page = formats::Utf8ToWindows1252Html(qtHtml);
    editor.canUndo = true;
    EXPECT_TRUE(SaveMyNotes(7, editor));
    EXPECT_EQ(fileText(note7),
              "<!DOCTYPE HTML>\n<html><head><meta name=\"qrichtext\" content=\"1\" "
              "/><style></style></head><body>&#937; \x80 &#128512;</body></html>\r\n");
}

TEST_F(MyNotesTest, AFailedWriteSaysWhyKeepsTheOldFileAndWhatWasTyped) {
    writeText(note7, "<p>old</p>\r\n");
    LoadMyNotes(7, editor);
    editor.page = std::string(4096, 'x');
    editor.canUndo = editor.edited = true;
    boxes.queue(platform::kOk);
    {
        const testsupport::FullDisk full;
        EXPECT_FALSE(SaveMyNotes(7, editor));
    }

    EXPECT_EQ(fileText(note7), "<p>old</p>\r\n");
    ASSERT_EQ(boxes.shown().size(), 1u);
    const std::string& message = boxes.shown()[0].text;
    EXPECT_NE(message.find(note7.string()), std::string::npos);
    EXPECT_NE(message.find(std::error_code(EFBIG, std::generic_category()).message()),
              std::string::npos)
        << message;
    EXPECT_NE(message.find("stays open"), std::string::npos);
    EXPECT_EQ(boxes.shown()[0].style, platform::kCritical);
    EXPECT_EQ(std::distance(fs::directory_iterator(note7.parent_path()), fs::directory_iterator()),
              1);
    // The note is still being edited and the next save tries again.
    EXPECT_TRUE(editor.editable);
    EXPECT_FALSE(editor.NoteSaved());
    EXPECT_TRUE(SaveMyNotes(7, editor));
    EXPECT_EQ(fileText(note7), std::string(4096, 'x') + "\r\n");

    // A window that closes anyway says the note is lost.
    LoadMyNotes(7, editor);
    editor.page = "<p>late</p>" + std::string(100, 'y');
    editor.canUndo = true;
    boxes.queue(platform::kOk);
    {
        const testsupport::FullDisk full;
        EXPECT_FALSE(SaveMyNotes(7, editor, mod_MyNotes::Leaving::kClosing));
    }
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_NE(boxes.shown()[1].text.find("lost"), std::string::npos);
}
