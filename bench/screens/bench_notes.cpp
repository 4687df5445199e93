#include <QTextEdit>

#include <fstream>
#include <string>

#include "ScreenBench.h"
#include "formats/FileIo.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"

namespace {

using screenbench::Settle;

constexpr std::int32_t kNoteId = 4;

// About three printed pages: paragraphs of plain, bold and coloured text and a list.
std::string fewPagesNote() {
    std::string html = "<html><head><style>p { margin-top: 0; }</style></head><body>";
    for (int k = 0; k < 60; ++k) {
        html += "<p>Paragraph " + std::to_string(k) +
                ": a routing table lists <b>networks</b> and their <span "
                "style=\"color:#aa0000\">next hops</span>; the longest prefix wins.</p>";
        if (k % 10 == 0) html += "<ul><li>one</li><li>two</li><li>three</li></ul>";
    }
    return html + "</body></html>\r\n";
}

// A notes editor at the size the browser tabs give it, shown.
std::unique_ptr<NotesEditor> shownEditor() {
    auto editor = std::make_unique<NotesEditor>(nullptr, NotesEditor::Dialogs::Own);
    editor->resize(470, 300);
    editor->show();
    Settle();
    return editor;
}

// A note of a few pages loaded into a shown editor and painted.
void BM_ShowNote(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    const std::string html = fewPagesNote();
    if (!formats::WriteFileReplacing(
            mod_MyNotes::NotePath(kNoteId),
            std::span(reinterpret_cast<const std::uint8_t*>(html.data()), html.size()))) {
        state.SkipWithError("cannot write the note");
        return;
    }
    auto editor = shownEditor();
    for (auto _ : state) {
        mod_MyNotes::LoadMyNotes(kNoteId, *editor);
        Settle();
    }
    state.counters["budget_ms"] = 10;
    editor.reset();
    std::filesystem::remove(mod_MyNotes::NotePath(kNoteId));
}
BENCHMARK(BM_ShowNote)->Unit(benchmark::kMillisecond);

// A note file of 4 GiB (sparse): refused from its size, without a byte read.
void BM_RefuseOversizeNote(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    const auto path = mod_MyNotes::NotePath(kNoteId);
    std::filesystem::create_directories(path.parent_path());
    {
        std::ofstream out(path, std::ios::binary);
        out.seekp((std::int64_t{4} << 30) - 1);
        out.put('x');
    }
    auto editor = shownEditor();
    for (auto _ : state) {
        mod_MyNotes::LoadMyNotes(kNoteId, *editor);
        Settle();
    }
    if (!editor->NoteUnreadable()) state.SkipWithError("the oversize note was not refused");
    state.counters["budget_ms"] = 1;
    editor.reset();
    std::filesystem::remove(path);
}
BENCHMARK(BM_RefuseOversizeNote)->Unit(benchmark::kMillisecond);

}  // namespace
