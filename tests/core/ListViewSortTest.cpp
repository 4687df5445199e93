#include <gtest/gtest.h>

#include <QHeaderView>
#include <QImage>
#include <QTest>

#include <algorithm>
#include <string>
#include <vector>

#include "core/ListView.h"
#include "core/mod_ListViewSort.h"
#include "platform/TextCodec.h"

namespace {

using Texts = std::vector<std::string>;
using mod_ListViewSort::SortListViewColumn;

Texts column(const ListView& list, int c) {
    Texts texts;
    for (int r = 0; r < list.rowCount(); ++r)
        texts.push_back(list.text(r, c));
    return texts;
}

// One column per tag; `rows` holds each row's texts. Keys are "k0", "k1", ...
void fill(ListView& list, const Texts& tags, const std::vector<Texts>& rows) {
    for (std::size_t c = 0; c < tags.size(); ++c)
        list.addColumn("Col" + std::to_string(c), 100, tags[c]);
    std::vector<ListRow> items;
    for (std::size_t r = 0; r < rows.size(); ++r)
        items.push_back(ListRow{rows[r], "k" + std::to_string(r), false, {}});
    list.addRows(items);
}

// The tested column is column 1, after a row-number column, as in the program's lists.
void fillColumn(ListView& list, const std::string& tag, const Texts& cells) {
    std::vector<Texts> rows;
    for (std::size_t r = 0; r < cells.size(); ++r)
        rows.push_back({std::to_string(r + 1), cells[r]});
    fill(list, {"5", tag}, rows);
}

// A fresh list sorted once by its tested column.
Texts sortedOnce(const std::string& tag, const Texts& cells) {
    ListView list;
    fillColumn(list, tag, cells);
    SortListViewColumn(list, 1);
    return column(list, 1);
}

TEST(ListViewSort, DateColumnPutsNonDatesAfterDatesAscendingAndBeforeDescending) {
    ListView list;
    fillColumn(list, "3",
               {"2024-03-01 10:00:00", "n/a", "2023-12-31", "2024-03-01 09:59:59", "",
                "2024-01-15T08:00:00", "1 Feb 2024"});
    SortListViewColumn(list, 1);
    EXPECT_EQ(column(list, 1), (Texts{"2023-12-31", "2024-01-15T08:00:00", "1 Feb 2024",
                                      "2024-03-01 09:59:59", "2024-03-01 10:00:00", "n/a", ""}));
    SortListViewColumn(list, 1);
    EXPECT_EQ(column(list, 1), (Texts{"n/a", "", "2024-03-01 10:00:00", "2024-03-01 09:59:59",
                                      "1 Feb 2024", "2024-01-15T08:00:00", "2023-12-31"}));
}

TEST(ListViewSort, HeaderClicksReverseTheSameColumnAndStartAnotherAscending) {
    ListView list;
    list.resize(500, 300);
    // Wired as the windows wire it.
    QObject::connect(&list, &ListView::columnClicked,
                     [&list](int c) { SortListViewColumn(list, c); });
    fill(list, {"2", "5"}, {{"b", "2"}, {"a", "3"}, {"c", "1"}});
    list.show();
    QHeaderView* header = list.header();
    const auto clickHeader = [&](int c) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(c) + 20, header->height() / 2));
    };

    clickHeader(1);
    EXPECT_EQ(column(list, 1), (Texts{"1", "2", "3"}));
    EXPECT_EQ(list.headerImage(1), 0);
    EXPECT_EQ(list.headerImage(0), -1);
    clickHeader(1);
    EXPECT_EQ(column(list, 1), (Texts{"3", "2", "1"}));
    EXPECT_EQ(list.headerImage(1), 1);
    clickHeader(0);
    EXPECT_EQ(column(list, 0), (Texts{"a", "b", "c"}));
    EXPECT_EQ(list.headerImage(0), 0);
    EXPECT_EQ(list.headerImage(1), -1);
}

int changedPixels(const QImage& before, const QImage& after, const QRect& area) {
    int changed = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            changed += before.pixel(x, y) != after.pixel(x, y) ? 1 : 0;
    return changed;
}

// What the user sees: the header as painted, not the arrow the list was told to show.
TEST(ListViewSort, TheHeaderDrawsTheArrowOfTheSortedColumnOnly) {
    ListView list;
    list.resize(400, 200);
    fill(list, {"5", "2"}, {{"2", "b"}, {"1", "a"}});
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QHeaderView* header = list.header();
    const auto section = [header](int c) {
        return QRect(header->sectionViewportPosition(c), 0, header->sectionSize(c),
                     header->height());
    };
    const auto painted = [header] { return header->grab().toImage(); };
    const QImage unsorted = painted();

    SortListViewColumn(list, 1);
    const QImage ascending = painted();
    EXPECT_GT(changedPixels(unsorted, ascending, section(1)), 10);
    EXPECT_EQ(changedPixels(unsorted, ascending, section(0)), 0);

    SortListViewColumn(list, 1);
    const QImage descending = painted();
    EXPECT_GT(changedPixels(ascending, descending, section(1)), 10);

    SortListViewColumn(list, 0);
    const QImage byFirst = painted();
    EXPECT_EQ(changedPixels(unsorted, byFirst, section(1)), 0);
    EXPECT_GT(changedPixels(unsorted, byFirst, section(0)), 10);
}

