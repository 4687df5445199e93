#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QUrl>

#include <algorithm>
#include <array>
#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ScreenBench.h"
#include "core/AppPaths.h"
#include "formats/FileIo.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "pages/PageJudge.h"
#include "pages/PagePictures.h"
#include "pages/PageReader.h"
#include "pages/PageTrial.h"
#include "support/CraftedPictures.h"
#include "support/Repeated.h"

namespace {

using screenbench::Settle;
using testsupport::Repeated;

constexpr std::int32_t kNoteId = 4;

// Ordinary notes: paragraphs of plain, bold and coloured text, and a list every ten.
std::string ordinaryNote(int paragraphs) {
    std::string html = "<html><head><style>p { margin-top: 0; }</style></head><body>";
    for (int k = 0; k < paragraphs; ++k) {
        html += "<p>Paragraph " + std::to_string(k) +
                ": a routing table lists <b>networks</b> and their <span "
                "style=\"color:#aa0000\">next hops</span>; the longest prefix wins.</p>";
        if (k % 10 == 0) html += "<ul><li>one</li><li>two</li><li>three</li></ul>";
    }
    return html + "</body></html>\r\n";
}

// A note of a few KB, and one of about three printed pages.
struct OrdinaryNote {
    const char* name;
    int paragraphs;
};
constexpr std::array kOrdinaryNotes = {OrdinaryNote{"few_kb", 15}, OrdinaryNote{"three_pages", 60}};

std::string ordinaryNote(const benchmark::State& state) {
    return ordinaryNote(kOrdinaryNotes.at(static_cast<std::size_t>(state.range(0))).paragraphs);
}

bool writeNote(benchmark::State& state, const std::string& html) {
    const bool written = formats::WriteFileReplacing(
        mod_MyNotes::NotePath(kNoteId),
        std::span(reinterpret_cast<const std::uint8_t*>(html.data()), html.size()));
    if (!written) state.SkipWithError("cannot write the note");
    return written;
}

// A notes editor at the size the browser tabs give it, shown.
std::unique_ptr<NotesEditor> shownEditor() {
    auto editor = std::make_unique<NotesEditor>(nullptr, NotesEditor::Dialogs::Own);
    editor->resize(470, 300);
    editor->show();
    Settle();
    return editor;
}

// Loads the note into the editor and lays it out whole.
void show(NotesEditor& editor) {
    mod_MyNotes::LoadMyNotes(kNoteId, editor);
    editor.Contents()->document()->documentLayout()->documentSize();
    Settle();
}

// What a refused note shows: why.
std::string refusal(const NotesEditor& editor) {
    return editor.Contents()->toPlainText().replace(u'\n', u' ').left(300).toStdString();
}

void removeNote(std::unique_ptr<NotesEditor>& editor) {
    editor.reset();
    std::filesystem::remove(mod_MyNotes::NotePath(kNoteId));
}

// An ordinary note shown again: its verdict is kept, no child starts. verdict_us: what that
// showing does beyond what an untried page's does, finding the verdict.
void BM_ShowNote(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    state.SetLabel(kOrdinaryNotes.at(static_cast<std::size_t>(state.range(0))).name);
    const std::string html = ordinaryNote(state);
    if (!writeNote(state, html)) return;
    auto editor = shownEditor();
    page_trial::ForgetVerdicts();
    show(*editor);
    const std::size_t trials = page_trial::TrialsStarted();
    for (auto _ : state)
        show(*editor);
    const page_trial::TrialRequest request = page_reader::RequestFor(
        mod_MyNotes::PageOfFile(html),
        page_reader::BoxOf(*editor->Contents(),
                           {page_trial::PictureRule::kAnywhere, AppPaths::MyNotesFolder()}));
    constexpr int kLookups = 100;
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < kLookups; ++k)
        benchmark::DoNotOptimize(page_trial::TryPage(request, page_trial::Standing::kAlreadyHeld));
    const std::chrono::duration<double, std::micro> lookups =
        std::chrono::steady_clock::now() - start;
    if (page_trial::TrialsStarted() != trials)
        state.SkipWithError("the note was tried again");
    else
        state.counters["verdict_us"] = lookups.count() / kLookups;
    state.counters["budget_ms"] = 10;
    removeNote(editor);
}
BENCHMARK(BM_ShowNote)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// Shows the editor's note each iteration as if for the first time in the run (no verdict
// kept); how many children that started.
std::size_t showFirstTimeEach(benchmark::State& state, NotesEditor& editor) {
    const std::size_t trials = page_trial::TrialsStarted();
    for (auto _ : state) {
        state.PauseTiming();
        page_trial::ForgetVerdicts();
        state.ResumeTiming();
        show(editor);
    }
    return page_trial::TrialsStarted() - trials;
}

