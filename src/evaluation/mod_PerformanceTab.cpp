#include "evaluation/mod_PerformanceTab.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/AppWindows.h"
#include "core/ListView.h"
#include "core/QuestionBank.h"
#include "core/SystemVars.h"
#include "core/cls_ToolTipText.h"
#include "core/mod_Question.h"
#include "core/mod_System.h"
#include "evaluation/EvaluationWindow.h"
#include "evaluation/PerformanceFigures.h"
#include "evaluation/PerformanceTabControls.h"
#include "evaluation/mod_Evaluate.h"
#include "evaluation/mod_Performance.h"
#include "exam/ExamWindow.h"
#include "exam/QuestionLookup.h"
#include "platform/DateText.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"

namespace fs = std::filesystem;
namespace figures = performance_figures;

namespace mod_PerformanceTab {
namespace {

const auto& texts() {
    return SystemVars.PerformanceTexts;
}

// The shared tooltip of the three lists and the row it was last made for; a child of the
// main screen, so it lives exactly as long as the lists.
class RowTip : public QObject {
public:
    explicit RowTip(QObject* parent) : QObject(parent) {
        setObjectName(QStringLiteral("PerformanceRowTip"));
    }
    cls_ToolTipText Tip;
    std::int32_t Row = -1;
};

// Sort kinds of the shared column sort, by column.
constexpr std::string_view kDate = "3";
constexpr std::string_view kPercent = "4";
constexpr std::string_view kNumber = "5";
constexpr std::string_view kText = "";

void setHeaders(ListView& list, int first, const std::vector<std::string_view>& kinds) {
    list.clearColumns();
    for (std::size_t column = 0; column < kinds.size(); ++column)
        list.addColumn(column == 0 ? "" : texts()(first + static_cast<int>(column) - 1), 96,
                       kinds[column]);
}

// The first column fits its cells, the others their cells and headers.
void fitColumns(ListView& list, int lastFitted) {
    list.autoSizeColumn(0, false);
    for (int column = 1; column <= lastFitted; ++column)
        list.autoSizeColumn(column, true);
}

// The last column takes the rest of the list, leaving room for a scroll bar past 14 rows;
// never narrower than its own content.
void stretchLastColumn(ListView& list) {
    const int last = list.columnCount() - 1;
    int used = 0;
    for (int column = 0; column < last; ++column)
        used += list.columnWidth(column);
    const int margin = mod_Evaluate::TwipsToPixels(list.rowCount() <= 14 ? 75 : 350);
    list.autoSizeColumn(last, true);
    list.setColumnWidth(last, std::max(list.columnWidth(last), list.width() - (used + margin)));
}

// Row i: key "a" & i, text i + 1, then the cells.
ListRow makeRow(std::size_t i, std::vector<std::string> cells) {
    ListRow row;
    row.Texts.reserve(cells.size() + 1);
    row.Texts.push_back(std::to_string(i + 1));
    row.Texts.insert(row.Texts.end(), cells.begin(), cells.end());
    row.Key = "a" + std::to_string(i);
    return row;
}

}  // namespace

void InitPerformanceTab(PerformanceTabControls& board) {
    QLabel* title = board.PerformanceTitle;
    if (title->text() == platform::toQt(texts()(performance_text::kTitle))) return;
    board.SSTab2->setCurrentIndex(PerformanceTabControls::kExamHistoryTab);
    title->setText(platform::toQt(texts()(performance_text::kTitle)));
    for (int tab = 0; tab < 3; ++tab)
        board.SSTab2->setTabText(tab, platform::toQt(texts()(performance_text::kFirstTab + tab)));
    board.Label13->setText(platform::toQt(texts()(performance_text::kOverall)));
    board.Label14->clear();
    board.Command15->setText(platform::toQt(texts()(performance_text::kResetButton)));
    setHeaders(*board.ListView7, performance_text::kFirstExamColumn,
               {kNumber, kDate, kDate, kText, kPercent, kNumber, kNumber, kNumber, kNumber});
    setHeaders(*board.ListView8, performance_text::kFirstObjectiveColumn,
               {kNumber, kText, kNumber, kPercent, kNumber, kNumber, kNumber, kNumber});
    setHeaders(*board.ListView9, performance_text::kFirstQuestionColumn,
               {kNumber, kNumber, kNumber, kNumber, kNumber, kPercent, kText, kText});
}

void FillExamHistoryList(PerformanceTabControls& board) {
    ListView& list = *board.ListView7;
    list.clear();
    std::vector<ListRow> rows;
    rows.reserve(PerformanceHistory.size());
    for (std::size_t i = 0; i < PerformanceHistory.size(); ++i) {
        const PerformanceSummary& record = PerformanceHistory[i];
        rows.push_back(makeRow(
            i, {platform::fromQt(platform::GeneralDateText(record.ExamDate)),
                platform::fromQt(platform::GeneralDateText(record.SavedAt)), record.Title,
                record.PercentText, std::to_string(record.Total), std::to_string(record.Correct),
                std::to_string(record.Wrong), std::to_string(record.Unanswered)}));
    }
    list.addRows(rows);
    ExamAverage = figures::ExamAverage(PerformanceHistory);
    fitColumns(list, 7);
    stretchLastColumn(list);
}

void FillObjectiveList(PerformanceTabControls& board) {
    ListView& list = *board.ListView8;
    list.clear();
    exam::QuestionLookup lookup;
    const std::vector<figures::ObjectiveFigures> all =
        figures::ObjectiveFiguresOf(ObjectiveNames, lookup);
    std::vector<ListRow> rows;
    for (std::size_t k = 0; k < ObjectiveNames.size(); ++k) {
        const figures::ObjectiveFigures& f = all[k];
        const std::string percent = f.Asked > 0 ? std::to_string(f.Figure()) + " % " : " - ";
        rows.push_back(
            makeRow(k, {ObjectiveNames[k], std::to_string(f.Questions), percent,
                        std::to_string(f.Asked), std::to_string(f.Correct), std::to_string(f.Wrong),
                        std::to_string(f.Asked - (f.Correct + f.Wrong))}));
    }
    list.addRows(rows);
    ObjectiveAverage = figures::ObjectiveAverage(all);
    fitColumns(list, 7);
}

void ShowPerformanceSummary(PerformanceTabControls& board) {
    const std::int32_t overall =
        figures::OverallPercent(ObjectiveAverage, ExamAverage, figures::QuestionFigure());
    board.Label14->setText(QString::number(overall) + QStringLiteral(" % "));
}

void FillQuestionStatsList(PerformanceTabControls& board) {
    ListView& list = *board.ListView9;
    list.clear();
    constexpr int kQuestionColumn = 7;
    list.setTextSource({kQuestionColumn}, [](std::int32_t id, int) -> std::string_view {
        const QuestionRecord* question = exam::FindQuestion(id);
        return question ? std::string_view(question->QuestionText) : std::string_view();
    });
    exam::QuestionLookup lookup;
    {
        ListRowBatch batch(list);
        ListRow row;
        for (std::size_t i = 0; i < QuestionBank.size(); ++i) {
            const QuestionRecord& question = QuestionBank[i];
            row.Texts.assign(1, std::to_string(i + 1));
            row.Key = "a" + std::to_string(i);
            row.Source = question.QuestionID;
            if (const QuestionStats* stats = lookup.Stats(question.QuestionID)) {
                const std::int64_t unanswered =
                    std::int64_t{stats->TimesAsked} -
                    (std::int64_t{stats->WrongCount} + stats->CorrectCount);
                row.Texts.push_back(std::to_string(stats->TimesAsked));
                row.Texts.push_back(std::to_string(stats->CorrectCount));
                row.Texts.push_back(std::to_string(stats->WrongCount));
                row.Texts.push_back(std::to_string(unanswered));
                row.Texts.push_back(stats->TimesAsked >= 1
                                        ? std::to_string(figures::TruncatedPercent(
                                              stats->CorrectCount, stats->TimesAsked)) +
                                              " %"
                                        : " - ");
                // A level outside 1 to 3 has no name: the table gives "".
                row.Texts.push_back(SystemVars.LevelNames(question.Level));
                row.Texts.emplace_back();  // the question's text, from the bank
            }
            batch.add(row);
        }
    }
    fitColumns(list, 6);
    stretchLastColumn(list);
}

bool ResetPerformanceHistory(PerformanceTabControls& board) {
    // Counters first: when Data/Resource.dat cannot be written nothing is deleted and the
    // counters in memory stay those on disk.
    const std::vector<QuestionStats> kept = QuestionStatsTable;
    for (QuestionStats& stats : QuestionStatsTable) {
        stats.CorrectCount = 0;
        stats.TimesAsked = 0;
        stats.WrongCount = 0;
    }
    if (!mod_Question::WriteStatistics()) {
        QuestionStatsTable = kept;
        return false;
    }

    // The index goes first, so that a history file left behind is never listed.
    mod_Performance::InitPerformancePaths();
    bool deleted = true;
    const auto remove = [&](const fs::path& path) {
        std::error_code ec;
        if (fs::remove(path, ec) || !ec) return;
        deleted = false;
        mod_System::ShowWriteFailure(path, mod_System::WriteFailure::kReport);
    };
    remove(mod_Performance::PerformanceIndexPath);
    std::error_code ec;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(mod_Performance::PerformanceDir, ec)) {
        const std::string name = entry.path().filename().string();
        // Plain files only: no folders and no hidden ones.
        if (entry.is_regular_file(ec) && !name.starts_with('.')) files.push_back(entry.path());
    }
    for (const fs::path& file : files)
        remove(file);

