#pragma once

class ListView;

// Column sorting of list views. One module-wide state describes the last sort of any list view;
// each list view keeps its own SortKey and SortOrder between clicks.
//
// Column kinds by the header's Tag: "1" amount, "2" text, "3" date, "4" percent, "5" number,
// anything else text. Only a cell's first 31 characters are read. Rows whose cell converts are
// put in value order over the positions they already hold, the others keep their places;
// rows of equal value keep their order. Text kind: the control's text sort first, then numeric
// cells by number. Date kind: every cell converts, a non-date counting as after all dates.
namespace mod_ListViewSort {

// The column-click handler's call; `column` is the header's 0-based index.
void SortListViewColumn(ListView& list, int column);

// `columnIndex` is 1-based, as the header's Index. A second sort of the same column reverses
// the direction; another column starts ascending.
void SortListViewByAmount(ListView& list, int columnIndex);
void SortListViewByText(ListView& list, int columnIndex);
void SortListViewByDate(ListView& list, int columnIndex);
void SortListViewByPercent(ListView& list, int columnIndex);
void SortListViewByNumber(ListView& list, int columnIndex);

// Arrow on the SortKey column (SortOrder 0 up, 1 down), none on the others.
void UpdateSortArrows(ListView& list);
// `column` 0-based; imageIndex 0 ascending arrow, 1 descending arrow.
void SetHeaderSortArrow(ListView& list, int column, int imageIndex, bool show);

// Call when a list is refilled: module column 0, not ascending, Sorted off, SortKey 0.
// SortOrder and the arrows stay, so the next click on column 0 reverses SortOrder.
void ResetListViewSort(ListView& list);

// The module state: 0-based column and direction of the last sort.
[[nodiscard]] int SortColumn();
[[nodiscard]] bool SortAscending();

}  // namespace mod_ListViewSort