// An ordinary note shown for the first time in the run: tried in a child, then shown.
void BM_ShowNoteFirstTime(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    state.SetLabel(kOrdinaryNotes.at(static_cast<std::size_t>(state.range(0))).name);
    if (!writeNote(state, ordinaryNote(state))) return;
    auto editor = shownEditor();
    const std::size_t tried = showFirstTimeEach(state, *editor);
    if (editor->NoteUnreadable()) state.SkipWithError("the note was refused");
    if (tried != static_cast<std::size_t>(state.iterations()))
        state.SkipWithError("a showing was not tried");
    state.counters["budget_ms"] = 100;
    removeNote(editor);
}
BENCHMARK(BM_ShowNoteFirstTime)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->Iterations(20);

// A note that came from elsewhere, as a browser's page pasted into another program and saved
// there: a style sheet, classes, headings, links, a list; about 4 KB.
std::string noteFromElsewhere() {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"windows-1252\">"
        "<title>Subnetting notes</title><style>\nbody { font-family: Arial, sans-serif; }\n"
        ".lead { font-size: 13pt; color: #333333; }\n.key { font-weight: bold; color: #0b5394; }"
        "\ncode { font-family: monospace; background: #eeeeee; }\n</style></head><body>\n"
        "<div class=\"article\"><h2>Subnetting in short</h2>\n";
    for (int k = 0; k < 8; ++k) {
        html += "<p class=\"lead\">Step " + std::to_string(k + 1) +
                ": borrow <span class=\"key\">host bits</span> for the subnet, then count "
                "<code>2^n - 2</code> hosts in each; see <a href=\"https://example.org/subnets#" +
                std::to_string(k) + "\">the table of masks</a> for the usual prefixes.</p>\n";
        if (k % 3 == 0)
            html +=
                "<ul><li>/24 &ndash; 254 hosts</li><li>/26 &ndash; 62 hosts</li>"
                "<li>/30 &ndash; 2 hosts</li></ul>\n";
    }
    return html + "</div></body></html>\n";
}

// That note shown for the first time in the run (tried in a child) and then again (its
// verdict kept), in turn; `first_x_again`: the first showing's time over the second's.
void BM_ShowNoteFromElsewhere(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    const std::string html = noteFromElsewhere();
    if (!writeNote(state, html)) return;
    auto editor = shownEditor();
    // What the process's first page of its kind costs once (fonts, glyphs) is not the note's.
    show(*editor);
    using Clock = std::chrono::steady_clock;
    Clock::duration first{};
    Clock::duration again{};
    for (auto _ : state) {
        state.PauseTiming();
        page_trial::ForgetVerdicts();
        state.ResumeTiming();
        const auto start = Clock::now();
        show(*editor);
        const auto shown = Clock::now();
        show(*editor);
        first += shown - start;
        again += Clock::now() - shown;
    }
    if (editor->NoteUnreadable()) state.SkipWithError("the note was refused");
    const auto rounds = static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
    const auto milliseconds = [&](Clock::duration time) {
        return std::chrono::duration<double, std::milli>(time).count() / rounds;
    };
    state.counters["bytes"] = static_cast<double>(html.size());
    state.counters["first_ms"] = milliseconds(first);
    state.counters["again_ms"] = milliseconds(again);
    state.counters["first_x_again"] = milliseconds(first) / milliseconds(again);
    state.counters["budget_x"] = 2;
    removeNote(editor);
}
BENCHMARK(BM_ShowNoteFromElsewhere)->Unit(benchmark::kMillisecond)->Iterations(50);

