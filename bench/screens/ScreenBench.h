#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabWidget>

#include <cstdint>
#include <memory>

#include "mainscreen/frm_SwitchBoard.h"

// Shared steps of the screen benchmarks.
namespace screenbench {

// False (the benchmark skipped with the reason) when the program folder cannot be made.
bool Ready(benchmark::State& state);

// Lets the posted work run: layouts, the paint of what is shown, deferred deletes.
inline void Settle() {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

// A main screen at the main window's size, shown and painted.
inline std::unique_ptr<frm_SwitchBoard> ShownMainScreen() {
    auto board = std::make_unique<frm_SwitchBoard>();
    board->resize(1016, 690);
    board->show();
    Settle();
    return board;
}

// Times the first visit of a main-screen tab: each round a freshly built and shown main
// screen (untimed), the tab shown and painted, the screen removed (untimed).
inline void TimeFirstTabVisit(benchmark::State& state, int tab) {
    for (auto _ : state) {
        state.PauseTiming();
        auto board = ShownMainScreen();
        state.ResumeTiming();
        board->SSTab1->setCurrentIndex(tab);
        Settle();
        state.PauseTiming();
        board.reset();
        Settle();
        state.ResumeTiming();
    }
}

// The budget of the table, reported beside the figure; only at the size it is set for.
inline void Budget(benchmark::State& state, double milliseconds, std::int64_t atSize = -1) {
    if (atSize < 0 || state.range(0) == atSize) state.counters["budget_ms"] = milliseconds;
}

}  // namespace screenbench
