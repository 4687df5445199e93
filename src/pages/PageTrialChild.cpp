#include "pages/PageTrialChild.h"

#include <signal.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTextDocument>

#include <array>
#include <chrono>
#include <fstream>
#include <new>
#include <set>

#include "pages/PageJudge.h"
#include "pages/PagePictures.h"
#include "pages/PageReader.h"
#include "pages/PageTrial.h"
#include "pages/PictureFiles.h"
#include "platform/TextCodec.h"

namespace page_trial {

namespace {

// A request holds a page and a few settings.
constexpr std::size_t kLargestRequest = page_judge::kPageLimits.pageBytes + (std::size_t{1} << 20);
constexpr int kNoRequestExit = 2;
// Past its budget the trial's verdict is known: the child ends itself.
constexpr std::chrono::microseconds kBudgetSlack{100'000};

std::chrono::microseconds processorTime() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::duration_cast<std::chrono::microseconds>(
                                                  std::chrono::nanoseconds(now.tv_nsec));
}

std::optional<std::string> readRequest() {
    std::string input;
    std::array<char, 65536> buffer{};
    while (true) {
        const ssize_t n = ::read(STDIN_FILENO, buffer.data(), buffer.size());
        if (n == 0) return input;
        if (n < 0) return std::nullopt;
        input.append(buffer.data(), static_cast<std::size_t>(n));
        if (input.size() > kLargestRequest) return std::nullopt;
    }
}

void limitMemory(std::uint64_t memory) {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    statm >> pages;
    const rlim_t limit = pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE)) + memory;
    const rlimit space{limit, limit};
    ::setrlimit(RLIMIT_AS, &space);
    std::set_new_handler([] { ::_exit(kOutOfMemoryExit); });
}

// Ends the child once its processor time passes the layout's budget; the time spent reading
// pictures, which have a budget of their own, moves the end along.
class End {
public:
    explicit End(std::chrono::microseconds budget) : at_(processorTime() + budget + kBudgetSlack) {
        sigevent event{};
        event.sigev_notify = SIGEV_SIGNAL;
        event.sigev_signo = SIGKILL;
        armed_ = ::timer_create(CLOCK_PROCESS_CPUTIME_ID, &event, &timer_) == 0;
        arm();
    }
    End(const End&) = delete;
    End& operator=(const End&) = delete;
    ~End() {
        if (armed_) ::timer_delete(timer_);
    }

    void Postpone(std::chrono::microseconds by) {
        at_ += by;
        arm();
    }

private:
    void arm() {
        if (!armed_) return;
        itimerspec when{};
        when.it_value.tv_sec = static_cast<time_t>(at_.count() / 1'000'000);
        when.it_value.tv_nsec = static_cast<long>(at_.count() % 1'000'000 * 1000);
        ::timer_settime(timer_, TIMER_ABSTIME, &when, nullptr);
    }

    std::chrono::microseconds at_;
    timer_t timer_{};
    bool armed_ = false;
};

// Lays the page out; the processor time spent reading its pictures, whose work has a budget of
// its own, is added to `pictureTime` and does not bring the end nearer.
void layOut(const TrialRequest& request, TrialReport& report,
            std::chrono::microseconds& pictureTime, End& end) {
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
            const auto start = processorTime();
            QVariant picture = pictures.Load(name);
            const auto spent = processorTime() - start;
            pictureTime += spent;
            end.Postpone(spent);
            return picture;
        });
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
    for (const int width : request.widths) {
        document->setTextWidth(width);
        (void)document->documentLayout()->documentSize();
    }
    for (const std::string& file : pictures.FilesRead())
        report.pictureFiles.push_back(
            request.pictures == PictureRule::kInsideFolder
                ? (std::filesystem::path(request.pictureFolder) / file).string()
                : file);
    report.namesLookedFor.assign(looked.begin(), looked.end());
}

}  // namespace

int RunChild() {
    const auto input = readRequest();
    const auto request = input ? DecodeRequest(*input) : std::nullopt;
    if (!request) return kNoRequestExit;
    limitMemory(request->memoryBytes);
    End end(std::chrono::microseconds(request->budgetMicros));
    const auto start = processorTime();
    std::chrono::microseconds pictureTime{};
    TrialReport report;
    if (request->kind == TrialKind::kMarkdown) {
        QTextDocument document;
        document.setMarkdown(QString::fromStdString(request->page));
        report.html = document.toHtml().toStdString();
    } else if (auto refusal = page_judge::JudgePage(request->page)) {
        report.refusal = std::move(refusal);
    } else {
        layOut(*request, report, pictureTime, end);
    }
    if (!report.refusal) report.laidOutMicros = (processorTime() - start - pictureTime).count();
    const std::string answer = Encode(report);
    std::size_t written = 0;
    while (written < answer.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, answer.data() + written, answer.size() - written);
        if (n <= 0) return 1;
        written += static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace page_trial
