#include <QPushButton>
#include <QTabWidget>

#include <memory>

#include "GeneratedBank.h"
#include "ScreenBench.h"
#include "browsers/QuestionBrowserPage.h"
#include "core/QuestionBank.h"
#include "mainscreen/frm_SwitchBoard.h"

namespace {

using screenbench::Budget;
using screenbench::Settle;

constexpr std::size_t kBookmarkEvery = 20;  // 1,000 of 20,000

void installBank(benchmark::State& state) {
    benchbank::InstallBank(static_cast<std::size_t>(state.range(0)));
    for (std::size_t i = 0; i < QuestionStatsTable.size(); ++i)
        QuestionStatsTable[i].Bookmarked = i % kBookmarkEvery == 0;
}

// The first visit of a freshly loaded main screen's view-all tab: list, jump list, the first
// question shown (the list page's rows wait until it is shown).
void BM_ViewAllFirstVisit(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    installBank(state);
    screenbench::TimeFirstTabVisit(state, frm_SwitchBoard::kViewAllTab);
    Budget(state, 50, 20000);
    benchbank::ReleaseBank();
}
BENCHMARK(BM_ViewAllFirstVisit)
    ->ArgName("questions")
    ->Arg(2000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);

// The view-all list page shown for the first time: a row per bank question.
void BM_ViewAllListPage(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    installBank(state);
    for (auto _ : state) {
        state.PauseTiming();
        auto board = screenbench::ShownMainScreen();
        board->SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
        Settle();
        state.ResumeTiming();
        board->SSTab3->setCurrentIndex(QuestionBrowserPage::kListPage);
        Settle();
        state.PauseTiming();
        board.reset();
        Settle();
        state.ResumeTiming();
    }
    benchbank::ReleaseBank();
}
BENCHMARK(BM_ViewAllListPage)
    ->ArgName("questions")
    ->Arg(2000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);

// The next button on the view-all tab.
void BM_ViewAllNext(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    installBank(state);
    auto board = screenbench::ShownMainScreen();
    board->SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    Settle();
    for (auto _ : state) {
        if (!board->Command7->isEnabled()) {
            state.PauseTiming();
            board->SSTab1->setCurrentIndex(frm_SwitchBoard::kExamsTab);
            board->SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
            Settle();
            state.ResumeTiming();
        }
        board->Command7->click();
        Settle();
    }
    Budget(state, 50, 20000);
    board.reset();
    benchbank::ReleaseBank();
}
BENCHMARK(BM_ViewAllNext)->ArgName("questions")->Arg(20000)->Unit(benchmark::kMillisecond);

// Entering the bookmarks tab and its list page: every twentieth question bookmarked.
void BM_BookmarksList(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    installBank(state);
    auto board = screenbench::ShownMainScreen();
    for (auto _ : state) {
        board->SSTab1->setCurrentIndex(frm_SwitchBoard::kBookmarksTab);
        board->SSTab4->setCurrentIndex(QuestionBrowserPage::kListPage);
        Settle();
        state.PauseTiming();
        board->SSTab4->setCurrentIndex(QuestionBrowserPage::kQuestionPage);
        board->SSTab1->setCurrentIndex(frm_SwitchBoard::kExamsTab);
        Settle();
        state.ResumeTiming();
    }
    Budget(state, 50, 20000);
    board.reset();
    benchbank::ReleaseBank();
}
BENCHMARK(BM_BookmarksList)
    ->ArgName("questions")
    ->Arg(20000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
