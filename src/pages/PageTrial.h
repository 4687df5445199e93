#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
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

// Processor time a page may take to be read and laid out at each of its widths.
inline constexpr std::chrono::microseconds kLayoutBudget{500'000 * kSlowdown};
// Memory the child may take beyond what it holds when it starts.
inline constexpr std::uint64_t kTrialMemory = std::uint64_t{1} << 30;
// How the child ends when it runs out of that memory.
inline constexpr int kOutOfMemoryExit = 3;

// The child program: beside this program's own executable, unless set otherwise.
void SetChildProgram(std::filesystem::path program);
[[nodiscard]] std::filesystem::path ChildProgram();

// nullopt when the child read and laid the page out within kLayoutBudget; otherwise why not.
// The request's budget is set here. Verdicts are
// kept by the request and the picture files the trial read, as they were then.
[[nodiscard]] std::optional<page_refusals::Refusal> TryPage(TrialRequest request);

// Converts Markdown (UTF-8) to a page as Qt reads it, in the child, within the budget:
// the page (UTF-8), or why not in `refusal`.
[[nodiscard]] std::optional<std::string> MarkdownPage(std::string markdown,
                                                      page_refusals::Refusal& refusal);

// How many children have been started; verdicts kept are not tried again.
[[nodiscard]] std::size_t TrialsStarted();
void ForgetVerdicts();

}  // namespace page_trial
