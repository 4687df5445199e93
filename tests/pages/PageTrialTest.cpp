#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QImage>
#include <QStyle>
#include <QTextEdit>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#include "pages/PageReader.h"
#include "pages/PageRefusals.h"
#include "pages/PageTrial.h"
#include "pages/WidthsAtOnce.h"
#include "support/CraftedPictures.h"
#include "support/Repeated.h"
#include "support/TempProgramFolder.h"

namespace {

using testsupport::Repeated;

formats::Bytes pngOf(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QByteArray bytes = testsupport::Encoded(image, "PNG");
    return {bytes.begin(), bytes.end()};
}

struct PageTrialTest : ::testing::Test {
    testsupport::TempProgramFolder folder;
    QTextEdit box;
    std::filesystem::path program = page_trial::ChildProgram();

    PageTrialTest() {
        box.resize(470, 300);
        page_trial::ForgetVerdicts();
    }
    ~PageTrialTest() override { page_trial::SetChildProgram(program); }

    page_reader::PageBox boxOfFolder() {
        return page_reader::BoxOf(box, {page_trial::PictureRule::kAnywhere, folder.path()});
    }
    std::optional<page_refusals::Refusal> judge(const std::string& page) {
        return page_reader::JudgePage(page, boxOfFolder(), page_trial::Standing::kAlreadyHeld);
    }
};

// Moving back and forth between pages tries each once; a picture the page showed that
// changed since, or another width, is tried again.
TEST_F(PageTrialTest, APageIsTriedOnceUntilWhatDecidedItChanges) {
    testsupport::WriteFile(folder.path() / "p.png", pngOf(40, 30));
    const std::string page = "<p>" + Repeated("a few words ", 30) + "<img src=\"p.png\"></p>";
    const std::string other = "<p>" + Repeated("other words ", 30) + "</p>";
    const std::size_t before = page_trial::TrialsStarted();
    const auto tried = [&] { return page_trial::TrialsStarted() - before; };

    EXPECT_EQ(judge(page), std::nullopt);
    EXPECT_EQ(judge(other), std::nullopt);
    EXPECT_EQ(judge(page), std::nullopt);
    EXPECT_EQ(judge(other), std::nullopt);
    EXPECT_EQ(tried(), 2u);

    testsupport::WriteFile(folder.path() / "p.png", pngOf(40, 31));
    EXPECT_EQ(judge(page), std::nullopt);
    EXPECT_EQ(judge(other), std::nullopt);
    EXPECT_EQ(tried(), 3u);

    box.resize(300, 300);
    EXPECT_EQ(judge(other), std::nullopt);
    EXPECT_EQ(tried(), 4u);

    // A small page needs no trial, unless it holds what its size does not bound: a table (41
    // bytes of spanned cells take seconds) or a picture, in the text or behind it.
    EXPECT_EQ(judge("<p>short</p>"), std::nullopt);
    EXPECT_EQ(tried(), 4u);
    for (const char* small : {"<table><tr><td>x</td></tr></table>", "<body background=p.png>x",
                              "<p><img src=p.png></p>"}) {
        const std::size_t triedBefore = tried();
        EXPECT_EQ(judge(small), std::nullopt) << small;
        EXPECT_EQ(tried(), triedBefore + 1) << small;
    }
}

// Nothing that needs a trial is shown untried: without the child such a page is refused
// with that reason, and what needs none still shows.
TEST_F(PageTrialTest, WithoutItsChildOnlyPagesThatNeedNoTrialShow) {
    page_trial::SetChildProgram(folder.path() / "no-such-program");
    testsupport::WriteFile(folder.path() / "p.png", pngOf(4, 3));
    const auto refusal = judge("<p>" + Repeated("a few words ", 30) + "</p>");
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->cause, page_refusals::Cause::kCheckerMissing);
    EXPECT_EQ(refusal->program, (folder.path() / "no-such-program").string());
    EXPECT_TRUE(judge("<img src=\"p.png\">"));
    EXPECT_EQ(judge("<p>short</p>"), std::nullopt);

    // The verdict was not kept: with its child back the page is shown.
    page_trial::SetChildProgram(program);
    EXPECT_EQ(judge("<p>" + Repeated("a few words ", 30) + "</p>"), std::nullopt);
}

