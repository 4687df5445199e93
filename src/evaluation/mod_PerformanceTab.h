#pragma once

#include <cstdint>
#include <string_view>

class ListView;
struct PerformanceTabControls;

// The performance tab of the main screen (tab 5): history list, objective and question
// statistics, overall percentage and reset. It writes the main screen's controls directly.
namespace mod_PerformanceTab {

// Left by the last fills of the history and objective lists.
inline std::int16_t ExamAverage = 0;
inline std::int16_t ObjectiveAverage = 0;

// Captions and column headers, once per main screen.
void InitPerformanceTab(PerformanceTabControls& board);
void FillExamHistoryList(PerformanceTabControls& board);
void FillObjectiveList(PerformanceTabControls& board);
void ShowPerformanceSummary(PerformanceTabControls& board);
void FillQuestionStatsList(PerformanceTabControls& board);

// Deletes the history files and zeroes every answer counter (bookmarks stay), then empties
// the tab. False (reported) when Data/Resource.dat could not be written or a history file
// could not be deleted; a failed write deletes nothing.
bool ResetPerformanceHistory(PerformanceTabControls& board);
// The reset button: asks and resets; true when the history was reset, after which the main
// screen shows its first tab and AnnounceReset says so.
bool AskAndResetHistory(PerformanceTabControls& board);
void AnnounceReset();

// The record of a history row reopened for review: exam window, then evaluation window.
// Nothing while an exam window is open.
void OpenRecordedExam(std::int16_t index);
// The history list's double-click: the selected row's record; nothing without one.
void OpenSelectedRecord(PerformanceTabControls& board);

// The questions of one objective (its 1-based row number), in bank order, in the full view
// with their statistics; nothing for a row that names no objective or one without questions.
void ShowObjectiveQuestions(int row);
// The objective list's double-click.
void ShowSelectedObjective(PerformanceTabControls& board);
// The question list's double-click: the whole bank in the full view, at the selected row's
// question, with the statistics.
void ShowSelectedQuestion(PerformanceTabControls& board);

// The one tooltip of the three lists, renewed when the pointer reaches another row.
void ShowRowTip(PerformanceTabControls& board, ListView& list, int row, std::string_view text);
// The pointer rests on no row (an empty part of a list): no row's tooltip stays.
void HideRowTip(PerformanceTabControls& board);

}  // namespace mod_PerformanceTab
