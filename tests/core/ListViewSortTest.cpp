#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTest>

#include <string>
#include <vector>

#include "core/ListView.h"
#include "core/mod_ListViewSort.h"

namespace {

using Texts = std::vector<std::string>;

Texts columnTexts(const ListView& list, int column) {
    Texts texts;
    for (int r = 0; r < list.topLevelItemCount(); ++r)
        texts.push_back(ListView::itemText(*list.topLevelItem(r), column));
    return texts;
}

// A fresh list of a row-number column and the tested column, sorted once by the tested one.
Texts sortedOnce(const std::string& tag, const Texts& cells) {
    ListView list;
    list.addColumn("N", 50, "5");
    list.addColumn("Value", 100, tag);
    std::vector<ListRow> rows;
    for (const std::string& cell : cells)
        rows.push_back(ListRow{{"", cell}, "", false, {}});
    list.addRows(std::move(rows));
    mod_ListViewSort::SortListViewColumn(list, 1);
    return columnTexts(list, 1);
}

class ListViewSortTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.resize(500, 300);
        // Wired as the windows wire it.
        QObject::connect(&list, &ListView::columnClicked, [this](int column) {
            mod_ListViewSort::SortListViewColumn(list, column);
        });
    }

    // One column per tag; `rows` holds each row's texts. Keys are "k0", "k1", ...
    void fill(const Texts& tags, const std::vector<Texts>& rows) {
        for (std::size_t c = 0; c < tags.size(); ++c)
            list.addColumn("Col" + std::to_string(c), 100, tags[c]);
        std::vector<ListRow> items;
        for (std::size_t r = 0; r < rows.size(); ++r)
            items.push_back(ListRow{rows[r], "k" + std::to_string(r), false, {}});
        list.addRows(std::move(items));
    }

    // The tested column is column 1, after a row-number column, as in the program's lists.
    void fillColumn(const std::string& tag, const Texts& cells) {
        std::vector<Texts> rows;
        for (std::size_t r = 0; r < cells.size(); ++r)
            rows.push_back({std::to_string(r + 1), cells[r]});
        fill({"5", tag}, rows);
    }

    Texts column(int c) const { return columnTexts(list, c); }

    void click(int column) { mod_ListViewSort::SortListViewColumn(list, column); }
    Texts cells() const { return column(1); }

    ListView list;
};

TEST_F(ListViewSortTest, DateColumnPutsNonDatesAfterDatesAscendingAndBeforeDescending) {
    fillColumn("3", {"2024-03-01 10:00:00", "n/a", "2023-12-31", "2024-03-01 09:59:59", "",
                     "2024-01-15T08:00:00", "1 Feb 2024"});

    click(1);
    EXPECT_EQ(cells(), (Texts{"2023-12-31", "2024-01-15T08:00:00", "1 Feb 2024",
                              "2024-03-01 09:59:59", "2024-03-01 10:00:00", "n/a", ""}));
    click(1);
    EXPECT_EQ(cells(), (Texts{"n/a", "", "2024-03-01 10:00:00", "2024-03-01 09:59:59", "1 Feb 2024",
                              "2024-01-15T08:00:00", "2023-12-31"}));
}

TEST_F(ListViewSortTest, HeaderClicksReverseTheSameColumnAndStartAnotherAscending) {
    fill({"2", "5"}, {{"b", "2"}, {"a", "3"}, {"c", "1"}});
    list.show();
    QHeaderView* header = list.header();
    const auto clickHeader = [&](int c) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(c) + 20, header->height() / 2));
    };

    clickHeader(1);
    EXPECT_EQ(column(1), (Texts{"1", "2", "3"}));
    EXPECT_EQ(list.headerImage(1), 0);
    EXPECT_EQ(list.headerImage(0), -1);
    EXPECT_EQ(mod_ListViewSort::SortColumn(), 1);
    EXPECT_TRUE(mod_ListViewSort::SortAscending());

    clickHeader(1);
    EXPECT_EQ(column(1), (Texts{"3", "2", "1"}));
    EXPECT_EQ(list.sortOrder(), 1);
    EXPECT_EQ(list.headerImage(1), 1);
    EXPECT_FALSE(mod_ListViewSort::SortAscending());

    clickHeader(0);
    EXPECT_EQ(column(0), (Texts{"a", "b", "c"}));
    EXPECT_EQ(list.sortKey(), 0);
    EXPECT_EQ(list.sortOrder(), 0);
    EXPECT_EQ(list.headerImage(0), 0);
    EXPECT_EQ(list.headerImage(1), -1);
    EXPECT_EQ(mod_ListViewSort::SortColumn(), 0);
}