// libstdc++'s hash of bytes (MurmurHash64A with a fixed seed), undone block by block: the
// block that brings a second string's hash back to the first's.
constexpr std::uint64_t kMul = 0xc6a4a7935bd1e995ULL;
constexpr std::uint64_t kSeed = 0xc70f6907ULL;

std::uint64_t inverse(std::uint64_t odd) {
    std::uint64_t x = odd;
    for (int k = 0; k < 6; ++k)
        x *= 2 - odd * x;
    return x;
}
std::uint64_t shiftMix(std::uint64_t v) {
    return v ^ (v >> 47);
}
std::uint64_t mixed(std::uint64_t block) {
    return shiftMix(block * kMul) * kMul;
}
std::uint64_t unmixed(std::uint64_t data) {
    return shiftMix(data * inverse(kMul)) * inverse(kMul);
}
std::uint64_t blockAt(const std::string& bytes, std::size_t at) {
    std::uint64_t block = 0;
    std::memcpy(&block, bytes.data() + at, sizeof block);
    return block;
}
// The hash's state after the blocks before `end`.
std::uint64_t stateBefore(const std::string& bytes, std::size_t end) {
    std::uint64_t hash = kSeed ^ (bytes.size() * kMul);
    for (std::size_t at = 0; at < end; at += 8)
        hash = (hash ^ mixed(blockAt(bytes, at))) * kMul;
    return hash;
}

// `cheap` with its two blocks at `at` replaced so that its std::hash is the same.
std::string collidingWith(const std::string& cheap, std::size_t at, std::uint64_t firstBlock) {
    const std::uint64_t before = stateBefore(cheap, at);
    const std::uint64_t cheapAfter = (before ^ mixed(blockAt(cheap, at))) * kMul;
    const std::uint64_t otherAfter = (before ^ mixed(firstBlock)) * kMul;
    const std::uint64_t second = unmixed(cheapAfter ^ otherAfter ^ mixed(blockAt(cheap, at + 8)));
    std::string other = cheap;
    std::memcpy(other.data() + at, &firstBlock, 8);
    std::memcpy(other.data() + at + 8, &second, 8);
    return other;
}

// Two requests whose std::hash and length are the same each get their own verdict: a page that
// hides tables in a comment, and one whose comment is never opened.
TEST_F(PageTrialTest, RequestsOfTheSameStdHashGetTheirOwnVerdicts) {
    page_trial::TrialRequest request = page_reader::RequestFor("", boxOfFolder());
    request.budgetMicros = static_cast<std::uint32_t>(page_trial::CurrentLimits().comingIn.count());
    const std::string tail = Repeated("<table><tr><td>", 17) + "x-->" + Repeated(" words", 20);
    const std::string opening = "<!--abcdefghijkl";
    // The page after `padding`, encoded.
    const auto encodedWith = [&](const std::string& padding) {
        request.page = padding;
        request.page += opening;
        request.page += tail;
        return page_trial::Encode(request);
    };
    // The comment's opening on a block of its own.
    std::string padding = "<p>";
    while ((encodedWith(padding).find(opening) % 8) != 0)
        padding += ' ';
    const std::string cheap = encodedWith(padding);
    const std::size_t at = cheap.find(opening);
    std::string costly;
    for (char variant = 'a'; variant <= 'z' && costly.empty(); ++variant) {
        std::uint64_t first = 0;
        std::memcpy(&first, (std::string("<b>abcd") + variant).data(), 8);
        const std::string candidate = collidingWith(cheap, at, first);
        const std::string_view second(candidate.data() + at + 8, 8);
        if (second.find_first_of("<>-!") == std::string_view::npos) costly = candidate;
    }
    ASSERT_FALSE(costly.empty());
    ASSERT_EQ(std::hash<std::string_view>()(cheap), std::hash<std::string_view>()(costly));
    ASSERT_EQ(cheap.size(), costly.size());

    const auto costlyRequest = page_trial::DecodeRequest(costly);
    ASSERT_TRUE(costlyRequest);
    request = *page_trial::DecodeRequest(cheap);
    EXPECT_EQ(page_trial::TryPage(request, page_trial::Standing::kComingIn), std::nullopt);
    const auto refusal = page_trial::TryPage(*costlyRequest, page_trial::Standing::kComingIn);
    ASSERT_TRUE(refusal);
    const std::string said = page_refusals::Reason(*refusal, page_refusals::Subject::kPage);
    EXPECT_NE(said.find("inside one another"), std::string::npos) << said;
}

