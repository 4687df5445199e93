#include "pages/PageTrial.h"

#include <string_view>
#include <utility>

#include "pages/ChildProgram.h"
#include "pages/PageJudge.h"
#include "pages/PageVerdicts.h"

namespace page_trial {

namespace {

using std::chrono::milliseconds;

constexpr std::string_view kChildName = "exam-simulator-page-trial";
// The child ends itself once past its processor time; the wall clock allows it as many times
// that again, on a busy machine.
constexpr int kDeadlineMargin = 4;

struct Verdicts {
    std::size_t started = 0;
    std::optional<std::filesystem::path> program;
    Limits limits;
};

Verdicts& verdicts() {
    static Verdicts kept;
    return kept;
}

std::filesystem::path besideThisProgram() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (ec ? std::filesystem::path() : self.parent_path()) / kChildName;
}

// Runs the child: its report, or why there is none (and whether that would be so again).
struct Outcome {
    std::optional<TrialReport> report;
    page_refusals::Refusal refusal;
    bool lasting = false;
};

Outcome runChild(const TrialRequest& request, const std::function<void()>& whileLaidOut = {}) {
    const std::filesystem::path program = ChildProgram();
    ++verdicts().started;
    const std::chrono::microseconds budget(request.budgetMicros);
    const milliseconds deadline =
        verdicts().limits.startAllowance +
        kDeadlineMargin * std::chrono::duration_cast<milliseconds>(budget);
    const platform::ChildRun run = platform::RunOnTrialServer(
        program, Encode(request), deadline, kLargestReport, {kPageReadMark, whileLaidOut});
    Outcome outcome;
    using page_refusals::Cause;
    const page_refusals::Refusal tooSlow(Cause::kTooSlow,
                                         static_cast<std::uint64_t>(budget.count()));
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
            outcome.refusal = run.processorTime >= budget ? tooSlow : page_refusals::Refusal{};
            return outcome;
        case platform::ChildRun::End::kExited:
            break;
    }
    outcome.lasting = true;
    if (run.status == kOutOfMemoryExit) {
        outcome.refusal = {Cause::kTooMuchMemory, request.memoryBytes};
        return outcome;
    }
    outcome.report = run.status == 0 ? DecodeReport(run.output) : std::nullopt;
    if (!outcome.report) {
        outcome.refusal = {};
    } else if (outcome.report->refusal) {
        // The child's byte judge is the program's own: its verdict is the same here.
        outcome.refusal = page_judge::JudgePage(request.page).value_or(page_refusals::Refusal{});
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

std::optional<page_refusals::Refusal> TryPage(TrialRequest request, Standing standing,
                                              const std::function<void()>& whileLaidOut) {
    const Limits& limits = verdicts().limits;
    request.kind = TrialKind::kPage;
    request.budgetMicros = static_cast<std::uint32_t>(
        (standing == Standing::kComingIn ? limits.comingIn : limits.held).count());
    request.memoryBytes = limits.memory;
    const page_verdicts::Digest key = page_verdicts::DigestOf(Encode(request));
    if (auto verdict = page_verdicts::Find(key)) return std::move(verdict->refusal);
    Outcome outcome = runChild(request, whileLaidOut);
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
            verdict.refusal = outcome.refusal;
        }
        page_verdicts::Keep(key, std::move(verdict), standing == Standing::kBeingWritten);
    }
    if (outcome.report) return std::nullopt;
    return outcome.refusal;
}

std::optional<std::string> MarkdownPage(std::string markdown, page_refusals::Refusal& refusal) {
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