// SortKey starts at 0 and a reset puts it back there, so the first click on column 0 counts as
// a second one and reverses the direction left before.
TEST_F(ListViewSortTest, FirstClickOnColumnZeroReversesWhenFreshAndAfterReset) {
    fill({"5", "5"}, {{"1", "20"}, {"2", "10"}, {"3", "30"}});
    click(0);
    EXPECT_EQ(column(0), (Texts{"3", "2", "1"}));
    click(1);
    ASSERT_EQ(list.sortOrder(), 0);

    mod_ListViewSort::ResetListViewSort(list);
    EXPECT_EQ(list.sortKey(), 0);
    EXPECT_FALSE(list.sorted());
    EXPECT_EQ(list.sortOrder(), 0);
    EXPECT_EQ(list.headerImage(1), 0);  // the arrow stays until the next sort
    EXPECT_EQ(mod_ListViewSort::SortColumn(), 0);
    EXPECT_FALSE(mod_ListViewSort::SortAscending());

    click(0);
    EXPECT_EQ(column(0), (Texts{"3", "2", "1"}));
    EXPECT_EQ(list.headerImage(0), 1);
    EXPECT_EQ(list.headerImage(1), -1);
}

TEST(ListViewSortKinds, NumericKindsRoundHalvesToEvenReadOnly31CharactersAndSkipOthers) {
    // Percent: 12.4, 12.3 and 12.5 all count as 12 and keep their order.
    EXPECT_EQ(sortedOnce("4", {"100%", "9%", "10%", "12.4%", "12.3%", "12.5%", "13.5%", "14%"}),
              (Texts{"9%", "10%", "12.4%", "12.3%", "12.5%", "13.5%", "14%", "100%"}));
    // Number: cells that are no numbers keep their places.
    EXPECT_EQ(sortedOnce("5", {"x", "3.5", "y", "3", "2.5", "2"}),
              (Texts{"x", "2.5", "y", "2", "3", "3.5"}));
    // Amount, with the euro sign of Windows-1252.
    EXPECT_EQ(sortedOnce("1", {"$1,200", "31", "$30.50",
                               "\x80"
                               "5",
                               "$30.49"}),
              (Texts{"\x80"
                     "5",
                     "$30.50", "$30.49", "31", "$1,200"}));
    const std::string longTwo = std::string(30, '0') + "20";  // 32 characters, read as 2
    EXPECT_EQ(sortedOnce("5", {"3", longTwo}), (Texts{longTwo, "3"}));
}

TEST_F(ListViewSortTest, TextColumnKeepsTextOrderButPutsNumbersInNumericOrder) {
    fill({"other", ""},
         {{"b", "banana"}, {"a", "10"}, {"A", "Apple"}, {"c", "9"}, {"B", "cherry"}, {"C", "100"}});

    click(1);
    EXPECT_EQ(column(1), (Texts{"9", "10", "100", "Apple", "banana", "cherry"}));
    EXPECT_TRUE(list.sorted());
    click(1);
    EXPECT_EQ(column(1), (Texts{"cherry", "banana", "Apple", "100", "10", "9"}));

    // An unknown tag sorts as text; the text order ignores case and keeps equal texts in order.
    click(0);
    EXPECT_EQ(column(0), (Texts{"A", "a", "B", "b", "C", "c"}));
}

TEST_F(ListViewSortTest, SelectionAndCurrentRowFollowTheirRowWithoutChangeSignals) {
    fillColumn("5", {"3", "1", "2"});
    list.setCurrentItem(list.topLevelItem(0));  // "3"
    int changes = 0;
    QObject::connect(&list, &QTreeWidget::currentItemChanged, [&] { ++changes; });
    QObject::connect(&list, &QTreeWidget::itemSelectionChanged, [&] { ++changes; });

    click(1);
    ASSERT_NE(list.currentItem(), nullptr);
    EXPECT_EQ(ListView::itemKey(*list.currentItem()), "k0");
    EXPECT_EQ(list.indexOfTopLevelItem(list.currentItem()), 2);
    ASSERT_EQ(list.selectedItems().size(), 1);
    EXPECT_EQ(list.selectedItems().front(), list.currentItem());
    EXPECT_EQ(changes, 0);
}

}  // namespace
