#include <gtest/gtest.h>

#include "core/QuestionBank.h"
#include "exam/QuestionLookup.h"

namespace {

std::vector<QuestionRecord> bankOf(std::initializer_list<std::int32_t> ids) {
    std::vector<QuestionRecord> bank;
    for (const std::int32_t id : ids) {
        bank.emplace_back();
        bank.back().QuestionID = id;
        bank.back().Topic = "q" + std::to_string(bank.size());
    }
    return bank;
}

// The position a lookup found, -1 for none.
std::ptrdiff_t positionOf(std::int32_t id) {
    exam::QuestionLookup lookup;
    const QuestionRecord* q = lookup.Question(id);
    return q ? q - QuestionBank.data() : -1;
}

struct QuestionLookupTest : ::testing::Test {
    void TearDown() override {
        QuestionBank.clear();
        QuestionStatsTable.clear();
        exam::InvalidateQuestionLookup();
    }
};

}  // namespace

TEST_F(QuestionLookupTest, ASwappedBankNeverYieldsAStalePosition) {
    QuestionBank = bankOf({1, 2, 3, 2});
    EXPECT_EQ(positionOf(2), 1);  // the first match

    const auto full = QuestionBank;
    QuestionBank = bankOf({3, 2});  // the custom tab's filtered copy
    EXPECT_EQ(positionOf(2), 1);
    EXPECT_EQ(positionOf(1), -1);
    EXPECT_EQ(positionOf(3), 0);

    QuestionBank = bankOf({2, 2, 9, 4});  // same size as the full bank, other ids
    EXPECT_EQ(positionOf(2), 0);
    EXPECT_EQ(positionOf(9), 2);

    QuestionBank[0].QuestionID = 7;  // edited in place
    EXPECT_EQ(positionOf(2), 1);
    EXPECT_EQ(positionOf(7), 0);

    QuestionBank = full;
    exam::InvalidateQuestionLookup();
    EXPECT_EQ(positionOf(2), 1);
    EXPECT_EQ(positionOf(9), -1);
    EXPECT_EQ(QuestionBank[1].Topic, "q2");
}