// Trials alone, back to back, of a page just over the size shown untried: each handed to the
// server's waiting child, a few lines laid out and its report.
void BM_TrialOfASmallPage(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    auto editor = shownEditor();
    const std::string page =
        "<p>" + Repeated("lorem ipsum ", (page_reader::kUntriedPageBytes + 50) / 12) + "</p>";
    const page_trial::TrialRequest request = page_reader::RequestFor(
        page, page_reader::BoxOf(*editor->Contents(),
                                 {page_trial::PictureRule::kAnywhere, AppPaths::MyNotesFolder()}));
    for (auto _ : state) {
        state.PauseTiming();
        page_trial::ForgetVerdicts();
        state.ResumeTiming();
        if (page_trial::TryPage(request, page_trial::Standing::kAlreadyHeld)) {
            state.SkipWithError("the page was refused");
            break;
        }
    }
    state.counters["budget_ms"] = 50;
}
BENCHMARK(BM_TrialOfASmallPage)->Unit(benchmark::kMillisecond)->Iterations(20);

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
    removeNote(editor);
}
BENCHMARK(BM_RefuseOversizeNote)->Unit(benchmark::kMillisecond);

std::string withBody(const std::string& body) {
    return "<html><body>" + body + "</body></html>\r\n";
}

// A screen-sized picture that compresses badly, as a data: URL.
std::string noisePicture() {
    QImage image(1280, 720, QImage::Format_RGB32);
    quint32 seed = 1;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1664525 + 1013904223;
            row[x] = (seed >> 8) & 0x3f3f3f;
        }
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return "data:image/png;base64," + png.toBase64().toStdString();
}

// What showing a note form must give.
enum class Verdict {
    kShown,
    kRefusedOnTrial,  // laid out in a child past its budget
    kRefusedByBytes,  // before Qt parses it, no child started
};

// A note file as a user may have it, and what showing it may take: the first time in a run,
// again, and typed into, saved and read back.
struct NoteForm {
    const char* name = nullptr;
    std::function<std::string()> page;  // made only when its benchmark runs
    Verdict verdict = Verdict::kShown;
    double firstMs = 1000;
    double againMs = 1000;
    double editedMs = 1000;
};

std::string paragraphs(const std::string& paragraph, std::size_t count) {
    return withBody(Repeated("<p>" + paragraph + "</p>", count));
}

std::string tableOf(std::size_t rows, std::size_t columns, const std::string& cell) {
    return withBody("<table border=1>" +
                    Repeated("<tr>" + Repeated("<td>" + cell + "</td>", columns) + "</tr>", rows) +
                    "</table>");
}

std::string nestedTables(std::size_t depth, const std::string& inner) {
    return withBody(Repeated("<table border=1><tr><td>", depth) + inner +
                    Repeated("</td></tr></table>", depth));
}

