#include <gtest/gtest.h>

#include <QComboBox>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/ListView.h"
#include "core/NumberList.h"
#include "core/mod_ListViewSort.h"

namespace {

// Texts a list borrows, by source number, as the bank's question texts are.
std::map<std::int32_t, std::string> g_borrowed;

void borrowColumn1(ListView& list) {
    list.setTextSource({1}, [](std::int32_t source, int) -> std::string_view {
        const auto found = g_borrowed.find(source);
        return found == g_borrowed.end() ? std::string_view() : std::string_view(found->second);
    });
}

ListRow row(std::vector<std::string> texts, std::int32_t source = 0) {
    ListRow r;
    r.Texts = std::move(texts);
    r.Key = "k" + r.Texts.front();
    r.Source = source;
    return r;
}

}  // namespace

TEST(ListViewRows, BorrowedColumnsAreReadFromTheirSourceWhenAsked) {
    g_borrowed = {{7, "beta"}, {8, "Alpha, the longest text of them all"}, {9, "gamma"}};
    ListView list;
    list.addColumn("N");
    list.addColumn("Text");
    borrowColumn1(list);
    list.addRows({row({"1", ""}, 7), row({"2", ""}, 8), row({"3"}, 9), row({"4", ""}, 5)});

    EXPECT_EQ(list.text(0, 1), "beta");
    EXPECT_EQ(list.model()->index(1, 1).data().toString(),
              QStringLiteral("Alpha, the longest text of them all"));
    EXPECT_EQ(list.text(2, 1), "");  // the row gives no text for the column
    EXPECT_EQ(list.text(3, 1), "");  // its source has none
    g_borrowed[7] = "delta";         // nothing was copied
    EXPECT_EQ(list.text(0, 1), "delta");

    list.autoSizeColumn(1, false);
    const int fitted = list.columnWidth(1);
    EXPECT_GT(fitted, list.fontMetrics().horizontalAdvance(QStringLiteral("Alpha, the longest")));

    mod_ListViewSort::SortListViewColumn(list, 1);
    EXPECT_EQ(list.key(0), "k3");  // the empty texts first
    EXPECT_EQ(list.key(2), "k2");  // "Alpha" before "delta", whatever the case
    EXPECT_EQ(list.key(3), "k1");
}

// A long text repeated over many rows (an objective) must not hide a shorter, wider one.
TEST(ListViewRows, AFittedColumnHoldsItsWidestTextWhateverTheLongestRepeat) {
    ListView list;
    list.addColumn("N");
    list.addColumn("Objective");
    std::vector<ListRow> rows;
    for (int k = 0; k < 40; ++k)
        rows.push_back(row({std::to_string(k), "iiiiiiiiiiii"}));
    rows.push_back(row({"40", "WWWWWWWW"}));
    list.addRows(rows);
    list.autoSizeColumn(1, false);
    EXPECT_GE(list.columnWidth(1), static_cast<QAbstractItemView&>(list).sizeHintForColumn(1));
}

TEST(ListViewRows, ShownTextStandsForTheCellAndSortsAsShown) {
    ListView list;
    list.addColumn("N");
    list.addColumn("File", 100, "2");
    list.addRows({row({"1", "b.sav"}), row({"2", "a?.sav"}), row({"3", "c.sav"})});
    const QString outside = QStringLiteral("\u03a9.sav");  // no Windows-1252 form
    list.setCellText(1, 1, outside);
    EXPECT_EQ(list.cellText(1, 1), outside);
    EXPECT_EQ(list.model()->index(1, 1).data().toString(), outside);

    mod_ListViewSort::SortListViewColumn(list, 1);
    EXPECT_EQ(list.key(2), "k2");  // omega folds after the Latin letters
    EXPECT_EQ(list.cellText(2, 1), outside);
}

TEST(ListViewRows, ClickingACheckBoxTogglesItOnceAndClearingKeepsTheColumns) {
    ListView list;
    list.setCheckBoxes(true);
    list.addColumn("N", 80);
    list.addColumn("Name", 120);
    list.addRows({row({"1", "a"}), row({"2", "b"})});
    list.resize(300, 200);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));

    std::vector<int> changed;
    QObject::connect(&list, &ListView::rowCheckChanged, [&](int r) { changed.push_back(r); });
    QStyleOptionViewItem option;
    option.initFrom(list.viewport());
    option.rect = list.visualRect(list.model()->index(1, 0));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &list);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_TRUE(list.isChecked(1));
    EXPECT_FALSE(list.isChecked(0));
    EXPECT_EQ(changed, std::vector<int>{1});

    list.clear();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.columnCount(), 2);
    EXPECT_EQ(list.columnWidth(1), 120);
    EXPECT_EQ(list.currentRow(), -1);
}

TEST(NumberList, EntriesAreNumbersFromOneAndARefillReplacesThem) {
    QComboBox combo;
    ShowNumbers(combo, 32767);
    ASSERT_EQ(combo.count(), 32767);
    EXPECT_EQ(combo.itemText(0), QStringLiteral("1"));
    EXPECT_EQ(combo.itemText(32766), QStringLiteral("32767"));
    EXPECT_EQ(combo.findText(QStringLiteral("200")), 199);
    ShowNumbers(combo, 3);
    EXPECT_EQ(combo.count(), 3);
    ShowNumbers(combo, -1);
    EXPECT_EQ(combo.count(), 0);
}
