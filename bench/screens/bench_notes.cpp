#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QUrl>

#include <array>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "ScreenBench.h"
#include "core/AppPaths.h"
#include "core/PageJudge.h"
#include "formats/FileIo.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "platform/PagePictures.h"

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

std::string times(const std::string& part, std::size_t count) {
    std::string out;
    out.reserve(part.size() * count);
    for (std::size_t k = 0; k < count; ++k)
        out += part;
    return out;
}

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

// The pages at each bound of the judge, the worst case of each; `over` goes one past it.
enum PageBound { kTables, kDepth, kElements, kCells, kPictures, kMarkup, kPictureData };

std::string pageAt(int bound, bool over) {
    const page_judge::PageLimits& limits = page_judge::kPageLimits;
    const std::size_t more = over ? 1 : 0;
    switch (bound) {
        case kTables: {
            // Text in the innermost cell, well inside what that depth may hold.
            const std::size_t depth = limits.tableDepth + more;
            const std::size_t text = (limits.markupBytes >> depth) * 3 / 4;
            return withBody(times("<table><tr><td>", depth) + times("text ", text / 5) +
                            times("</td></tr></table>", depth));
        }
        case kDepth: {
            // html, body, 48 pairs and one more: 99 deep, and the elements inside at 100.
            const std::string open = times("<div><b>", (limits.depth - 4) / 2) + "<i>";
            const std::size_t inner = (limits.elements - limits.depth) / 2;
            return withBody(open + (over ? "<i>" : "") + times("<b>x</b>", inner));
        }
        case kElements:
            return withBody(times("<b>x</b>", limits.elements - 2 + more));
        case kCells: {
            // Rows of ten cells: a row counts 2 and its cells 8 each inside the table.
            const std::size_t rows = (limits.elements - 3) / 82 + more;
            return withBody("<table>" + times("<tr>" + times("<td>x", 10), rows));
        }
        case kPictures:
            return withBody(times("<img src=missing.png>", (limits.elements - 2) / 8 + more));
        case kMarkup:
            return withBody(times("lorem ipsum ", (limits.markupBytes - 40) / 12) +
                            (over ? std::string(40, 'x') : std::string()));
        default: {
            const std::string picture = noisePicture();
            const std::size_t count = limits.pictureDataBytes / picture.size() + more;
            std::string page = times("<p><img src=\"" + picture + "\"></p>", count);
            if (over)
                page += "<img src=\"data:" + std::string(limits.pictureDataBytes, 'A') + "\">";
            return withBody(page);
        }
    }
}

constexpr std::array<const char*, 7> kBoundNames = {"tables",   "depth",  "elements",    "cells",
                                                    "pictures", "markup", "picture_data"};

bool writeNote(benchmark::State& state, const std::string& html) {
    const bool written = formats::WriteFileReplacing(
        mod_MyNotes::NotePath(kNoteId),
        std::span(reinterpret_cast<const std::uint8_t*>(html.data()), html.size()));
    if (!written) state.SkipWithError("cannot write the note");
    return written;
}

// Loads the note into a shown editor and paints it, at every iteration; whether the note was
// refused, nothing when it could not be written.
std::optional<bool> timeLoading(benchmark::State& state, const std::string& html) {
    if (!writeNote(state, html)) return std::nullopt;
    auto editor = shownEditor();
    for (auto _ : state) {
        mod_MyNotes::LoadMyNotes(kNoteId, *editor);
        Settle();
    }
    const bool refused = editor->NoteUnreadable();
    editor.reset();
    std::filesystem::remove(mod_MyNotes::NotePath(kNoteId));
    return refused;
}

// A note at one bound of the judge loaded from its file into a shown editor and painted.
void BM_NoteAtBound(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    const int bound = static_cast<int>(state.range(0));
    state.SetLabel(kBoundNames.at(static_cast<std::size_t>(bound)));
    if (timeLoading(state, pageAt(bound, false)) == true)
        state.SkipWithError("the note at the bound was refused");
    state.counters["budget_ms"] = 1000;
}
BENCHMARK(BM_NoteAtBound)->DenseRange(0, 6)->Unit(benchmark::kMillisecond)->Iterations(3);

// One past each bound: refused, shown as unreadable.
void BM_NoteOverBound(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    const int bound = static_cast<int>(state.range(0));
    state.SetLabel(kBoundNames.at(static_cast<std::size_t>(bound)));
    if (timeLoading(state, pageAt(bound, true)) == false)
        state.SkipWithError("the note over the bound was shown");
    state.counters["budget_ms"] = 100;
}
BENCHMARK(BM_NoteOverBound)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

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

}  // namespace
