// A note file loaded into the notes editor at the size the browser tabs give it, shown. A page
// the editor refuses is shown read-only as unreadable and its file left as it is. A page it
// shows is laid out whole, one character typed at its end, saved and loaded again: a save that
// is refused leaves the file as it was; one that is written is shown again, laid out, with the
// text the editor showed. Nothing but the note's own file (and the program's cache of the verdicts
// of the notes it saved) is touched. The processor time this process spends on a round (its
// trial children aside) is held to a budget here; a round that never ends is caught by a
// watchdog, as libFuzzer's -timeout is not safe without the sanitizers' allocator.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QInputDevice>
#include <QKeyEvent>
#include <QTextEdit>

#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "RoundWatchdog.h"
#include "core/AppPaths.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "pages/PageTrial.h"
#include "pages/PageVerdicts.h"
#include "platform/MessageBox.h"

namespace {

namespace fs = std::filesystem;

constexpr std::int32_t kNoteId = 2;

// Every entry of the program folder but the note's own file and the verdicts' file: name, and a
// file's size and change time (a folder's own time follows the note's replacement).
std::map<fs::path, std::string> everythingElse(const fs::path& note) {
    std::map<fs::path, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(AppPaths::ProgramFolder())) {
        // The verdicts' file is the program's cache of the notes it saved.
        if (entry.path() == note || entry.path() == page_verdicts::VerdictFile()) continue;
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

// The application and the editor, shown at the size the browser tabs give it. Held by a static
// made once everything Qt keeps in its own globals for them exists (the window, the keyboard
// the keystrokes come from): torn down at exit before those globals.
struct Gui {
    Gui(int& argc, char** argv) : app(argc, argv), editor(nullptr, NotesEditor::Dialogs::Own) {
        editor.resize(470, 300);
        editor.show();
        (void)QInputDevice::primaryKeyboard();
    }
    QApplication app;
    NotesEditor editor;
};

NotesEditor* shownEditor = nullptr;

// Showing, typing into, saving and showing again a page the trial accepted: a few layouts of
// it within the budget of what the user already has each.
constexpr std::chrono::microseconds kRoundBudget = 4 * page_trial::kHeldLayoutBudget;

std::chrono::microseconds processorTime() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::duration_cast<std::chrono::microseconds>(
                                                  std::chrono::nanoseconds(now.tv_nsec));
}

// A round that never ends: far past that budget in processor time (a slow round fails its own
// check first), or past the trials it may wait on in wall time (each within 12 s here).
constexpr fuzzsupport::RoundLimits kHungRound{
    std::chrono::duration_cast<std::chrono::milliseconds>(5 * kRoundBudget),
    std::chrono::milliseconds(60'000 * page_trial::kSlowdown)};

fuzzsupport::RoundWatchdog* roundWatchdog = nullptr;

// For the watchdog's own test: with EXAMSIM_FUZZ_HANG set to "spin" or "block", a page holding
// "hang here" never ends its round, as a layout stuck in Qt, busy or waiting, would.
void hangIfAsked(const std::uint8_t* data, std::size_t size) {
    static const std::string mode = [] {
        const char* const value = std::getenv("EXAMSIM_FUZZ_HANG");
        return std::string(value != nullptr ? value : "");
    }();
    if (mode.empty() ||
        std::string_view(reinterpret_cast<const char*>(data), size).find("hang here") ==
            std::string_view::npos)
        return;
    volatile std::uint64_t turns = 0;
    for (;;) {
        if (mode == "spin")
            turns = turns + 1;
        else
            ::pause();
    }
}

struct RoundClock {
    RoundClock() = default;
    RoundClock(const RoundClock&) = delete;
    RoundClock& operator=(const RoundClock&) = delete;
    ~RoundClock() {
        require(processorTime() - start < kRoundBudget, "a round took longer than its budget");
    }
    const std::chrono::microseconds start = processorTime();
};

void layOut(const NotesEditor& notes) {
    (void)notes.Contents()->document()->documentLayout()->documentSize();
}

void typeAtEnd(const NotesEditor& notes) {
    QTextEdit& box = *notes.Contents();
    box.moveCursor(QTextCursor::End);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, QStringLiteral("Z"));
    QApplication::sendEvent(&box, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Z, Qt::NoModifier, QStringLiteral("Z"));
    QApplication::sendEvent(&box, &release);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    fuzzsupport::PrepareProgram();
    const std::string artifactPrefix = fuzzsupport::ArtifactPrefix(*argc, *argv);
    page_trial::SetChildProgram(EXAMSIM_PAGE_TRIAL_CHILD);
    static const std::unique_ptr<Gui> gui = std::make_unique<Gui>(*argc, *argv);
    shownEditor = &gui->editor;
    static const std::unique_ptr<fuzzsupport::RoundWatchdog> watchdog =
        std::make_unique<fuzzsupport::RoundWatchdog>(fuzzsupport::LimitsFromEnvironment(kHungRound),
                                                     artifactPrefix, fuzzsupport::ScratchFolder());
    roundWatchdog = watchdog.get();
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
    const fuzzsupport::RoundWatchdog::Round watched(*roundWatchdog, data, size);
    hangIfAsked(data, size);
    const fs::path note = mod_MyNotes::NotePath(kNoteId);
    fuzzsupport::WriteInput(note, data, size);
    const std::string page = fileText(note);
    const auto before = everythingElse(note);

    // Checked however the round ends: a slow showing followed by a refused save is slow too.
    const RoundClock clock;
    NotesEditor& notes = *shownEditor;
    mod_MyNotes::LoadMyNotes(kNoteId, notes);
    if (notes.NoteUnreadable()) {
        require(notes.Contents()->isReadOnly(), "a refused page can be edited");
        require(mod_MyNotes::SaveMyNotes(kNoteId, notes), "the save of a refused page failed");
        require(fileText(note) == page, "a refused page was changed");
        require(everythingElse(note) == before, "a file other than the note changed");
        return 0;
    }
    layOut(notes);
    const qsizetype loaded = notes.Contents()->toPlainText().size();
    typeAtEnd(notes);
    const QString shown = notes.Contents()->toPlainText();
    require(shown.size() == loaded + 1, "the keystroke was not typed");
    // One letter more can tip a page that stood at a bound over it: the editor then rightly
    // keeps the file as it was, and says so.
    if (!mod_MyNotes::SaveMyNotes(kNoteId, notes)) {
        require(fileText(note) == page, "a refused save changed the note");
        require(everythingElse(note) == before, "a file other than the note changed");
        notes.ShowBlankPage();
        return 0;
    }
    require(everythingElse(note) == before, "a file other than the note changed");

    mod_MyNotes::LoadMyNotes(kNoteId, notes);
    require(!notes.NoteUnreadable(), "the saved note is refused");
    layOut(notes);
    require(notes.Contents()->toPlainText() == shown, "the note did not read back");
    notes.ShowBlankPage();
    return 0;
}
