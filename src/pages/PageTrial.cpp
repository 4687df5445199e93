#include "pages/PageTrial.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <deque>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "pages/ChildProgram.h"
#include "pages/PageJudge.h"

namespace page_trial {

namespace {

using std::chrono::milliseconds;

constexpr std::string_view kChildName = "exam-simulator-page-trial";
// Starting the child and its fonts takes 30 to 50 ms here. The child ends itself once past
// its processor time; the wall clock only bounds a child that gets no processor, which on a busy
// machine takes a while.
constexpr milliseconds kStartAllowance{10'000 * kSlowdown};
constexpr int kDeadlineMargin = 4;
constexpr std::size_t kKeptVerdicts = 64;
// A report names its pictures and, for Markdown, holds the page it read into.
constexpr std::size_t kLargestReport = std::size_t{64} << 20;

// A picture file as it was when the trial read it: a verdict holds while each is unchanged.
struct FileState {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool operator==(const FileState& other) const {
        return path == other.path && device == other.device && inode == other.inode &&
               size == other.size && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

FileState stateOf(const std::string& path) {
    FileState state{path};
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        state.device = info.st_dev;
        state.inode = info.st_ino;
        state.size = info.st_size;
        state.modified = info.st_mtim;
    }
    return state;
}

struct Verdict {
    std::size_t requestSize = 0;
    std::optional<page_refusals::Refusal> refusal;
    std::vector<FileState> pictures;
};

struct Verdicts {
    std::unordered_map<std::size_t, Verdict> byRequest;
    std::deque<std::size_t> order;
    std::size_t started = 0;
    std::optional<std::filesystem::path> program;
};

Verdicts& verdicts() {
    static Verdicts kept;
    return kept;
}

std::filesystem::path besideThisProgram() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path beside =
        (ec ? std::filesystem::path() : self.parent_path()) / kChildName;
    if (std::filesystem::exists(beside, ec)) return beside;
    return EXAMSIM_BUILT_PAGE_TRIAL;
}

// Runs the child: its report, or why there is none (and whether that would be so again).
struct Outcome {
    std::optional<TrialReport> report;
    page_refusals::Refusal refusal;
    bool lasting = false;
};

Outcome runChild(const TrialRequest& request) {
    const std::filesystem::path program = ChildProgram();
    ++verdicts().started;
    const milliseconds deadline =
        kStartAllowance + kDeadlineMargin * std::chrono::duration_cast<milliseconds>(kLayoutBudget);
    const platform::ChildRun run =
        platform::RunOnTrialServer(program, Encode(request), deadline, kLargestReport);
    Outcome outcome;
    using page_refusals::Cause;
    const page_refusals::Refusal tooSlow(Cause::kTooSlow,
                                         static_cast<std::uint64_t>(kLayoutBudget.count()));
    switch (run.end) {
        case platform::ChildRun::End::kNotStarted:
            outcome.refusal = {Cause::kCheckerMissing, 0};
            outcome.refusal.program = program.string();
            outcome.refusal.failure = run.failure;
            return outcome;
        case platform::ChildRun::End::kLate:
            outcome.refusal = {Cause::kCheckLate, static_cast<std::uint64_t>(
                                                      std::chrono::microseconds(deadline).count())};
            return outcome;
        case platform::ChildRun::End::kSignalled:
            // The child ends itself once over its budget.
            outcome.lasting = true;
            outcome.refusal =
                run.processorTime >= kLayoutBudget ? tooSlow : page_refusals::Refusal{};
            return outcome;
        case platform::ChildRun::End::kExited:
            break;
    }
    outcome.lasting = true;
    if (run.status == kOutOfMemoryExit) {
        outcome.refusal = {Cause::kTooMuchMemory, kTrialMemory};
        return outcome;
    }
    outcome.report = run.status == 0 ? DecodeReport(run.output) : std::nullopt;
    if (!outcome.report) {
        outcome.refusal = {};
    } else if (outcome.report->refusal) {
        // The child's byte judge is the program's own: its verdict is the same here.
        outcome.refusal = page_judge::JudgePage(request.page).value_or(page_refusals::Refusal{});
        outcome.report.reset();
    } else if (outcome.report->laidOutMicros.value_or(0) >
               static_cast<std::uint64_t>(kLayoutBudget.count())) {
        outcome.refusal = tooSlow;
        outcome.report.reset();
    }
    return outcome;
}

void keep(std::size_t key, Verdict verdict) {
    Verdicts& kept = verdicts();
    if (kept.byRequest.size() >= kKeptVerdicts) {
        kept.byRequest.erase(kept.order.front());
        kept.order.pop_front();
    }
    if (kept.byRequest.insert_or_assign(key, std::move(verdict)).second) kept.order.push_back(key);
}

}  // namespace

void SetChildProgram(std::filesystem::path program) {
    verdicts().program = std::move(program);
}

std::filesystem::path ChildProgram() {
    auto& program = verdicts().program;
    if (!program) program = besideThisProgram();
    return *program;
}

std::optional<page_refusals::Refusal> TryPage(TrialRequest request) {
    request.kind = TrialKind::kPage;
    request.budgetMicros = static_cast<std::uint32_t>(kLayoutBudget.count());
    const std::string encoded = Encode(request);
    const std::size_t key = std::hash<std::string_view>()(encoded);
    Verdicts& kept = verdicts();
    if (const auto found = kept.byRequest.find(key);
        found != kept.byRequest.end() && found->second.requestSize == encoded.size()) {
        const Verdict& verdict = found->second;
        bool unchanged = true;
        for (const FileState& picture : verdict.pictures)
            unchanged = unchanged && stateOf(picture.path) == picture;
        if (unchanged) return verdict.refusal;
    }
    Outcome outcome = runChild(request);
    if (outcome.lasting) {
        Verdict verdict{encoded.size(), std::nullopt, {}};
        if (outcome.report) {
            for (const std::string& file : outcome.report->pictureFiles)
                verdict.pictures.push_back(stateOf(file));
        } else {
            verdict.refusal = outcome.refusal;
        }
        keep(key, std::move(verdict));
    }
    if (outcome.report) return std::nullopt;
    return outcome.refusal;
}

std::optional<std::string> MarkdownPage(std::string markdown, page_refusals::Refusal& refusal) {
    TrialRequest request;
    request.kind = TrialKind::kMarkdown;
    request.page = std::move(markdown);
    request.budgetMicros = static_cast<std::uint32_t>(kLayoutBudget.count());
    Outcome outcome = runChild(request);
    if (!outcome.report) {
        refusal = outcome.refusal;
        return std::nullopt;
    }
    return std::move(outcome.report->html);
}

std::size_t TrialsStarted() {
    return verdicts().started;
}

void ForgetVerdicts() {
    verdicts().byRequest.clear();
    verdicts().order.clear();
}

}  // namespace page_trial
