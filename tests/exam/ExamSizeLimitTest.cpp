#include <QComboBox>
#include <QTabWidget>

#include <cstdint>
#include <limits>
#include <string>

#include "core/ListView.h"
#include "core/mod_ComboBox.h"
#include "exam/ExamWindowFixture.h"
#include "exam/mod_MyCurrentExam.h"

using exam::CurrentExamSession;
using examtest::ExamWindowFixture;

namespace {

constexpr int kLimit = std::numeric_limits<std::int16_t>::max();

struct ExamSizeLimitTest : ExamWindowFixture {
    void SetUp() override {
        ExamWindowFixture::SetUp();
        QuestionBank.clear();
        QuestionStatsTable.clear();
        for (std::int32_t id = 1; id <= kLimit; ++id) {
            QuestionBank.push_back(
                examtest::question(id, 51, 1, 1, "Which one?", "1<f><f>A<f>Yes<c>0<f><f>B<f>No"));
            QuestionStatsTable.push_back({id, 0, 0, 0, false});
        }
        exam::InvalidateQuestionLookup();
    }
};

}  // namespace

// The stored form's largest exam opens whole: counters over questions and rows never wrap.
TEST_F(ExamSizeLimitTest, TheLargestExamOpensWithEveryQuestionReachable) {
    ASSERT_TRUE(open());
    ASSERT_EQ(CurrentExam.Questions->size(), static_cast<std::size_t>(kLimit));
    EXPECT_EQ(CurrentExamSession.QuestionCount(), kLimit);
    ASSERT_EQ(window->Choices_Jump->count(), kLimit);
    EXPECT_EQ(window->Choices_Jump->itemText(kLimit - 1), QString::number(kLimit));

    mod_MyCurrentExam::ShowQuestion(static_cast<std::int16_t>(kLimit - 1));
    EXPECT_EQ(CurrentQuestionIndex, kLimit - 1);
    EXPECT_TRUE(CurrentExamSession.RecordAnswer("A", true));
    const exam::StatusCounts counts = CurrentExamSession.Counts();
    EXPECT_EQ(counts.answered, 1);
    EXPECT_EQ(counts.unanswered, kLimit - 1);
    EXPECT_EQ(counts.marked, 1);

    // The results list has a row for every question, the last one included.
    window->SSTab2->setCurrentIndex(frm_Exam::kResultsTab);
    ASSERT_EQ(window->ListView2->rowCount(), kLimit);
    EXPECT_EQ(window->ListView2->text(kLimit - 1, 0), std::to_string(kLimit));
}