// A page's pictures as its trial found them decide its verdict: a name that finds a picture,
// finds another, or finds one rewritten in place since (size and modification time restored),
// brings the trial again.
TEST_F(PageTrialTest, APictureThatChangesAfterItsTrialBringsTheTrialAgain) {
    const auto small = pngOf(4, 3);
    const auto tall = pngOf(4, 300);
    const auto p = [&](const char* name) { return folder.path() / name; };
    struct Row {
        const char* what;
        std::function<void()> before;
        std::function<void()> change;
        std::size_t trials;
    };
    const Row rows[] = {
        {"nothing changes", [&] { testsupport::WriteFile(p("pic.png"), small); }, [] {}, 1},
        {"the picture appears", [&] { std::filesystem::remove(p("pic.png")); },
         [&] { testsupport::WriteFile(p("pic.png"), small); }, 2},
        {"the link is pointed elsewhere",
         [&] {
             std::filesystem::remove(p("pic.png"));
             testsupport::WriteFile(p("a.png"), small);
             testsupport::WriteFile(p("b.png"), tall);
             std::filesystem::create_symlink("a.png", p("pic.png"));
         },
         [&] {
             std::filesystem::remove(p("pic.png"));
             std::filesystem::create_symlink("b.png", p("pic.png"));
         },
         2},
        {"the file is rewritten in place",
         [&] {
             std::filesystem::remove(p("pic.png"));
             testsupport::WriteFile(p("pic.png"), small);
         },
         [&] {
             struct stat was {};
             ASSERT_EQ(::stat(p("pic.png").c_str(), &was), 0);
             auto other = small;
             other.back() ^= 1;
             const int fd = ::open(p("pic.png").c_str(), O_WRONLY);
             ASSERT_GE(fd, 0);
             EXPECT_EQ(::pwrite(fd, other.data(), other.size(), 0),
                       static_cast<ssize_t>(other.size()));
             ::close(fd);
             const timespec times[2] = {was.st_atim, was.st_mtim};
             ASSERT_EQ(::utimensat(AT_FDCWD, p("pic.png").c_str(), times, 0), 0);
         },
         2},
    };
    int k = 0;
    // A large page's widths are laid out at once, each in a process of its own.
    for (const std::size_t words : {std::size_t{30}, page_trial::kWidthsAtOnceBytes / 10}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.what);
            SCOPED_TRACE(words);
            row.before();
            const std::string page = "<p>" + Repeated("a few words ", words) + std::to_string(++k) +
                                     "<img src=\"pic.png\"></p>";
            const std::size_t before = page_trial::TrialsStarted();
            EXPECT_EQ(judge(page), std::nullopt);
            row.change();
            EXPECT_EQ(judge(page), std::nullopt);
            EXPECT_EQ(page_trial::TrialsStarted() - before, row.trials);
        }
    }
}

// What the child is asked to lay out is what the box lays out: its font, its margin, and the
// widths it lays the page out at with and without its scroll bar, one of which is Qt's own.
TEST_F(PageTrialTest, TheRequestCarriesTheBoxAsQtLaysItOut) {
    struct Row {
        const char* what;
        QSize size;
        QFont font;
        qreal margin;
        Qt::ScrollBarPolicy bar;
        int lines;
    };
    const Row rows[] = {
        {"short, with a bar when needed",
         {470, 300},
         QFont("Serif", 14),
         4,
         Qt::ScrollBarAsNeeded,
         1},
        {"long, with a bar when needed",
         {470, 300},
         QFont("Sans Serif", 13),
         8,
         Qt::ScrollBarAsNeeded,
         200},
        {"long, never a bar", {300, 200}, QFont("Monospace", 11), 12, Qt::ScrollBarAlwaysOff, 200},
        {"long, always a bar", {350, 250}, QFont("Serif", 10), 0, Qt::ScrollBarAlwaysOn, 200},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTextEdit shown;
        shown.resize(row.size);
        shown.setVerticalScrollBarPolicy(row.bar);
        shown.document()->setDefaultFont(row.font);
        shown.show();
        const std::string page = Repeated("<p>line</p>", static_cast<std::size_t>(row.lines));
        const auto box = page_reader::BoxOf(shown, {}, row.margin);
        const page_trial::TrialRequest request = page_reader::RequestFor(page, box);
        EXPECT_EQ(request.font, row.font.toString().toStdString());
        EXPECT_NE(request.font, QFont().toString().toStdString());
        EXPECT_EQ(request.documentMargin, row.margin);
        const int inside = shown.contentsRect().width();
        const int bar = shown.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &shown);
        const std::vector<int> expected = row.bar == Qt::ScrollBarAlwaysOff
                                              ? std::vector<int>{inside}
                                              : std::vector<int>{inside, inside - bar};
        EXPECT_EQ(request.widths, expected);

        page_reader::ShowDocument(shown,
                                  page_reader::ParsePage(QString::fromStdString(page), box,
                                                         [](const QUrl&) { return QVariant(); }));
        (void)shown.document()->documentLayout()->documentSize();
        QApplication::processEvents();
        const int laidOut = static_cast<int>(shown.document()->textWidth());
        EXPECT_NE(std::find(request.widths.begin(), request.widths.end(), laidOut),
                  request.widths.end())
            << laidOut;
        EXPECT_EQ(shown.document()->documentMargin(), row.margin);
    }
}

