#include "pages/PageTrial.h"

#include <string_view>
#include <utility>

#include "pages/ChildProgram.h"
#include "pages/PageVerdicts.h"

namespace page_trial {

namespace {

using std::chrono::milliseconds;

constexpr std::string_view kChildName = "exam-simulator-page-trial";
// The child ends itself once past its processor time; the wall clock allows it as many times
// that again, on a busy machine.
constexpr int kDeadlineMargin = 4;
// A report names its pictures and, for Markdown, holds the page it read into.
constexpr std::size_t kLargestReport = std::size_t{64} << 20;

struct Verdicts {
    std::size_t started = 0;
    std::optional<std::filesystem::path> program;
    Limits limits;
};

Verdicts& verdicts() {
    static Verdicts kept;
    return kept;
}

// A figure given in tenths, as the user reads it: "2", "0.5".
std::string decimal(std::uint64_t tenths) {
    return std::to_string(tenths / 10) + (tenths % 10 ? "." + std::to_string(tenths % 10) : "");
}

std::string seconds(std::chrono::microseconds time) {
    return decimal(static_cast<std::uint64_t>(time.count() / 100'000));
}

// Only the child of this very build: one found elsewhere may be of any version.
std::string gigabytes(std::uint64_t bytes) {
    return decimal(bytes * 10 >> 30);
}

std::filesystem::path besideThisProgram() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (ec ? std::filesystem::path() : self.parent_path()) / kChildName;
}

// Runs the child: its report, or why there is none (and whether that would be so again).
struct Outcome {
    std::optional<TrialReport> report;
    std::string refusal;
    bool lasting = false;
};

Outcome runChild(const TrialRequest& request) {
    const std::filesystem::path program = ChildProgram();
    ++verdicts().started;
    const std::chrono::microseconds budget(request.budgetMicros);
    const milliseconds deadline =
        verdicts().limits.startAllowance +
        kDeadlineMargin * std::chrono::duration_cast<milliseconds>(budget);
    const platform::ChildRun run =
        platform::RunChildProgram(program, Encode(request), deadline, kLargestReport);
    Outcome outcome;
    const std::string tooSlow = "It takes longer than " + seconds(budget) +
                                " seconds to lay out; shorter text or fewer, smaller tables "
                                "would show in time.";
    switch (run.end) {
        case platform::ChildRun::End::kNotStarted:
            outcome.refusal =
                "It cannot be laid out on trial before it is shown: " + program.string() +
                " cannot be started (" + run.failure + ").";
            return outcome;
        case platform::ChildRun::End::kLate:
            outcome.refusal = "It could not be laid out on trial within " + seconds(deadline) +
                              " seconds; the computer may be busy.";
            return outcome;
        case platform::ChildRun::End::kSignalled:
            // The child ends itself once over its budget.
            outcome.lasting = true;
            outcome.refusal = run.processorTime >= budget ? tooSlow : "Laying it out failed.";
            return outcome;
        case platform::ChildRun::End::kExited:
            break;
    }
    outcome.lasting = true;
    if (run.status == kOutOfMemoryExit) {
        outcome.refusal = "Laying it out needs more than " + gigabytes(request.memoryBytes) +
                          " GB of memory; a shorter page would show.";
        return outcome;
    }
    outcome.report = run.status == 0 ? DecodeReport(run.output) : std::nullopt;
    if (!outcome.report) {
        outcome.refusal = "Laying it out failed.";
    } else if (outcome.report->refusal) {
        outcome.refusal = *outcome.report->refusal;
        outcome.report.reset();
    } else if (outcome.report->laidOutMicros.value_or(0) > request.budgetMicros) {
        outcome.refusal = tooSlow;
        outcome.report.reset();
    }
    return outcome;
}

}  // namespace

void SetLimits(const Limits& limits) {
    verdicts().limits = limits;
}

Limits CurrentLimits() {
    return verdicts().limits;
}

void SetChildProgram(std::filesystem::path program) {
    verdicts().program = std::move(program);
}

std::filesystem::path ChildProgram() {
    auto& program = verdicts().program;
    if (!program) program = besideThisProgram();
    return *program;
}

std::optional<Refusal> TryPage(TrialRequest request, Standing standing) {
    const Limits& limits = verdicts().limits;
    request.kind = TrialKind::kPage;
    request.budgetMicros = static_cast<std::uint32_t>(
        (standing == Standing::kComingIn ? limits.comingIn : limits.held).count());
    request.memoryBytes = limits.memory;
    const page_verdicts::Digest key = page_verdicts::DigestOf(Encode(request));
    if (auto verdict = page_verdicts::Find(key)) return std::move(verdict->refusal);
    Outcome outcome = runChild(request);
    if (outcome.lasting) {
        page_verdicts::Verdict verdict;
        if (outcome.report) {
            // Each name as it stands, and each file past its links: a name that finds another
            // file, or a file rewritten, since, brings the trial again.
            for (const std::string& name : outcome.report->namesLookedFor)
                verdict.pictures.push_back(page_verdicts::StateOf(name, false));
            for (const std::string& file : outcome.report->pictureFiles)
                verdict.pictures.push_back(page_verdicts::StateOf(file, true));
        } else {
            verdict.refusal = Refusal{outcome.refusal};
        }
        page_verdicts::Keep(key, std::move(verdict), standing == Standing::kBeingWritten);
    }
    if (outcome.report) return std::nullopt;
    return Refusal{outcome.refusal, outcome.lasting};
}

std::optional<std::string> MarkdownPage(std::string markdown, std::string& refusal) {
    TrialRequest request;
    request.kind = TrialKind::kMarkdown;
    request.page = std::move(markdown);
    request.budgetMicros = static_cast<std::uint32_t>(verdicts().limits.comingIn.count());
    request.memoryBytes = verdicts().limits.memory;
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
    page_verdicts::Forget();
}

}  // namespace page_trial
