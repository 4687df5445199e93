// A note file the page judge accepts loaded into the notes editor, changed by one character and
// saved: it reads back with the text the editor showed (or, when the judge refuses what would be
// written, the save is refused and the file stays), and nothing but its own file is touched.
// A page the judge refuses is shown as unreadable and left as it is.
#include <QApplication>
#include <QTextCursor>
#include <QTextEdit>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "core/AppPaths.h"
#include "core/PageJudge.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "platform/MessageBox.h"

namespace {

namespace fs = std::filesystem;

constexpr std::int32_t kNoteId = 2;

// Every entry of the program folder but the note's own file: name, and a file's size and
// change time (a folder's own time follows the note's replacement).
std::map<fs::path, std::string> everythingElse(const fs::path& note) {
    std::map<fs::path, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(AppPaths::ProgramFolder())) {
        if (entry.path() == note) continue;
        std::error_code ec;
        entries[entry.path()] =
            entry.is_directory(ec)
                ? std::string("folder")
                : std::to_string(entry.file_size(ec)) + "@" +
                      std::to_string(entry.last_write_time(ec).time_since_epoch().count());
    }
    return entries;
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "notes fuzz: %s\n", what);
    std::abort();
}

NotesEditor& editor() {
    static NotesEditor* const shared = new NotesEditor(nullptr, NotesEditor::Dialogs::Own);
    return *shared;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static const std::unique_ptr<QApplication> app = std::make_unique<QApplication>(*argc, *argv);
    fuzzsupport::PrepareProgram();
    // A refused save says so; the answer does not matter.
    platform::SetMessageBoxHandler([](const platform::MessageBoxRequest&) { return 0; });
    // Neighbours that no note operation may touch.
    const fs::path other = mod_MyNotes::NotePath(kNoteId + 1);
    fuzzsupport::WriteInput(other, reinterpret_cast<const std::uint8_t*>("<p>other</p>"), 12);
    fuzzsupport::WriteInput(AppPaths::DataFolder() / "Config.dat",
                            reinterpret_cast<const std::uint8_t*>("config"), 6);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path note = mod_MyNotes::NotePath(kNoteId);
    fuzzsupport::WriteInput(note, data, size);
    const auto before = everythingElse(note);

    NotesEditor& notes = editor();
    const std::string page(reinterpret_cast<const char*>(data), size);
    if (page_judge::JudgePage(page)) {
        mod_MyNotes::LoadMyNotes(kNoteId, notes);
        require(notes.NoteUnreadable(), "a refused page was shown");
        require(mod_MyNotes::SaveMyNotes(kNoteId, notes), "the save of a refused page failed");
        require(fileText(note) == page, "a refused page was changed");
        require(everythingElse(note) == before, "a file other than the note changed");
        return 0;
    }
    mod_MyNotes::LoadMyNotes(kNoteId, notes);
    QTextCursor cursor(notes.Contents()->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("Z"));
    const QString shown = notes.Contents()->toPlainText();
    if (!mod_MyNotes::SaveMyNotes(kNoteId, notes)) {
        require(fileText(note) == page, "a refused save changed the note");
        notes.ShowBlankPage();
        return 0;
    }
    require(everythingElse(note) == before, "a file other than the note changed");

    mod_MyNotes::LoadMyNotes(kNoteId, notes);
    require(notes.Contents()->toPlainText() == shown, "the note did not read back");
    notes.ShowBlankPage();
    return 0;
}
