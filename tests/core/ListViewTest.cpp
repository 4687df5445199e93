#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/ListView.h"
#include "core/NumberList.h"
#include "core/QuestionBank.h"
#include "core/QuestionRowTip.h"
#include "core/cls_ToolTipText.h"
#include "core/mod_ListViewSort.h"
#include "support/GuiTestSupport.h"

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

namespace {

// A question list as the windows make one: its number first, sorted by a header click, and
// the question's tip for the row the pointer enters.
struct QuestionList {
    ListView list;
    std::unique_ptr<cls_ToolTipText> tip;

    QuestionList() {
        list.addColumn("N", 60, "5");
        list.addColumn("Question", 200);
        QObject::connect(&list, &ListView::columnClicked, &list, [this](int column) {
            mod_ListViewSort::SortListViewColumn(list, column);
        });
        QObject::connect(&list, &ListView::rowEntered, &list, [this](int row) {
            ShowQuestionRowTip(tip, &list,
                               &QuestionBank.at(static_cast<std::size_t>(list.rowNumber(row) - 1)));
        });
        list.viewport()->setMouseTracking(true);
        fill(false);
        list.resize(300, 300);
        list.show();
    }
    void fill(bool reversed) {
        list.clear();
        std::vector<ListRow> rows;
        for (std::size_t k = 0; k < QuestionBank.size(); ++k) {
            const std::size_t i = reversed ? QuestionBank.size() - 1 - k : k;
            rows.push_back(row({std::to_string(i + 1), QuestionBank[i].QuestionText}));
        }
        list.addRows(rows);
    }
};

struct ListViewRowTip : ::testing::Test {
    const std::vector<QuestionRecord> keptBank = QuestionBank;
    void SetUp() override {
        QuestionBank.clear();
        for (std::int32_t id = 1; id <= 8; ++id) {
            QuestionRecord question;
            question.QuestionID = id;
            question.QuestionText = "Question " + std::to_string(id);
            QuestionBank.push_back(question);
        }
    }
    void TearDown() override { QuestionBank = keptBank; }
};

}  // namespace

// The pointer rests on question 2's row while the rows change, before its tip shows or while
// it shows: question 7's row is under it now, and question 2's tip never stands there.
TEST_F(ListViewRowTip, RowsChangedUnderARestingPointerShowNoOtherQuestionsTip) {
    const std::vector<std::pair<std::string, std::function<void(QuestionList&)>>> changes = {
        {"sorted by a header click",
         [](QuestionList& q) { emit q.list.header()->sectionClicked(0); }},
        {"refilled", [](QuestionList& q) { q.fill(true); }},
    };
    const auto tipOtherThan7 = [] {
        const QStringList shown = testsupport::tipTexts(true);
        return std::any_of(shown.begin(), shown.end(), [](const QString& text) {
            return text.startsWith(QStringLiteral("Question ")) &&
                   text != QStringLiteral("Question 7");
        });
    };
    for (const auto& [change, apply] : changes) {
        for (const bool tipShown : {false, true}) {
            SCOPED_TRACE(change + (tipShown ? ", tip shown" : ", tip pending"));
            QuestionList q;
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&q.list));
            // From the row above: a move to where the last list's pointer rested is no move.
            for (const int row : {0, 1}) {
                const QPoint centre = q.list.visualRect(q.list.model()->index(row, 1)).center();
                testsupport::movePointer(q.list.viewport(), centre);
            }
            ASSERT_TRUE(q.tip && q.tip->hasTip());
            if (tipShown) {
                ASSERT_TRUE(QTest::qWaitFor(
                    [] {
                        return testsupport::tipTexts(true).contains(QStringLiteral("Question 2"));
                    },
                    2000));
            }
            apply(q);
            ASSERT_EQ(q.list.text(1, 1), "Question 7");
            EXPECT_FALSE(QTest::qWaitFor(tipOtherThan7, 500))
                << testsupport::tipTexts(true).join(u'|').toStdString();
        }
    }
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
