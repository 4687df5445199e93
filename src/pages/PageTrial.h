#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "pages/PageRefusals.h"
#include "pages/PageTrialRequest.h"

// A page that is not provably cheap is laid out first by a child process of ours, exactly as
// its box would, and is shown only when that finished within its budget: a layout stuck in
// Qt cannot be stopped in this process, a child can be killed.
namespace page_trial {

// Builds with the sanitizers run Qt's layout several times slower.
#ifdef EXAMSIM_INSTRUMENTED
inline constexpr int kSlowdown = 8;
#else
inline constexpr int kSlowdown = 1;
#endif

// Processor time a page that comes in from outside may take to be read and laid out at each of
// its widths.
inline constexpr std::chrono::microseconds kLayoutBudget{500'000 * kSlowdown};
// What the user already has is held to this many times that: the same page's trial varied 1.5
// to 1.8 times between runs here, so a page once accepted is never refused by noise on a
// machine twice as slow or as busy, and still never freezes the program.
inline constexpr int kHeldMargin = 4;
inline constexpr std::chrono::microseconds kHeldLayoutBudget = kHeldMargin * kLayoutBudget;
// Memory the child may take beyond what it holds when it starts.
inline constexpr std::uint64_t kTrialMemory = std::uint64_t{1} << 30;
// How the child ends when it runs out of that memory.
inline constexpr int kOutOfMemoryExit = 3;

// Whose page is tried, which sets its budget.
enum class Standing {
    kComingIn,     // a paste, a drop, a page the packer packs: kLayoutBudget
    kAlreadyHeld,  // a note being loaded, a shipped document opened: kHeldLayoutBudget
    // a note the program is about to write: kHeldLayoutBudget, and its acceptance is kept for
    // the next runs
    kBeingWritten,
};

// What trials may take. Tests lower them to slow a trial down against its budget.
struct Limits {
    std::chrono::microseconds comingIn = kLayoutBudget;
    std::chrono::microseconds held = kHeldLayoutBudget;
    // Starting the child and its fonts takes 30 to 50 ms here; the wall clock only bounds a
    // child that gets no processor, which on a busy machine takes a while.
    std::chrono::milliseconds startAllowance{10'000 * kSlowdown};
    std::uint64_t memory = kTrialMemory;
};
void SetLimits(const Limits& limits);
[[nodiscard]] Limits CurrentLimits();

// The child program: beside this program's own executable, unless set otherwise (tests,
// benchmarks and tools run from the build tree name the one they use).
void SetChildProgram(std::filesystem::path program);
[[nodiscard]] std::filesystem::path ChildProgram();

// nullopt when the child read and laid the page out within the budget of its standing;
// otherwise why not. The request's budget is set here. Verdicts are kept by a digest of the
// request and the picture files and names the trial looked for, as they were then (see
// pages/PageVerdicts.h).
// `whileLaidOut`, when set, runs once the child read the page within its budget, while it lays
// the page out: a tried page is read no slower here than there.
[[nodiscard]] std::optional<page_refusals::Refusal> TryPage(
    TrialRequest request, Standing standing, const std::function<void()>& whileLaidOut = {});

// Converts Markdown (UTF-8) to a page as Qt reads it, in the child, within kLayoutBudget:
// the page (UTF-8), or why not in `refusal`.
[[nodiscard]] std::optional<std::string> MarkdownPage(std::string markdown,
                                                      page_refusals::Refusal& refusal);

// How many children have been started; verdicts kept are not tried again.
[[nodiscard]] std::size_t TrialsStarted();
// Forgets this run's verdicts; those kept for the next runs are read again, as a new run would.
void ForgetVerdicts();

}  // namespace page_trial
