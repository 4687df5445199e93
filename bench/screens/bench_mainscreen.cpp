#include <QPushButton>
#include <QTabWidget>

#include <memory>

#include "GeneratedBank.h"
#include "ScreenBench.h"
#include "core/ListView.h"
#include "core/QuestionBank.h"
#include "core/mod_ListViewSort.h"
#include "mainscreen/frm_Customize.h"
#include "mainscreen/frm_SwitchBoard.h"
#include "platform/mod_Forms.h"

namespace {

using screenbench::Budget;
using screenbench::Settle;

// The first visit of a freshly loaded main screen's performance tab, 1,200 records.
void BM_PerformanceTabFirstVisit(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    benchbank::InstallBank(static_cast<std::size_t>(state.range(0)));
    benchbank::WriteHistory(benchbank::kHistoryRecords);
    screenbench::TimeFirstTabVisit(state, frm_SwitchBoard::kPerformanceTab);
    Budget(state, 50, 20000);
    benchbank::ReleaseBank();
}
BENCHMARK(BM_PerformanceTabFirstVisit)
    ->ArgName("questions")
    ->Arg(2000)
    ->Arg(20000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// A header click on the performance tab's question list: by the question's text (a text
// column: the control's own sort, then numbers) and by the percentage column.
void BM_SortQuestionList20000(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    benchbank::InstallBank(benchbank::kQuestions);
    benchbank::WriteHistory(benchbank::kHistoryRecords);
    auto board = screenbench::ShownMainScreen();
    board->SSTab1->setCurrentIndex(frm_SwitchBoard::kPerformanceTab);
    board->SSTab2->setCurrentIndex(frm_SwitchBoard::kQuestionsTab);
    Settle();
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state) {
        mod_ListViewSort::SortListViewColumn(*board->ListView9, column);
        Settle();
    }
    state.counters["budget_ms"] = 50;
    board.reset();
    benchbank::ReleaseBank();
}
BENCHMARK(BM_SortQuestionList20000)
    ->ArgName("column")
    ->Arg(5)
    ->Arg(7)
    ->Unit(benchmark::kMillisecond);

// "Check all" on the saved-exams tab; twice the saves should take twice the time.
void BM_SavedExamsCheckAll20000(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    benchbank::InstallBank(benchbank::kQuestions);
    benchbank::WriteSaves(static_cast<std::size_t>(state.range(0)));
    auto board = screenbench::ShownMainScreen();
    board->SSTab1->setCurrentIndex(frm_SwitchBoard::kSavedExamsTab);
    Settle();
    for (auto _ : state) {
        board->Command4_Click(0);
        Settle();
        state.PauseTiming();
        board->Command4_Click(1);
        Settle();
        state.ResumeTiming();
    }
    Budget(state, 20, static_cast<std::int64_t>(benchbank::kSaves));
    board.reset();
    benchbank::ReleaseBank();
}
BENCHMARK(BM_SavedExamsCheckAll20000)
    ->ArgName("saves")
    ->Arg(1200)
    ->Arg(2400)
    ->Unit(benchmark::kMillisecond);

// Opening the my-notes tab: the check that some bank question has a note (the last one).
void BM_MyNotesCheck(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    benchbank::InstallBank(static_cast<std::size_t>(state.range(0)));
    if (!benchbank::WriteLastQuestionNote()) {
        state.SkipWithError("cannot write the note");
        return;
    }
    auto board = screenbench::ShownMainScreen();
    for (auto _ : state) {
        board->SSTab1->setCurrentIndex(frm_SwitchBoard::kMyNotesTab);
        Settle();
        state.PauseTiming();
        board->SSTab1->setCurrentIndex(frm_SwitchBoard::kExamsTab);
        Settle();
        state.ResumeTiming();
    }
    Budget(state, 10, 20000);
    board.reset();
    benchbank::ReleaseBank();
}
BENCHMARK(BM_MyNotesCheck)
    ->ArgName("questions")
    ->Arg(2000)
    ->Arg(20000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// The Customize dialog of the exhaustive exam, from construction to shown.
void BM_CustomizeOpen(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    benchbank::InstallBank(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        auto* dialog = new frm_Customize(nullptr, "41", CustomizeOrigin::kExamKind);
        dialog->Form_Load();
        dialog->show();
        Settle();
        state.PauseTiming();
        mod_Forms::Unload(dialog);
        Settle();
        state.ResumeTiming();
    }
    Budget(state, 30, 20000);
    benchbank::ReleaseBank();
}
BENCHMARK(BM_CustomizeOpen)
    ->ArgName("questions")
    ->Arg(2000)
    ->Arg(20000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
