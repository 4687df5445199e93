#include <benchmark/benchmark.h>

#include <QTabWidget>

#include <memory>
#include <string>

#include "ScratchFolder.h"
#include "browsers/QuestionBrowserPage.h"
#include "browsers/mod_Bookmark.h"
#include "browsers/mod_ViewAllQuestions.h"
#include "core/AppPaths.h"
#include "core/QuestionBank.h"
#include "core/SystemVars.h"

namespace {

constexpr int kBankSize = 20000;
constexpr int kBookmarks = 1000;
constexpr double kBudgetMs = 50;

// A generated bank of 20,000 questions of every type with realistic text lengths, every
// twentieth bookmarked, and the texts the pages read; notes live in a scratch program folder.
void makeBank() {
    static bool made = false;
    if (made) return;
    made = true;
    static const ScratchFolder folder("examsim-bench-browsers-");
    AppPaths::SetProgramFolder(folder.path());
    for (int k = 0; k <= 13; ++k)
        SystemVars.ViewAllTexts.at(k) = "View all text " + std::to_string(k);
    for (int k = 0; k <= 3; ++k)
        SystemVars.BrowserListTexts.at(k) = "Column " + std::to_string(k);
    SystemVars.GroupNames.at(11) = "Trial";
    SystemVars.LevelNames.at(2) = "Intermediate";
    const std::string sentence = "Which of the following statements about this network is true? ";
    for (int i = 0; i < kBankSize; ++i) {
        QuestionRecord q;
        q.QuestionID = 1000 + i;
        q.GroupCode = 11;
        q.Topic = "Objective " + std::to_string(i % 40);
        q.Level = 2;
        q.QuestionType = static_cast<std::int16_t>(i % 3 == 2 ? 6 : i % 3 + 1);
        q.QuestionText = sentence + sentence + std::to_string(i);
        q.Explanation = sentence + sentence + sentence;
        q.Choices = "1<f><f>A<f>first choice<c>0<f><f>B<f>second choice<c>0<f><f>C<f>third";
        QuestionBank.push_back(q);
        QuestionStatsTable.push_back({q.QuestionID, 0, 0, 0, i % (kBankSize / kBookmarks) == 0});
    }
}

std::unique_ptr<QuestionBrowserPage> newPage(const browsers::BrowserTab& tab) {
    auto page = std::make_unique<QuestionBrowserPage>(tab, QuestionPageNames{});
    page->resize(1000, 600);
    return page;
}

void budget(benchmark::State& state) {
    state.counters["budget_ms"] = kBudgetMs;
}

// The first visit of the view-all tab: the list taken, the jump list, the first question;
// the list page's 20,000 rows wait until it is shown.
void BM_ViewAllFirstEntry(benchmark::State& state) {
    makeBank();
    for (auto _ : state) {
        state.PauseTiming();
        auto page = newPage(mod_ViewAllQuestions::Tab());
        state.ResumeTiming();
        page->Browser().RefreshTab();
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
    budget(state);
}
BENCHMARK(BM_ViewAllFirstEntry)->Unit(benchmark::kMillisecond);

// The view-all list page when first shown: 20,000 rows built and their columns fitted.
// No target; the tab itself is entered without it.
void BM_ViewAllListPage(benchmark::State& state) {
    makeBank();
    for (auto _ : state) {
        state.PauseTiming();
        auto page = newPage(mod_ViewAllQuestions::Tab());
        page->Browser().RefreshTab();
        state.ResumeTiming();
        page->Tabs->setCurrentIndex(1);
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ViewAllListPage)->Unit(benchmark::kMillisecond);

void BM_ViewAllNextQuestion(benchmark::State& state) {
    makeBank();
    auto page = newPage(mod_ViewAllQuestions::Tab());
    page->Browser().RefreshTab();
    for (auto _ : state) {
        if (page->Browser().Position() == kBankSize - 1) page->Browser().Jump(1);
        page->Browser().Next();
    }
    budget(state);
}
BENCHMARK(BM_ViewAllNextQuestion)->Unit(benchmark::kMillisecond);

// Entering the bookmarks tab on its list page: 1,000 bookmarks listed and their rows built.
void BM_BookmarksFill(benchmark::State& state) {
    makeBank();
    auto page = newPage(mod_Bookmark::Tab());
    page->Tabs->setCurrentIndex(1);  // the list page shown: its rows are built at once
    page->Browser().RefreshTab();
    for (auto _ : state)
        page->Browser().RefreshTab();
    state.counters["rows"] = static_cast<double>(page->Browser().List().size());
    budget(state);
}
BENCHMARK(BM_BookmarksFill)->Unit(benchmark::kMillisecond);

}  // namespace
