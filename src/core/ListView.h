#pragma once

#include <QIcon>
#include <QTreeView>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class ListModel;
class ListView;

// One row for ListView::addRows. Texts are Windows-1252, one per column.
struct ListRow {
    std::vector<std::string> Texts;
    std::string Key;  // row key, such as "a12"
    bool Checked = false;
    QIcon Icon;               // small icon of the first column
    std::int32_t Source = 0;  // what the list's text source reads this row's borrowed columns from
};

// Rows added one by one and shown together when the batch ends, as addRows does, without
// holding every row twice on the way.
class ListRowBatch {
public:
    explicit ListRowBatch(ListView& list) : list_(list) {}
    ListRowBatch(const ListRowBatch&) = delete;
    ListRowBatch& operator=(const ListRowBatch&) = delete;
    ~ListRowBatch();
    void add(const ListRow& row);

private:
    ListView& list_;
};

// The list view of every list in the program: report mode, single selection, full-row select,
// no root decoration. Column widths are fixed for the user (no dragging, no double-click fit);
// code still sets them. Header clicks only emit columnClicked: sorting is
// mod_ListViewSort::SortListViewColumn, called by the window's handler.
//
// Rows live in the list's own model, packed: their texts in one buffer, Qt values made only for
// the cells the view paints. Columns with a text source hold no text at all: a list of
// thousands of questions shows the bank's texts instead of copies. Rows are addressed by their
// present position (0-based, in the order shown).
class ListView : public QTreeView {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);
    ~ListView() override;

    // Removes the columns (headers, tags, header images and the text source); the rows stay.
    void clearColumns();
    // Returns the new column's index. Texts and tags are Windows-1252.
    int addColumn(std::string_view text, int width = 96, std::string_view tag = {});
    [[nodiscard]] int columnCount() const;
    [[nodiscard]] std::string columnText(int column) const;
    [[nodiscard]] std::string columnTag(int column) const;
    void setColumnTag(int column, std::string_view tag);
    // Fits the column to its cells, or to its cells and its header text. The cells with the
    // longest distinct texts stand for all of them.
    void autoSizeColumn(int column, bool includeHeader);

    // The texts of `columns` come from `source(row's Source, column)` whenever they are
    // needed; the view it returns is read at once. A row shows such a column only where it
    // gives a text for it, whose value is ignored.
    using TextSource = std::function<std::string_view(std::int32_t source, int column)>;
    void setTextSource(std::vector<int> columns, TextSource source);

    // A check box in front of every row added from now on.
    void setCheckBoxes(bool on);
    [[nodiscard]] bool checkBoxes() const { return checkBoxes_; }

    // Appends the rows in one batch (one model insertion, no per-row layout).
    void addRows(const std::vector<ListRow>& rows);
    // For a batch built row by row (see ListRowBatch).
    void stageRow(const ListRow& row);
    void showStagedRows();
    // Removes every row.
    void clear();
    [[nodiscard]] int rowCount() const;

    [[nodiscard]] std::string text(int row, int column) const;
    [[nodiscard]] std::string key(int row) const;
    // The whole number the row's first cell starts with (lists number their rows there); 0
    // when none.
    [[nodiscard]] int rowNumber(int row) const;
    // The first row with the key, searched from `startRow` towards the top; -1 when none.
    [[nodiscard]] int findKeyUpwards(std::string_view key, int startRow) const;
    // A cell's shown text, at most maxLength characters of it (all with -1): sorting reads
    // every row.
    [[nodiscard]] QString cellText(int row, int column, qsizetype maxLength = -1) const;
    // Shows `text` in the cell instead of its Windows-1252 text (a file name outside the code
    // page, say).
    void setCellText(int row, int column, const QString& text);
    [[nodiscard]] bool isChecked(int row) const;
    // Emits rowCheckChanged when the state changes.
    void setChecked(int row, bool checked);
    void setRowIcon(int row, const QIcon& icon);
    [[nodiscard]] QIcon rowIcon(int row) const;

    // The current row, -1 for none; selectedRow is the current row only while it is selected.
    [[nodiscard]] int currentRow() const;
    [[nodiscard]] int selectedRow() const;
    // -1 clears the current row and the selection.
    void setCurrentRow(int row);
    // The row under a point of the viewport; -1 for none.
    [[nodiscard]] int rowAt(const QPoint& point) const;

    // Brings the index's row into view; the columns stay where the user scrolled them (a
    // pressed or current cell wider than the list would otherwise pull them sideways).
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

    // The control's own text sort: while Sorted is on, the rows are kept in case-insensitive
    // text order of column SortKey (0-based), SortOrder 0 ascending or 1 descending; rows
    // with equal texts keep their order.
    void setSorted(bool on);
    [[nodiscard]] bool sorted() const { return sorted_; }
    void setSortKey(int column);
    [[nodiscard]] int sortKey() const { return sortKey_; }
    void setSortOrder(int order);
    [[nodiscard]] int sortOrder() const { return sortOrder_; }

    // Puts the rows in the given order: order[i] is the present row index of new row i.
    // Selection and current row follow their rows without change signals.
    void reorderRows(const std::vector<int>& order);

    // Header image right of the column's text: -1 none, 0 ascending arrow, 1 descending arrow.
    void setHeaderImage(int column, int imageIndex);
    [[nodiscard]] int headerImage(int column) const;

signals:
    void columnClicked(int column);
    // A row's check box changed after the row was added (by the user or by code).
    void rowCheckChanged(int row);
    void rowClicked(int row);
    void rowDoubleClicked(int row);
    // The pointer entered a row (with mouse tracking on).
    void rowEntered(int row);

private:
    void sortByText();
    [[nodiscard]] int contentWidth(int column);

    ListModel* model_;
    std::vector<std::string> tags_;
    bool checkBoxes_ = false;
    bool sorted_ = false;
    int sortKey_ = 0;
    int sortOrder_ = 0;
};
