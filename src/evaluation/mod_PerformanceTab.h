#pragma once

#include <cstdint>
#include <string_view>

class frm_SwitchBoard;
class ListView;
class QTreeWidgetItem;

// The performance tab of the main screen (tab 5): history list, objective and question
// statistics, overall percentage and reset. It writes the main screen's controls directly.
namespace mod_PerformanceTab {

// Left by the last fills of the history and objective lists.
inline std::int16_t ExamAverage = 0;
inline std::int16_t ObjectiveAverage = 0;

// Captions and column headers, once per main screen.
void InitPerformanceTab(frm_SwitchBoard& board);
void FillExamHistoryList(frm_SwitchBoard& board);
void FillObjectiveList(frm_SwitchBoard& board);
void ShowPerformanceSummary(frm_SwitchBoard& board);
void FillQuestionStatsList(frm_SwitchBoard& board);

// Deletes the history files and zeroes every answer counter (bookmarks stay), then empties
// the tab. False (reported) when Data/Resource.dat could not be written or a history file
// could not be deleted; a failed write deletes nothing.
bool ResetPerformanceHistory(frm_SwitchBoard& board);
// The reset button: asks, resets, shows the first tab and says so.
void AskAndResetHistory(frm_SwitchBoard& board);

// The record of a history row reopened for review: exam window, then evaluation window.
// Nothing while an exam window is open.
void OpenRecordedExam(std::int16_t index);
// The history list's double-click: the selected row's record; nothing without one.
void OpenSelectedRecord(frm_SwitchBoard& board);

// The one tooltip of the three lists, renewed when the pointer reaches another row.
void ShowRowTip(frm_SwitchBoard& board, ListView& list, const QTreeWidgetItem& row,
                std::string_view text);

}  // namespace mod_PerformanceTab
