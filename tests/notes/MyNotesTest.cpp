#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "core/AppPaths.h"
#include "formats/Windows1252.h"
#include "notes/mod_MyNotes.h"
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
    bool editable = false;
    int loads = 0;

    void GoBlank() { ForgetNote(); }

private:
    void ShowNotePage(const std::string& html) override {
        page = html;
        editable = true;
        canUndo = false;
        ++loads;
    }
    std::string NoteHtml() const override { return page; }
    bool IsNoteEmpty() const override { return empty; }
    bool CanUndo() const override { return canUndo; }
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

// Empty / not empty x undo / no undo x file / no file.
TEST_F(MyNotesTest, SaveDecisionTable) {
    struct Case {
        bool empty, undo, file;
        const char* expected;  // nullptr: no file afterwards
    };
    const Case cases[] = {
        {true, false, false, nullptr},          {true, true, false, nullptr},
        {true, false, true, nullptr},           {true, true, true, nullptr},
        {false, false, false, nullptr},         {false, true, false, "<p>new</p>\r\n"},
        {false, false, true, "<p>old</p>\r\n"}, {false, true, true, "<p>new</p>\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.empty << c.undo << c.file);
        fs::remove(note7);
        if (c.file) writeText(note7, "<p>old</p>\r\n");
        LoadMyNotes(7, editor);
        editor.page = "<p>new</p>";
        editor.empty = c.empty;
        editor.canUndo = c.undo;
        SaveMyNotes(7, editor);
        EXPECT_FALSE(editor.editable);
        EXPECT_TRUE(editor.NoteSaved());
        if (c.expected)
            EXPECT_EQ(fileText(note7), c.expected);
        else
            EXPECT_FALSE(fs::exists(note7));
    }
    boxes.expectNone();
}

TEST_F(MyNotesTest, SavesThatMustNotTouchTheNoteDoNothing) {
    writeText(note7, "<p>old</p>\r\n");
    // Blank editor: nothing was ever loaded.
    editor.empty = true;
    SaveMyNotes(7, editor);
    EXPECT_TRUE(fs::exists(note7));

    // Another question's id.
    LoadMyNotes(8, editor);
    editor.empty = true;
    SaveMyNotes(7, editor);
    EXPECT_TRUE(fs::exists(note7));

    // A second save of the same load.
    LoadMyNotes(7, editor);
    editor.page = "<p>first</p>";
    editor.empty = false;
    editor.canUndo = true;
    SaveMyNotes(7, editor);
    editor.page = "";
    editor.empty = true;
    SaveMyNotes(7, editor);
    EXPECT_EQ(fileText(note7), "<p>first</p>\r\n");

    // Back on the blank page after a load.
    LoadMyNotes(7, editor);
    editor.GoBlank();
    editor.empty = true;
    SaveMyNotes(7, editor);
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
    SaveMyNotes(7, editor);
    EXPECT_EQ(fileText(note7),
              "<!DOCTYPE HTML>\n<html><head><meta name=\"qrichtext\" content=\"1\" "
              "/><style></style></head><body>&#937; \x80 &#128512;</body></html>\r\n");
}

TEST_F(MyNotesTest, AFailedWriteIsReportedAndKeepsTheOldFile) {
    writeText(note7, "<p>old</p>\r\n");
    LoadMyNotes(7, editor);
    editor.page = std::string(4096, 'x');
    editor.canUndo = true;
    // Root may write anywhere: a file-size limit makes the write fail instead.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    boxes.queue(platform::kOk);
    SaveMyNotes(7, editor);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(fileText(note7), "<p>old</p>\r\n");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_NE(boxes.shown()[0].text.find(note7.string()), std::string::npos);
    EXPECT_EQ(boxes.shown()[0].style, platform::kCritical);
    EXPECT_EQ(std::distance(fs::directory_iterator(note7.parent_path()), fs::directory_iterator()),
              1);
}
