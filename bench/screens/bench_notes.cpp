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
#include <cmath>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ScreenBench.h"
#include "core/AppPaths.h"
#include "core/PageJudge.h"
#include "formats/FileIo.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "platform/PagePictures.h"
#include "support/CraftedPictures.h"
#include "support/Repeated.h"

namespace {

using screenbench::Settle;
using testsupport::Repeated;

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

// A note file as a user may have it, with what showing it must give.
struct NoteForm {
    const char* name = nullptr;
    std::function<std::string()> page;  // made only when its benchmark runs
    bool shown = true;                  // otherwise refused, shown as unreadable
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

// The costliest page at each bound of the judges, one at all of them together, and the pages
// users met.
std::vector<NoteForm> noteForms() {
    // Pages at about what lays out in half a second, each figure alone.
    constexpr struct {
        std::size_t characters = 1'000'000;
        std::size_t parts = 40'000;
        std::size_t cells = 20'000;
        std::size_t gridCells = 200'000;
        std::size_t pictures = 2'500;
        std::size_t longestRun = 30'000;
        double squeezedRuns = 2.5e7;
    } limits;
    std::vector<NoteForm> forms;
    forms.push_back(
        {"characters",
         [=] { return withBody(Repeated("lorem ipsum ", limits.characters / 12 - 100)); }, true});
    // Each figure's share of its limit adds up: a paragraph is two parts (its block and its one
    // run of text) and a character, a cell also a cell.
    forms.push_back(
        {"paragraphs", [=] { return paragraphs("x", limits.parts / 2 * 96 / 100); }, true});
    forms.push_back(
        {"cells", [=] { return tableOf(limits.cells / 20 * 96 / 100, 10, "x"); }, true});
    forms.push_back({"spanned columns",
                     [=] {
                         return withBody("<table border=1>" +
                                         Repeated("<tr><td colspan=2000>x</td></tr>",
                                                  limits.gridCells / 2000 * 96 / 100) +
                                         "</table>");
                     },
                     true});
    // Room for what is typed after it.
    const std::string longestWord(limits.longestRun - 100, 'w');
    forms.push_back({"longest word", [=] { return paragraphs(longestWord, 1); }, true});
    // A cell squeezed to a letter's width beside many others: its word breaks at every letter.
    const std::string squeezedWord(static_cast<std::size_t>(std::sqrt(limits.squeezedRuns)) - 100,
                                   'w');
    forms.push_back({"word in a squeezed cell",
                     [=] {
                         return withBody("<table border=1><tr>" + Repeated("<td>c</td>", 143) +
                                         "<td>" + squeezedWord + "</td></tr></table>");
                     },
                     true});
    forms.push_back({"height",
                     [=] {
                         return withBody(Repeated(
                             "<p style=\"margin-top:1000px; line-height:1000%\">x</p>", 2'600));
                     },
                     true});
    forms.push_back(
        {"missing pictures",
         [=] { return withBody(Repeated("<img src=missing.png>", limits.pictures * 90 / 100)); },
         true});
    forms.push_back(
        {"tables 10 deep", [=] { return nestedTables(10, Repeated("text ", 300)); }, true});
    forms.push_back({"all together",
                     [=] {
                         return withBody(Repeated("lorem ipsum ", limits.characters / 48) +
                                         Repeated("<p>x</p>", limits.parts / 8) +
                                         "<table border=1>" +
                                         Repeated("<tr>" + Repeated("<td>x</td>", 10) + "</tr>",
                                                  limits.cells / 80) +
                                         "</table><p>" + longestWord + "</p>");
                     },
                     true});
    forms.push_back({"table 200 x 10", [=] { return tableOf(200, 10, "cell text"); }, true});
    forms.push_back(
        {"10,000 one-letter paragraphs", [=] { return paragraphs("x", 10'000); }, true});
    forms.push_back(
        {"line height 1000000%",
         [=] { return withBody(Repeated("<p style=\"line-height:1000000%\">a b c d</p>", 120)); },
         true});
    // The bounds of the page's bytes: what Qt's parser takes.
    const page_judge::PageLimits& bytes = page_judge::kPageLimits;
    forms.push_back({"elements nested 100 deep",
                     [=] {
                         return withBody(Repeated("<div><b>", (bytes.depth - 4) / 2) + "<i>" +
                                         Repeated("<b>x</b> ", 20'000));
                     },
                     true});
    forms.push_back({"200,000 elements",
                     [=] { return withBody(Repeated("<span>x</span> ", bytes.elements / 2 - 10)); },
                     true});
    forms.push_back({"6 MB of data: pictures",
                     [=] {
                         const std::string picture = noisePicture();
                         return withBody(Repeated("<p><img src=\"" + picture + "\"></p>",
                                                  bytes.pictureDataBytes / picture.size()));
                     },
                     true});
    forms.push_back({"colspan 20480",
                     [=] {
                         return withBody("<table border=1>" +
                                         Repeated("<tr><td colspan=20480>x</td></tr>", 1000));
                     },
                     false});
    forms.push_back({"word of 300,000 letters",
                     [=] { return paragraphs(std::string(300'000, 'w'), 1); }, false});
    forms.push_back({"preformatted line of 1,040,000",
                     [=] { return withBody("<pre>" + std::string(1'040'000, 'p') + "</pre>"); },
                     false});
    forms.push_back({"17 nested tables", [=] { return nestedTables(17, "x"); }, false});
    forms.push_back(
        {"16 MB of plain words",
         [=] { return withBody(Repeated("lorem ipsum ", (bytes.pageBytes - 100) / 12)); }, false});
    return forms;
}

const std::vector<NoteForm>& forms() {
    static const std::vector<NoteForm> all = noteForms();
    return all;
}

// The forms that show come first.
int shownForms() {
    return static_cast<int>(std::count_if(forms().begin(), forms().end(),
                                          [](const NoteForm& form) { return form.shown; }));
}

bool writeNote(benchmark::State& state, const std::string& html) {
    const bool written = formats::WriteFileReplacing(
        mod_MyNotes::NotePath(kNoteId),
        std::span(reinterpret_cast<const std::uint8_t*>(html.data()), html.size()));
    if (!written) state.SkipWithError("cannot write the note");
    return written;
}

// Loads the note into the editor and lays it out whole.
void show(NotesEditor& editor) {
    mod_MyNotes::LoadMyNotes(kNoteId, editor);
    editor.Contents()->document()->documentLayout()->documentSize();
    Settle();
}

// A note form loaded from its file into a shown editor, laid out and painted.
void BM_NoteForm(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    const NoteForm& form = forms().at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(form.name);
    if (!writeNote(state, form.page())) return;
    auto editor = shownEditor();
    for (auto _ : state)
        show(*editor);
    if (editor->NoteUnreadable() == form.shown) {
        const std::string shown =
            editor->Contents()->toPlainText().replace(u'\n', u' ').left(300).toStdString();
        state.SkipWithError(form.shown ? ("the note was refused: " + shown).c_str()
                                       : "the note was shown");
    }
    state.counters["budget_ms"] = std::string_view(form.name) == "table 200 x 10" ? 300 : 1000;
    editor.reset();
    std::filesystem::remove(mod_MyNotes::NotePath(kNoteId));
}
BENCHMARK(BM_NoteForm)
    ->DenseRange(0, static_cast<int>(forms().size()) - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// A note form that is shown, after one keystroke: saved, read back and laid out.
void BM_NoteFormEdited(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    const NoteForm& form = forms().at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(form.name);
    if (!form.shown || !writeNote(state, form.page())) return;
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
    state.counters["budget_ms"] = 1000;
    editor.reset();
    std::filesystem::remove(mod_MyNotes::NotePath(kNoteId));
}
BENCHMARK(BM_NoteFormEdited)
    ->DenseRange(0, shownForms() - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// A detailed picture of the costliest kind to decode measured: 16 bits a channel, with alpha
// (four times the time of an 8-bit photograph of the same size), as PNG bytes.
QByteArray costlyPng(int side, int seed) {
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
    return bytes;
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

// Times a note naming `pictures` (files of the notes folder), loaded and painted; `decoded` of
// them must show decoded.
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
        mod_MyNotes::LoadMyNotes(kNoteId, *editor);
        Settle();
    }
    if (decodedPictures(*editor->Contents()) != decoded)
        state.SkipWithError("the pictures did not show as they should");
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
BENCHMARK(BM_ShowNoteNamingOneLargePicture40Times)->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_ShowNoteWithPicturesAtTheBudget)->Unit(benchmark::kMillisecond);

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

}  // namespace