// SortKey starts at 0 and a reset puts it back there, so the first click on column 0 counts as
// a second one and reverses the direction left before.
TEST(ListViewSort, FirstClickOnColumnZeroReversesWhenFreshAndAfterReset) {
    ListView list;
    fill(list, {"5", "5"}, {{"1", "20"}, {"2", "10"}, {"3", "30"}});
    SortListViewColumn(list, 0);
    EXPECT_EQ(column(list, 0), (Texts{"3", "2", "1"}));
    SortListViewColumn(list, 1);

    mod_ListViewSort::ResetListViewSort(list);
    EXPECT_FALSE(list.sorted());
    EXPECT_EQ(list.headerImage(1), 0);  // the arrow stays until the next sort
    SortListViewColumn(list, 0);
    EXPECT_EQ(column(list, 0), (Texts{"3", "2", "1"}));
    EXPECT_EQ(list.headerImage(0), 1);
    EXPECT_EQ(list.headerImage(1), -1);
}

TEST(ListViewSort, NumericKindsRoundHalvesToEvenReadOnly31CharactersAndSkipOthers) {
    // Percent: 12.4, 12.3 and 12.5 all count as 12 and keep their order.
    EXPECT_EQ(sortedOnce("4", {"100%", "9%", "10%", "12.4%", "12.3%", "12.5%", "13.5%", "14%"}),
              (Texts{"9%", "10%", "12.4%", "12.3%", "12.5%", "13.5%", "14%", "100%"}));
    // Number: cells that are no numbers keep their places.
    EXPECT_EQ(sortedOnce("5", {"x", "3.5", "y", "3", "2.5", "2"}),
              (Texts{"x", "2.5", "y", "2", "3", "3.5"}));
    // Amount, with the euro sign of Windows-1252.
    const std::string fiveEuros = std::string("\x80") + "5";
    EXPECT_EQ(sortedOnce("1", {"$1,200", "31", "$30.50", fiveEuros, "$30.49"}),
              (Texts{fiveEuros, "$30.50", "$30.49", "31", "$1,200"}));
    const std::string longTwo = std::string(30, '0') + "20";  // 32 characters, read as 2
    EXPECT_EQ(sortedOnce("5", {"3", longTwo}), (Texts{longTwo, "3"}));
}

TEST(ListViewSort, TextColumnKeepsTextOrderButPutsNumbersInNumericOrder) {
    ListView list;
    fill(list, {"other", ""},
         {{"b", "banana"}, {"a", "10"}, {"A", "Apple"}, {"c", "9"}, {"B", "cherry"}, {"C", "100"}});
    SortListViewColumn(list, 1);
    EXPECT_EQ(column(list, 1), (Texts{"9", "10", "100", "Apple", "banana", "cherry"}));
    EXPECT_TRUE(list.sorted());
    SortListViewColumn(list, 1);
    EXPECT_EQ(column(list, 1), (Texts{"cherry", "banana", "Apple", "100", "10", "9"}));

    // An unknown tag sorts as text; the text order ignores case and keeps equal texts in order.
    SortListViewColumn(list, 0);
    EXPECT_EQ(column(list, 0), (Texts{"A", "a", "B", "b", "C", "c"}));
}

TEST(ListViewSort, SelectionAndCurrentRowFollowTheirRowWithoutChangeSignals) {
    ListView list;
    fillColumn(list, "5", {"3", "1", "2"});
    list.setCurrentRow(0);  // "3"
    int changes = 0;
    QObject::connect(list.selectionModel(), &QItemSelectionModel::currentChanged,
                     [&] { ++changes; });
    QObject::connect(list.selectionModel(), &QItemSelectionModel::selectionChanged,
                     [&] { ++changes; });

    SortListViewColumn(list, 1);
    ASSERT_EQ(list.currentRow(), 2);
    EXPECT_EQ(list.key(2), "k0");
    EXPECT_EQ(list.selectedRow(), 2);
    EXPECT_EQ(list.selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(changes, 0);
}

}  // namespace

// The text sort's order is that of the case-folded texts, for every character of the code
// page: each byte alone and after a common prefix.
TEST(ListViewSort, TextOrderIsThatOfTheCaseFoldedTexts) {
    Texts cells;
    for (int byte = 1; byte < 256; ++byte) {
        cells.push_back(std::string(1, static_cast<char>(byte)));
        cells.push_back("Ab" + std::string(1, static_cast<char>(byte)) + "z");
    }
    Texts expected = cells;
    std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
        return platform::toQt(a).toCaseFolded() < platform::toQt(b).toCaseFolded();
    });
    ListView list;
    list.addColumn("Text");
    std::vector<ListRow> rows;
    for (const std::string& cell : cells)
        rows.push_back(ListRow{{cell}, {}, false, {}});
    list.addRows(rows);
    list.setSortKey(0);
    list.setSortOrder(0);
    list.setSorted(true);
    EXPECT_EQ(column(list, 0), expected);
}