    board.ListView7->clear();
    board.ListView8->clear();
    board.ListView9->clear();
    board.Label14->clear();
    return deleted;
}

bool AskAndResetHistory(PerformanceTabControls& board) {
    if (platform::MsgBox(texts()(performance_text::kResetQuestion),
                         platform::kYesNo | platform::kQuestion,
                         texts()(performance_text::kResetCaption)) != platform::kYes)
        return false;
    return ResetPerformanceHistory(board);
}

void AnnounceReset() {
    platform::MsgBox(texts()(performance_text::kResetDone), platform::kOkOnly);
}

void OpenRecordedExam(std::int16_t index) {
    // The record would replace the exam being taken.
    if (exam::ExamWindow()) return;
    if (!mod_Performance::OpenPerformanceRecord(index)) return;
    if (exam::LoadExamWindow(exam::ExamOpening::kReview)) evaluation::LoadEvaluationWindow();
}

void OpenSelectedRecord(PerformanceTabControls& board) {
    const int row = board.ListView7->selectedRow();
    if (row < 0) return;
    const std::string key = board.ListView7->key(row);
    std::int16_t index = -1;
    if (key.size() < 2 ||
        std::from_chars(key.data() + 1, key.data() + key.size(), index).ec != std::errc())
        return;
    OpenRecordedExam(index);
}