// The child lays the page out at every width of the box and at the box's resolution: a page
// that is short at one width, or at one resolution, and past where Qt's layout ends at another
// is refused.
TEST_F(PageTrialTest, TheChildLaysOutAtEveryWidthAndTheBoxsResolution) {
    const std::string wrapped =
        "<p style=\"line-height:1000px\">" + Repeated("x ", 10'000) + "</p>";
    const std::string tall = "<p style=\"line-height:1000px\">" + Repeated("x<br>", 200) + "</p>";
    // Large enough for its widths to be laid out at once.
    const std::string large = "<p style=\"line-height:1000px\">" +
                              Repeated("x ", page_trial::kWidthsAtOnceBytes / 2) + "</p>";
    struct Row {
        const char* what;
        const std::string& page;
        std::vector<int> widths;
        int dpi;
        bool shown;
    };
    const Row rows[] = {
        {"wrapped, wide", wrapped, {2000}, 96, true},
        {"wrapped, wide then narrow", wrapped, {2000, 1}, 96, false},
        {"tall lines, at 96 dpi", tall, {470}, 96, true},
        {"tall lines, at 9,600 dpi", tall, {470}, 9600, false},
        {"large, wide twice", large, {2000, 1990}, 96, true},
        {"large, wide then narrow", large, {2000, 1}, 96, false},
        {"large, narrow then wide", large, {1, 2000}, 96, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        page_trial::TrialRequest request = page_reader::RequestFor(row.page, boxOfFolder());
        request.widths = row.widths;
        request.dpiX = request.dpiY = row.dpi;
        const auto refusal = page_trial::TryPage(request, page_trial::Standing::kComingIn);
        EXPECT_EQ(!refusal, row.shown)
            << (refusal ? page_refusals::Reason(*refusal, page_refusals::Subject::kPage) : "shown");
    }
}

// The child holds itself to the memory it may take: an ordinary page that needs more than that
// is refused for it, whether its reading or its layout runs out (Qt's text engine would give a
// layout up silently, in a moment).
// The sanitizers' allocator reports what it cannot get rather than giving it back: there, the
// server's own tests show the cap.
#ifndef EXAMSIM_INSTRUMENTED
TEST_F(PageTrialTest, TheChildKeepsWithinItsMemory) {
    const page_trial::Limits limits = page_trial::CurrentLimits();
    const std::string few = "<p>" + Repeated("a few words ", 20'000) + "</p>";
    const std::string many = "<p>" + Repeated("a few words ", 350'000) + "</p>";
    struct Row {
        const std::string& page;
        std::uint64_t memory;
        bool shown;
    };
    const Row rows[] = {{few, limits.memory, true},
                        {few, std::uint64_t{1} << 20, false},
                        {many, std::uint64_t{100} << 20, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.memory);
        const std::string& page = row.page;
        page_trial::Limits held = limits;
        held.memory = row.memory;
        page_trial::SetLimits(held);
        const auto refusal = judge(page);
        page_trial::SetLimits(limits);
        EXPECT_EQ(!refusal, row.shown)
            << (refusal ? page_refusals::Reason(*refusal, page_refusals::Subject::kPage) : "shown");
        if (refusal) {
            EXPECT_EQ(refusal->cause, page_refusals::Cause::kTooMuchMemory);
        }
    }
}
#endif

}  // namespace
