#pragma once

#include <QIcon>
#include <QTreeWidget>

#include <string>
#include <string_view>
#include <vector>

// One row for ListView::addRows. Texts are Windows-1252, one per column.
struct ListRow {
    std::vector<std::string> Texts;
    std::string Key;  // item data, such as "a12"
    bool Checked = false;
    QIcon Icon;  // small icon of the first column
};

// The list view of every list in the program: report mode, single selection, full-row select,
// no root decoration. Column widths are fixed for the user (no dragging, no double-click fit);
// code still sets them. Header clicks only emit columnClicked: sorting is
// mod_ListViewSort::SortListViewColumn, called by the window's handler.
// Rows must come from addRows: the row order is driven through their own item type.
class ListView : public QTreeWidget {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);

    // Removes the columns (headers, tags and header images); the rows stay.
    void clearColumns();
    // Returns the new column's index. Texts and tags are Windows-1252.
    int addColumn(std::string_view text, int width = 96, std::string_view tag = {});
    [[nodiscard]] std::string columnText(int column) const;
    [[nodiscard]] std::string columnTag(int column) const;
    void setColumnTag(int column, std::string_view tag);
    // Fits the column to its cells, or to its cells and its header text. The cells with the
    // longest texts stand for all of them.
    void autoSizeColumn(int column, bool includeHeader);

    // A check box in front of every row.
    void setCheckBoxes(bool on);
    [[nodiscard]] bool checkBoxes() const { return checkBoxes_; }

    // Appends the rows in one batch (one model insertion, no per-row layout).
    void addRows(std::vector<ListRow> rows);
    [[nodiscard]] static std::string itemText(const QTreeWidgetItem& item, int column);
    [[nodiscard]] static std::string itemKey(const QTreeWidgetItem& item);
    // A cell's text, at most maxLength characters of it (all with -1), without the detour
    // through the item's data: sorting reads every row.
    [[nodiscard]] static QString cellText(const QTreeWidgetItem& item, int column,
                                          qsizetype maxLength = -1);

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
    void itemCheckChanged(QTreeWidgetItem* item);

private:
    void sortByText();
    [[nodiscard]] int contentWidth(int column);

    std::vector<std::string> tags_;
    bool checkBoxes_ = false;
    bool sorted_ = false;
    int sortKey_ = 0;
    int sortOrder_ = 0;
};
