#include <QPushButton>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GeneratedBank.h"
#include "ScreenBench.h"
#include "browsers/QuestionBrowserPage.h"
#include "core/QuestionBank.h"
#include "mainscreen/frm_SwitchBoard.h"
#include "notes/NotesEditor.h"
#include "pages/PageTrial.h"

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

double millisecondsOf(const std::function<void()>& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double median(std::vector<double> times) {
    const auto middle = times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2);
    std::nth_element(times.begin(), middle, times.end());
    return *middle;
}

// On the view-all tab, moving on to a question whose one-paragraph note the program saved, the
// first time in a run (its acceptance read from the verdicts' file, no child started), against
// moving back to a question without a note, in turn. ratio: the first's median over the
// second's.
void BM_MoveToASavedNoteFirstTimeInARun(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    installBank(state);
    auto board = screenbench::ShownMainScreen();
    board->SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    Settle();
    QuestionBrowserPage& page = *board->ViewAllPage;
    page.NextButton->click();
    Settle();
    page.NotesContents->moveCursor(QTextCursor::End);
    page.NotesContents->textCursor().insertHtml(
        QStringLiteral("A routing table lists <b>networks</b> and their next hops; the longest "
                       "prefix wins."));
    // Leaving the question saves its note.
    page.PreviousButton->click();
    Settle();
    std::vector<double> saved;
    std::vector<double> without;
    const std::size_t trials = page_trial::TrialsStarted();
    for (auto _ : state) {
        page_trial::ForgetVerdicts();
        saved.push_back(millisecondsOf([&] {
            page.NextButton->click();
            Settle();
        }));
        page_trial::ForgetVerdicts();
        without.push_back(millisecondsOf([&] {
            page.PreviousButton->click();
            Settle();
        }));
        state.SetIterationTime(saved.back() / 1000);
    }
    page.NextButton->click();
    Settle();
    if (page.NoteEditor->NoteUnreadable() || page.NotesContents->toPlainText().isEmpty())
        state.SkipWithError("the saved note was not shown");
    else if (page_trial::TrialsStarted() != trials)
        state.SkipWithError("the saved note was tried again");
    else
        state.counters["ratio"] = median(saved) / median(without);
    state.counters["without_ms"] = median(without);
    state.counters["budget_ratio"] = 1.2;
    board.reset();
    benchbank::ReleaseBank();
}
BENCHMARK(BM_MoveToASavedNoteFirstTimeInARun)
    ->ArgName("questions")
    ->Arg(20000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);

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