// The pages users met, the costliest the bounds of the bytes let through to a trial, and pages
// the trial refuses; the shown come first.
std::vector<NoteForm> noteForms() {
    const page_judge::PageLimits& bytes = page_judge::kPageLimits;
    std::vector<NoteForm> forms;
    forms.push_back({"table 200 x 10", [] { return tableOf(200, 10, "cell text"); },
                     Verdict::kShown, 400, 300});
    forms.push_back({"10,000 one-letter paragraphs", [] { return paragraphs("x", 10'000); }});
    forms.push_back(
        {"line height 1000000%",
         [] { return withBody(Repeated("<p style=\"line-height:1000000%\">a b c d</p>", 120)); }});
    forms.push_back({"tables 10 deep", [] { return nestedTables(10, Repeated("text ", 100)); }});
    forms.push_back({"elements nested 100 deep", [=] {
                         return withBody(Repeated("<div><b>", (bytes.depth - 4) / 2) + "<i>" +
                                         Repeated("<b>x</b> ", 20'000));
                     }});
    // Qt imports pictures in the square of their number: at the bound of the bytes, 2,500, the
    // trial's verdict is near its budget.
    forms.push_back({"2,000 missing pictures", [=] {
                         return withBody(Repeated("<img src=missing.png>", bytes.pictures * 4 / 5));
                     }});
    forms.push_back({"3 MB of data: pictures", [=] {
                         const std::string picture = noisePicture();
                         return withBody(Repeated("<p><img src=\"" + picture + "\"></p>",
                                                  bytes.pictureDataBytes / 2 / picture.size()));
                     }});
    forms.push_back(
        {"table 1,000 x 6", [] { return tableOf(1000, 6, "cell text"); }, Verdict::kShown, 500});
    // At the bound of the bytes: past the budget of what comes in, within the limit of what the
    // user already has.
    forms.push_back({"200,000 elements", [=] {
                         return withBody(Repeated("<span>x</span> ", bytes.elements / 2 - 10));
                     }});
    // Each its own line, 10 million px in all: past where Qt's layout never finishes.
    forms.push_back({"10,000 forced lines 1000 px high",
                     [] {
                         return withBody("<p style=\"line-height:1000px\">" +
                                         Repeated("x<br>", 10'000) + "</p>");
                     },
                     Verdict::kRefusedOnTrial});
    forms.push_back({"4,000 style rules over 10,000 paragraphs",
                     [] {
                         return "<html><head><style>" + Repeated("*{color:red}", 4'000) +
                                "</style></head><body>" + Repeated("<p>x</p>", 10'000) +
                                "</body></html>\r\n";
                     },
                     Verdict::kRefusedOnTrial});
    forms.push_back({"ten letters of 29,000 accents each",
                     [] { return paragraphs(Repeated("x" + Repeated("&#769;", 29'000), 10), 1); },
                     Verdict::kRefusedOnTrial});
    forms.push_back({"word of 300,000 letters",
                     [] { return paragraphs(std::string(300'000, 'w'), 1); },
                     Verdict::kRefusedOnTrial});
    forms.push_back(
        {"16 MB of plain words",
         [=] { return withBody(Repeated("lorem ipsum ", (bytes.pageBytes - 100) / 12)); },
         Verdict::kRefusedOnTrial});
    forms.push_back({"colspan 20480",
                     [] {
                         return withBody("<table border=1>" +
                                         Repeated("<tr><td colspan=20480>x</td></tr>", 1000));
                     },
                     Verdict::kRefusedByBytes});
    forms.push_back(
        {"17 nested tables", [] { return nestedTables(17, "x"); }, Verdict::kRefusedByBytes});
    return forms;
}

const std::vector<NoteForm>& forms() {
    static const std::vector<NoteForm> all = noteForms();
    return all;
}

int shownForms() {
    return static_cast<int>(std::count_if(forms().begin(), forms().end(), [](const NoteForm& form) {
        return form.verdict == Verdict::kShown;
    }));
}

// A note form loaded from its file into a shown editor for the first time in the run, laid out
// and painted, or refused. trials: children started a showing.
void BM_NoteForm(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    const NoteForm& form = forms().at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(form.name);
    if (!writeNote(state, form.page())) return;
    auto editor = shownEditor();
    const bool shown = form.verdict == Verdict::kShown;
    // What the process's first page of its kind costs once (fonts, glyphs) is not the page's.
    if (shown) show(*editor);
    const std::size_t tried = showFirstTimeEach(state, *editor);
    if (editor->NoteUnreadable() == shown) {
        state.SkipWithError(shown ? ("the note was refused: " + refusal(*editor)).c_str()
                                  : "the note was shown");
    } else if ((tried == 0) != (form.verdict == Verdict::kRefusedByBytes)) {
        state.SkipWithError(tried == 0 ? "the note was not tried" : "the note was tried");
    }
    state.counters["trials"] = static_cast<double>(tried) /
                               static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
    // A note the user has is refused only past the wider limit of what they already have.
    state.counters["budget_ms"] =
        form.verdict == Verdict::kRefusedOnTrial
            ? std::chrono::duration<double, std::milli>(page_trial::kHeldLayoutBudget).count() + 500
            : form.firstMs;
    removeNote(editor);
}
BENCHMARK(BM_NoteForm)
    ->DenseRange(0, shownForms() - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
// A refusal's time is set by the trial's budget: once is enough.
BENCHMARK(BM_NoteForm)
    ->DenseRange(shownForms(), static_cast<int>(forms().size()) - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// A note form that is shown, shown again: its verdict is kept.
void BM_NoteFormAgain(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    const NoteForm& form = forms().at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(form.name);
    if (!writeNote(state, form.page())) return;
    auto editor = shownEditor();
    page_trial::ForgetVerdicts();
    show(*editor);
    const std::size_t trials = page_trial::TrialsStarted();
    for (auto _ : state)
        show(*editor);
    if (editor->NoteUnreadable())
        state.SkipWithError(("the note was refused: " + refusal(*editor)).c_str());
    else if (page_trial::TrialsStarted() != trials)
        state.SkipWithError("the note was tried again");
    state.counters["budget_ms"] = form.againMs;
    removeNote(editor);
}
BENCHMARK(BM_NoteFormAgain)
    ->DenseRange(0, shownForms() - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// A note form that is shown, after one keystroke: saved (tried anew, as its bytes changed), read
// back and laid out.
void BM_NoteFormEdited(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    const NoteForm& form = forms().at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(form.name);
    if (form.verdict != Verdict::kShown || !writeNote(state, form.page())) return;
    auto editor = shownEditor();
    for (auto _ : state) {
        state.PauseTiming();
        show(*editor);
        state.ResumeTiming();
        editor->Contents()->moveCursor(QTextCursor::End);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
        QApplication::sendEvent(editor->Contents(), &key);
        if (!mod_MyNotes::SaveMyNotes(kNoteId, *editor)) {
            state.SkipWithError("the edited note was not saved");
            break;
        }
        show(*editor);
    }
    if (editor->NoteUnreadable()) state.SkipWithError("the saved note was refused");
    state.counters["budget_ms"] = form.editedMs;
    removeNote(editor);
}
BENCHMARK(BM_NoteFormEdited)
    ->DenseRange(0, shownForms() - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// A detailed picture of the costliest kind to decode measured: 16 bits a channel, with alpha
// (four times the time of an 8-bit photograph of the same size), as PNG bytes. Each is made
// once: encoding one takes about a second.
QByteArray costlyPng(int side, int seed) {
    static std::map<std::pair<int, int>, QByteArray> made;
    if (const auto found = made.find({side, seed}); found != made.end()) return found->second;
    QImage image(side, side, QImage::Format_RGBA64);
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<QRgba64*>(image.scanLine(y));
        for (int x = 0; x < side; ++x) {
            const auto mixed = static_cast<std::uint16_t>((x * y + seed) * 2654435761U >> 16);
            line[x] = QRgba64::fromRgba64(static_cast<std::uint16_t>(x * 32),
                                          static_cast<std::uint16_t>(y * 32), mixed,
                                          static_cast<std::uint16_t>(0x8000 | (mixed & 0xff)));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return made[{side, seed}] = bytes;
}

bool writeBytes(const std::filesystem::path& path, const QByteArray& bytes) {
    return formats::WriteFileReplacing(
        path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                        static_cast<std::size_t>(bytes.size())));
}

// How many of the shown page's pictures are decoded pictures rather than the missing mark.
int decodedPictures(QTextEdit& box) {
    int decoded = 0;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            decoded +=
                format.isImageFormat() && box.document()
                                                  ->resource(QTextDocument::ImageResource,
                                                             QUrl(format.toImageFormat().name()))
                                                  .userType() == QMetaType::QPixmap;
        }
    return decoded;
}

// Times a note naming `pictures` (files of the notes folder), loaded for the first time in the
// run (tried: the child decodes them too) and painted; `decoded` of them must show decoded.
void timeNoteWithPictures(benchmark::State& state, const std::vector<std::string>& pictures,
                          int decoded) {
    std::string html = "<html><body><p>pictures</p>";
    for (const std::string& picture : pictures)
        html += "<img src=\"" + picture + "\">";
    if (!writeBytes(mod_MyNotes::NotePath(kNoteId),
                    QByteArray::fromStdString(html + "</body></html>"))) {
        state.SkipWithError("cannot write the note");
        return;
    }
    auto editor = shownEditor();
    for (auto _ : state) {
        state.PauseTiming();
        page_trial::ForgetVerdicts();
        state.ResumeTiming();
        mod_MyNotes::LoadMyNotes(kNoteId, *editor);
        Settle();
    }
    if (decodedPictures(*editor->Contents()) != decoded)
        state.SkipWithError(editor->NoteUnreadable()
                                ? ("the note was refused: " + refusal(*editor)).c_str()
                                : "the pictures did not show as they should");
    editor.reset();
    std::filesystem::remove(mod_MyNotes::NotePath(kNoteId));
    for (const std::string& picture : pictures)
        std::filesystem::remove(AppPaths::MyNotesFolder() / picture);
}

// One 5,700 x 5,700 picture (130 MB decoded, a small file) named 40 times.
void BM_ShowNoteNamingOneLargePicture40Times(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    QImage large(5700, 5700, QImage::Format_RGB32);
    large.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    large.save(&buffer, "PNG");
    if (!writeBytes(AppPaths::MyNotesFolder() / "large.png", bytes)) {
        state.SkipWithError("cannot write the picture");
        return;
    }
    // Over the page's budget: judged from its header, never decoded.
    timeNoteWithPictures(state, std::vector<std::string>(40, "large.png"), 0);
    state.counters["budget_ms"] = 500;
}
BENCHMARK(BM_ShowNoteNamingOneLargePicture40Times)->Unit(benchmark::kMillisecond)->Iterations(10);

// Costly pictures of 2,048 x 2,048 together at the page's pixel budget.
void BM_ShowNoteWithPicturesAtTheBudget(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    constexpr int kSide = 2048;
    std::vector<std::string> names;
    for (std::uint64_t pixels = 0; pixels + kSide * kSide <= platform::kPagePixelBudget;
         pixels += kSide * kSide) {
        names.push_back("costly" + std::to_string(names.size()) + ".png");
        if (!writeBytes(AppPaths::MyNotesFolder() / names.back(),
                        costlyPng(kSide, static_cast<int>(names.size())))) {
            state.SkipWithError("cannot write the pictures");
            return;
        }
    }
    timeNoteWithPictures(state, names, static_cast<int>(names.size()));
    state.counters["pictures"] = static_cast<double>(names.size());
    state.counters["budget_ms"] = 1000;
}
BENCHMARK(BM_ShowNoteWithPicturesAtTheBudget)->Unit(benchmark::kMillisecond)->Iterations(3);

// Pictures whose headers hide their decoding work.

// An icon whose directory names one 16 x 16 picture, holding a 5,700 x 5,700 PNG.
QByteArray lyingIcon() {
    QImage large(5700, 5700, QImage::Format_RGB32);
    large.fill(Qt::darkCyan);
    return testsupport::Icon(testsupport::Encoded(large, "png"));
}

// A 2,048 x 2,048 progressive JPEG whose last scan (a refinement of all coefficients) comes
// again until its work fills the page's budget: each scan a 64th of the picture's work.
QByteArray jpegScannedToTheBudget() {
    QImage grey(2048, 2048, QImage::Format_Grayscale8);
    grey.fill(Qt::gray);
    const QByteArray jpeg = testsupport::Encoded(grey, "jpeg", true);
    const auto scans = static_cast<int>(64 * (platform::kPagePixelBudget / (2048 * 2048) - 1));
    return testsupport::JpegWithScans(jpeg, scans - static_cast<int>(jpeg.count("\xff\xda")) - 1);
}

// A small PNG with compressed comments, each inflating to a megabyte, up to the budget.
QByteArray pngCommentedToTheBudget() {
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::darkCyan);
    const QByteArray png = testsupport::Encoded(small, "png");
    // One comment as the file stores it, which the count below divides the budget by.
    const qsizetype comment = testsupport::PngWithComments(png, 1).size() - png.size();
    const auto count = static_cast<int>(platform::kPagePixelBudget / 256 / comment);
    return testsupport::PngWithComments(png, count - 1);
}

// A 16 x 16 GIF whose codes expand to as many symbols as the budget allows: each code the
// previous string and one symbol more, then the longest string again and again.
QByteArray gifCodedToTheBudget() {
    return testsupport::Gif(
        {16, 16}, testsupport::GifFrame({16, 16}, platform::kPagePixelBudget * 8 - (1 << 20)));
}

enum HiddenWork { kLyingIcons, kJpegScans, kPngComments, kGifCodes };
constexpr std::array<const char*, 4> kHiddenWorkNames = {"lying_icons", "jpeg_scans",
                                                         "png_comments", "gif_codes"};

// A note whose pictures' work their headers do not show: 40 icons whose directories say 16 x
// 16 around 5,700 x 5,700 PNGs (refused), or one picture of each costly kind whose work fills
// the page's budget (shown).
void BM_ShowNoteWithPicturesHidingTheirWork(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    const auto kind = static_cast<std::size_t>(state.range(0));
    state.SetLabel(kHiddenWorkNames.at(kind));
    std::vector<std::pair<std::string, QByteArray>> files;
    if (kind == kLyingIcons) {
        const QByteArray icon = lyingIcon();
        for (int k = 0; k < 40; ++k)
            files.emplace_back("icon" + std::to_string(k) + ".ico", icon);
    } else if (kind == kJpegScans) {
        files.emplace_back("scans.jpg", jpegScannedToTheBudget());
    } else if (kind == kPngComments) {
        files.emplace_back("comments.png", pngCommentedToTheBudget());
    } else {
        files.emplace_back("codes.gif", gifCodedToTheBudget());
    }
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files) {
        if (!writeBytes(AppPaths::MyNotesFolder() / name, bytes)) {
            state.SkipWithError("cannot write the pictures");
            return;
        }
        names.push_back(name);
    }
    timeNoteWithPictures(state, names, kind == kLyingIcons ? 0 : 1);
    state.counters["budget_ms"] = 1000;
}
BENCHMARK(BM_ShowNoteWithPicturesHidingTheirWork)
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The costliest pages found of at most page_reader::kUntriedPageBytes without a table, frame or
// picture, which are shown without a trial. (With tables, 41 bytes took seconds.)
struct UntriedPage {
    const char* name;
    std::string page;
};

std::vector<UntriedPage> untriedPages() {
    constexpr std::size_t size = page_reader::kUntriedPageBytes;
    // `prefix`, then as many `unit` as fit.
    const auto filled = [](const std::string& prefix, const std::string& unit) {
        return prefix + Repeated(unit, (size - prefix.size()) / unit.size());
    };
    return {
        {"forced lines of 500 pt, 1000 px high",
         filled("<p style=\"font-size:500pt;line-height:1000px\">", "x<br>")},
        {"list items", filled("", "<ul><li>x")},
        {"style rules over paragraphs", "<style>" + Repeated("*{color:red}", 8) + "</style>" +
                                            Repeated("<p>x", (size - 15 - 8 * 12) / 4)},
        {"combining accents", filled("", "x&#769;")},
        {"letter and word spacing of 1000 px",
         filled("<p style=\"letter-spacing:1000px;word-spacing:1000px\">", "x ")},
    };
}

// One of them in a shown editor at 470 x 300, or with its text box 100 px wide.
void BM_UntriedPageWorstCase(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    const UntriedPage page = untriedPages().at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(std::string(page.name) + ", " + std::to_string(page.page.size()) + " bytes");
    if (page.page.size() > page_reader::kUntriedPageBytes) {
        state.SkipWithError("the page is too large to go untried");
        return;
    }
    if (!writeNote(state, page.page)) return;
    auto editor = shownEditor();
    if (state.range(1) != 470) editor->Contents()->setFixedWidth(static_cast<int>(state.range(1)));
    Settle();
    const std::size_t trials = page_trial::TrialsStarted();
    for (auto _ : state)
        show(*editor);
    if (editor->NoteUnreadable())
        state.SkipWithError("the page was refused");
    else if (page_trial::TrialsStarted() != trials)
        state.SkipWithError("the page was tried");
    state.counters["budget_ms"] = 50;
    removeNote(editor);
}
BENCHMARK(BM_UntriedPageWorstCase)
    ->ArgNames({"page", "width"})
    ->ArgsProduct({benchmark::CreateDenseRange(0, static_cast<int>(untriedPages().size()) - 1, 1),
                   {470, 100}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

}  // namespace

namespace {

// Pages that stack letters, lines or tables over each other (painted one over another, at a
// cost every repaint that layout never sees), the longest lines and the smallest letters.
std::vector<UntriedPage> stackingPages() {
    const std::string large = "<p style=\"font-size:500pt;";
    return {
        {"letters 660 px closer at 500 pt",
         large + "letter-spacing:-660px\">" + Repeated("W", 200)},
        {"letters 700 px closer at 700 px",
         "<p style=\"font-size:700px;letter-spacing:-700px\">" + Repeated("W", 2000)},
        {"letters 0.99 of their width closer",
         large + "letter-spacing:-0.99em\">" + Repeated("W", 2000)},
        {"words 870 px closer", large + "word-spacing:-870px\">" + Repeated("W ", 2000)},
        {"lines at 1 %", large + "line-height:1%\">" + Repeated("W<br>", 2000)},
        {"lines held to 1 px",
         large + "-qt-line-height-type:fixed;line-height:1px\">" + Repeated("W<br>", 2000)},
        {"tables held 1 px high",
         Repeated("<table height=1 cellspacing=0><tr><td style=\"font-size:500pt\">W</td></tr>"
                  "</table>",
                  200)},
        {"cells 1000 px left of their place",
         "<table cellspacing=0><tr>" +
             Repeated("<td style=\"font-size:500pt\"><p style=\"margin-left:-1000px\">W</p></td>",
                      200) +
             "</tr></table>"},
        {"a preformatted line of 100,000 letters", "<pre>" + std::string(100'000, 'w') + "</pre>"},
        {"100,000 letters of 1 pt", "<p style=\"font-size:1pt\">" + Repeated("Wx ", 33'000)},
    };
}

// One of them, shown in the notes editor at 470 x 300 and painted again.
void BM_RepaintStackingPage(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    const UntriedPage page = stackingPages().at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(std::string(page.name) + ", " + std::to_string(page.page.size()) + " bytes");
    if (!writeNote(state, page.page)) return;
    auto editor = shownEditor();
    show(*editor);
    if (editor->NoteUnreadable()) {
        state.SkipWithError(("the page was refused: " + refusal(*editor)).c_str());
        removeNote(editor);
        return;
    }
    QWidget& box = *editor->Contents()->viewport();
    for (auto _ : state)
        box.repaint();
    state.counters["budget_ms"] = 50;
    removeNote(editor);
}
BENCHMARK(BM_RepaintStackingPage)
    ->DenseRange(0, static_cast<int>(stackingPages().size()) - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
