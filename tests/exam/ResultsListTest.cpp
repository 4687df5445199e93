#include <QTabWidget>

#include "core/ListView.h"
#include "core/OwnIcons.h"
#include "core/mod_ComboBox.h"
#include "core/mod_ListViewSort.h"
#include "exam/ExamWindowFixture.h"

using examtest::ExamWindowFixture;

namespace {

struct ResultsListTest : ExamWindowFixture {
    std::vector<std::string> rowNumbers() const {
        std::vector<std::string> numbers;
        for (int row = 0; row < window->ListView2->rowCount(); ++row)
            numbers.push_back(window->ListView2->text(row, 0));
        return numbers;
    }
    QImage rowIcon(int row) const {
        return window->ListView2->rowIcon(row).pixmap(16, 16).toImage();
    }
};

QImage icon(int kind) {
    return OwnIcons::resultIcon(kind).pixmap(16, 16).toImage();
}

}  // namespace

// An answer changes its own row in place; a list the user sorted comes back in exam order,
// as every refill leaves it.
TEST_F(ResultsListTest, AnAnswerUpdatesItsRowAndASortedListReturnsToExamOrder) {
    ASSERT_TRUE(open());
    window->Timer1_Timer();
    window->SSTab2->setCurrentIndex(frm_Exam::kResultsTab);
    ASSERT_EQ(rowNumbers(), (std::vector<std::string>{"1", "2", "3", "4"}));
    window->Label_Click(1);
    EXPECT_EQ(rowIcon(0), icon(2));
    EXPECT_EQ(rowIcon(1), icon(1));

    // The first click after a refill reverses the column's last direction.
    mod_ListViewSort::SortListViewColumn(*window->ListView2, 0);
    if (rowNumbers().front() == "1") mod_ListViewSort::SortListViewColumn(*window->ListView2, 0);
    ASSERT_EQ(rowNumbers(), (std::vector<std::string>{"4", "3", "2", "1"}));
    window->Label_Click(0);
    EXPECT_EQ(rowNumbers(), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(rowIcon(0), icon(3));
    EXPECT_EQ(window->ListView2->headerImage(0), -1);
}
