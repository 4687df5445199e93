#include "pages/PageTrialChild.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <chrono>
#include <set>

#include "formats/FileDescriptor.h"
#include "pages/PageJudge.h"
#include "pages/PagePictures.h"
#include "pages/PageReader.h"
#include "pages/PageTrial.h"
#include "pages/PictureFiles.h"
#include "pages/TrialEnd.h"
#include "pages/TrialServer.h"
#include "pages/WidthsAtOnce.h"
#include "platform/TextCodec.h"

namespace page_trial {

namespace {

// A request holds a page and a few settings.
constexpr std::size_t kLargestRequest = page_judge::kPageLimits.pageBytes + (std::size_t{1} << 20);
constexpr int kNoRequestExit = 2;
// Past its budget the trial's verdict is known: the child ends itself.
constexpr std::chrono::microseconds kBudgetSlack{100'000};

// The fonts of the page last laid out here, each as Qt writes a font to text.
std::vector<std::string>& pageFonts() {
    static std::vector<std::string> fonts;
    return fonts;
}

// A page's first layout in a font costs more than the layout itself: the fonts a trial's page
// used are loaded by the server before it forks the next trial's child.
constexpr std::size_t kFontsTaught = 16;
constexpr std::size_t kFontsLearned = 128;

void notePageFonts(const QTextDocument& document) {
    std::vector<std::string>& fonts = pageFonts();
    fonts.clear();
    for (const QTextFormat& format : document.allFormats()) {
        if (!format.isCharFormat()) continue;
        std::string font =
            format.toCharFormat().font().resolve(document.defaultFont()).toString().toStdString();
        if (std::find(fonts.begin(), fonts.end(), font) != fonts.end()) continue;
        fonts.push_back(std::move(font));
        if (fonts.size() == kFontsTaught) return;
    }
}

// Lays the page out; reading its pictures, whose work has a budget of its own, is left out of
// the trial's time. Returns the processor time its layout took in other processes.
std::chrono::microseconds layOut(const TrialRequest& request, TrialReport& report, TrialEnd& end) {
    const page_reader::PageBox box = page_reader::BoxOf(request);
    const platform::PictureFiles files = page_reader::FilesOf(box.pictures);
    // Decoding has its budget apart from layout's: the trial measures layout alone.
    platform::PagePictures pictures(files, platform::kPagePixelBudget,
                                    platform::PagePictures::Pixels::kSizesOnly);
    // A name that finds nothing now may find a picture later: the verdict holds only as long.
    std::set<std::string> looked;
    const auto document =
        page_reader::ParsePage(platform::toQt(request.page), box, [&](const QUrl& name) {
            if (auto written = files.written(name)) looked.insert(std::move(*written));
            return end.Excluding([&] { return pictures.Load(name); });
        });
    notePageFonts(*document);
    // The program may read the page too while it is laid out here: reading it took this long.
    (void)!::write(STDOUT_FILENO, kPageReadMark.data(), kPageReadMark.size());
    // Nothing is laid out before the first width is set: at no width at all, a page's layout
    // can cost more than at any the box takes, and it is not the box's.
    document->setPageSize(QSizeF(0, 0));
    // Lengths in pixels scale with the box's resolution where it differs from this screen's.
    QImage device(1, 1, QImage::Format_ARGB32);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || qRound(screen->logicalDotsPerInchX()) != request.dpiX ||
        qRound(screen->logicalDotsPerInchY()) != request.dpiY) {
        constexpr double kInchesPerMetre = 1 / 0.0254;
        device.setDotsPerMeterX(qRound(request.dpiX * kInchesPerMetre));
        device.setDotsPerMeterY(qRound(request.dpiY * kInchesPerMetre));
        document->documentLayout()->setPaintDevice(&device);
    }
    const auto layOutAt = [&document](int width) {
        document->setTextWidth(width);
        (void)document->documentLayout()->documentSize();
    };
    std::vector<int> here = request.widths;
    std::chrono::microseconds elsewhere{};
    std::set<std::string> read;
    if (here.size() > 1 && request.page.size() >= kWidthsAtOnceBytes) {
        WidthsLaidOut atOnce = LayOutWidthsAtOnce(here, end, end.Left(), layOutAt, [&] {
            return WidthFindings{pictures.FilesRead(), {looked.begin(), looked.end()}};
        });
        elsewhere = atOnce.laidOut;
        if (atOnce.tooSlow) return elsewhere;
        read = std::move(atOnce.pictureFiles);
        looked.merge(atOnce.namesLookedFor);
        here = std::move(atOnce.left);
    }
    for (const int width : here)
        layOutAt(width);
    const std::vector<std::string> readHere = pictures.FilesRead();
    read.insert(readHere.begin(), readHere.end());
    for (const std::string& file : read)
        report.pictureFiles.push_back(
            request.pictures == PictureRule::kInsideFolder
                ? (std::filesystem::path(request.pictureFolder) / file).string()
                : file);
    report.namesLookedFor.assign(looked.begin(), looked.end());
    return elsewhere;
}

// A request may allow less memory than every trial has (kTrialMemory): the cap the server set
// comes down by the difference.
void lowerMemoryCap(std::uint64_t bytes) {
    rlimit space{};
    if (bytes == 0 || bytes >= kTrialMemory || ::getrlimit(RLIMIT_AS, &space) != 0 ||
        space.rlim_cur == RLIM_INFINITY)
        return;
    space.rlim_cur = space.rlim_max = space.rlim_cur - (kTrialMemory - bytes);
    ::setrlimit(RLIMIT_AS, &space);
}

// The fonts the server loaded for earlier trials' pages.
std::vector<std::string>& learnedFonts() {
    static std::vector<std::string> fonts;
    return fonts;
}

void layOutLetters(const QFont& font) {
    static const QString kLetters = [] {
        QString letters;
        for (char16_t c = u' '; c <= u'~'; ++c)
            letters += QChar(c);
        return letters;
    }();
    QTextLayout layout(kLetters, font);
    layout.beginLayout();
    while (layout.createLine().isValid()) {
    }
    layout.endLayout();
}

}  // namespace

void PrepareTrials() {
    // What most pages use (their fonts and glyphs, the layout's own structures), loaded before
    // a trial waits for it.
    QTextDocument document;
    document.setHtml(QStringLiteral(
        "<style>.c { color: #0b5394; }</style><h2>A heading</h2><p class=c>A <b>few</b> "
        "<i>words</i>, <u>underlined</u>, <code>code</code>, a <a href=\"#x\">link</a> and "
        "numbers 0123456789.</p><ul><li>a list</li></ul><ol><li>counted</li></ol>"
        "<table border=1><tr><td>a cell</td><td>another</td></tr></table><pre>fixed</pre>"));
    for (const int width : {400, 380}) {
        document.setTextWidth(width);
        (void)document.documentLayout()->documentSize();
    }
    // A child's pages of those fonts become its own here rather than during its trial.
    for (const std::string& learned : learnedFonts()) {
        QFont font;
        if (font.fromString(QString::fromStdString(learned))) layOutLetters(font);
    }
}

std::string TrialLesson() {
    std::string lesson;
    for (const std::string& font : pageFonts())
        if (lesson.size() + font.size() + 1 <= kLargestLesson) lesson += font + '\n';
    return lesson;
}

void LearnFromTrial(std::string_view lesson) {
    for (std::size_t from = 0; from < lesson.size() && learnedFonts().size() < kFontsLearned;) {
        const std::size_t end = std::min(lesson.find('\n', from), lesson.size());
        const std::string_view line = lesson.substr(from, end - from);
        from = end + 1;
        QFont font;
        if (std::find(learnedFonts().begin(), learnedFonts().end(), line) != learnedFonts().end() ||
            !font.fromString(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()))))
            continue;
        learnedFonts().emplace_back(line);
        layOutLetters(font);
    }
}

int RunChild() {
    const auto input = formats::ReadToEnd(STDIN_FILENO, kLargestRequest);
    const auto request = input ? DecodeRequest(*input) : std::nullopt;
    if (!request) return kNoRequestExit;
    lowerMemoryCap(request->memoryBytes);
    TrialEnd end(std::chrono::microseconds(request->budgetMicros) + kBudgetSlack);
    const auto start = ProcessorTime();
    TrialReport report;
    std::chrono::microseconds elsewhere{};
    if (request->kind == TrialKind::kMarkdown) {
        QTextDocument document;
        document.setMarkdown(QString::fromStdString(request->page));
        report.html = document.toHtml().toStdString();
    } else if (auto refusal = page_judge::JudgePage(request->page)) {
        report.refusal = page_refusals::Reason(*refusal, page_refusals::Subject::kPage);
    } else {
        elsewhere = layOut(*request, report, end);
    }
    if (!report.refusal)
        report.laidOutMicros = (ProcessorTime() - start - end.Excluded() + elsewhere).count();
    return formats::WriteAll(STDOUT_FILENO, Encode(report)) ? 0 : 1;
}

}  // namespace page_trial