namespace {

// The selected row's number (its 1-based position when filled, whatever the sort); 0 without.
int selectedRowNumber(const ListView& list) {
    const int row = list.selectedRow();
    return row < 0 ? 0 : list.rowNumber(row);
}

}  // namespace

void ShowObjectiveQuestions(int row) {
    if (row < 1 || static_cast<std::size_t>(row) > ObjectiveNames.size()) return;
    const std::string& objective = ObjectiveNames[static_cast<std::size_t>(row - 1)];
    FullViewRequest request;
    for (const QuestionRecord& q : QuestionBank)
        if (figures::BelongsTo(q.Topic, objective)) request.List.push_back(q.QuestionID);
    if (request.List.empty()) return;
    request.ShowStatistics = true;
    AppWindows::Get().ShowFullView(std::move(request));
}

void ShowSelectedObjective(PerformanceTabControls& board) {
    const int row = selectedRowNumber(*board.ListView8);
    if (row > 0) ShowObjectiveQuestions(row);
}

void ShowSelectedQuestion(PerformanceTabControls& board) {
    const int row = selectedRowNumber(*board.ListView9);
    if (row < 1 || QuestionBank.empty()) return;
    FullViewRequest request{{}, row - 1, false, true};
    request.List.reserve(QuestionBank.size());
    for (const QuestionRecord& q : QuestionBank)
        request.List.push_back(q.QuestionID);
    AppWindows::Get().ShowFullView(std::move(request));
}

void HideRowTip(PerformanceTabControls& board) {
    delete board.PerformanceTipOwner->findChild<QObject*>(QStringLiteral("PerformanceRowTip"),
                                                          Qt::FindDirectChildrenOnly);
}

void ShowRowTip(PerformanceTabControls& board, ListView& list, int row, std::string_view text) {
    auto* tip = static_cast<RowTip*>(board.PerformanceTipOwner->findChild<QObject*>(
        QStringLiteral("PerformanceRowTip"), Qt::FindDirectChildrenOnly));
    if (!tip) tip = new RowTip(board.PerformanceTipOwner);
    const std::int32_t number = list.rowNumber(row);
    if (number == tip->Row) return;
    tip->Row = number;
    tip->Tip.ParentControl(&list);
    tip->Tip.Style(0);
    tip->Tip.Title("");
    tip->Tip.TipText(text);
    tip->Tip.Create();
}

}  // namespace mod_PerformanceTab
