#include <gtest/gtest.h>

#include <limits>

#include "browsers/BrowserTexts.h"
#include "browsers/QuestionRenderer.h"

namespace {

using browsers::ChoiceLayout;
using browsers::RenderOptions;
using browsers::RenderQuestion;
using testsupport::BrowserQuestion;

const std::string kHead = "\r\nExam: Trial\r\nObjective: Routing\r\nLevel: Beginner\r\n" +
                          std::string(75, '-') + "\r\n\r\nText 1\r\n\r\n";
const std::string kAnswers =
    "\r\n\r\n" + std::string(50, '-') + "\r\nV10\r\n" + std::string(50, '-') + "\r\n\r\nBecause";

struct QuestionRendererTest : ::testing::Test {
    void SetUp() override { testsupport::SetBrowserTexts(); }
    void TearDown() override { QuestionPictures.clear(); }

    static RenderOptions Options(ChoiceLayout layout, bool answers) {
        RenderOptions options;
        options.Layout = layout;
        options.ShowAnswers = answers;
        options.AnswerHeading = "V10";
        return options;
    }
};

TEST_F(QuestionRendererTest, SingleAnswerInBothLayoutsWithAndWithoutAnswers) {
    const QuestionRecord q = BrowserQuestion(1, 1);
    const std::string parenthesised = "\r\n\r\nSingle\r\n\r\n(A)\r\nyes\r\n\r\n\r\n(B)\r\nno\r\n";
    const std::string inline_ = "\r\n\r\nSingle\r\n\r\nA.  yes\r\n\r\nB.  no";

    auto page = RenderQuestion(q, Options(ChoiceLayout::kLabelInParentheses, false));
    EXPECT_EQ(page.Text, kHead + parenthesised + "\r\n\r\n\r\n");
    EXPECT_EQ(page.PictureOffset, static_cast<int>(kHead.size()));
    EXPECT_EQ(page.Picture, nullptr);

    page = RenderQuestion(q, Options(ChoiceLayout::kLabelInParentheses, true));
    EXPECT_EQ(page.Text, kHead + parenthesised + kAnswers + "\r\n\r\n\r\n");
    page = RenderQuestion(q, Options(ChoiceLayout::kLabelInline, false));
    EXPECT_EQ(page.Text, kHead + inline_ + "\r\n\r\n\r\n");
    page = RenderQuestion(q, Options(ChoiceLayout::kLabelInline, true));
    EXPECT_EQ(page.Text, kHead + inline_ + kAnswers + "\r\n\r\n\r\n");
}

TEST_F(QuestionRendererTest, MultipleAnswersCountTheCorrectChoicesInTheHeading) {
    QuestionRecord q = BrowserQuestion(1, 2);
    q.Choices = "1<f><f>A<f>yes<c>0<f><f>B<f>no<c> 1 <f><f>C<f>also";
    auto page = RenderQuestion(q, Options(ChoiceLayout::kLabelInline, true));
    EXPECT_EQ(page.Text, kHead +
                             "\r\n\r\nMultiple (Choose 2)\r\n\r\nA.  yes\r\n\r\nB.  no\r\n\r\nC.  "
                             "also" +
                             kAnswers + "\r\n\r\n\r\n");
    q.Choices = "0<f><f>A<f>yes";
    page = RenderQuestion(q, Options(ChoiceLayout::kLabelInParentheses, false));
    EXPECT_EQ(page.Text, kHead + "\r\n\r\nMultiple (Choose 0)\r\n\r\n(A)\r\nyes\r\n\r\n\r\n\r\n");
}

TEST_F(QuestionRendererTest, FillInAndOtherTypes) {
    auto page = RenderQuestion(BrowserQuestion(1, 6), Options(ChoiceLayout::kLabelInline, true));
    EXPECT_EQ(page.Text,
              kHead + "\r\n\r\nFill  ________________________" + kAnswers + "\r\n\r\n\r\n");
    page = RenderQuestion(BrowserQuestion(1, 4), Options(ChoiceLayout::kLabelInline, true));
    EXPECT_EQ(page.Text, kHead + kAnswers + "\r\n\r\n\r\n");
    // An empty explanation leaves only the line breaks.
    QuestionRecord q = BrowserQuestion(1, 4);
    q.Explanation.clear();
    page = RenderQuestion(q, Options(ChoiceLayout::kLabelInline, true));
    EXPECT_TRUE(page.Text.ends_with(std::string(50, '-') + "\r\n\r\n\r\n\r\n\r\n"));
}

TEST_F(QuestionRendererTest, BadBankDataRendersEmptyNamesAndNotCorrect) {
    QuestionRecord q = BrowserQuestion(1, 2);
    q.GroupCode = 100;
    q.Level = 7;
    q.Choices = "x<f><f>A<c>1<c><f>";
    const auto page = RenderQuestion(q, Options(ChoiceLayout::kLabelInParentheses, false));
    EXPECT_EQ(page.Text,
              "\r\nExam: \r\nObjective: Routing\r\nLevel: \r\n" + std::string(75, '-') +
                  "\r\n\r\nText 1\r\n\r\n\r\n\r\nMultiple (Choose 1)\r\n\r\n(A)\r\n\r\n\r\n\r\n()"
                  "\r\n\r\n\r\n\r\n()\r\n\r\n\r\n\r\n\r\n");
}

TEST_F(QuestionRendererTest, PictureMatchesTrimmedAndWithoutCaseAfterTheQuestionText) {
    QuestionPictures = {{"other.gif", {}}, {"exhibit.gif", {1, 2}}, {"EXHIBIT.GIF", {3}}};
    QuestionRecord q = BrowserQuestion(1, 1);
    q.PictureName = "  Exhibit.GIF ";
    auto page = RenderQuestion(q, Options(ChoiceLayout::kLabelInParentheses, false));
    ASSERT_EQ(page.Picture, &QuestionPictures[1]);
    EXPECT_EQ(page.Text.substr(0, static_cast<std::size_t>(page.PictureOffset)), kHead);
    q.PictureName = "missing.gif";
    EXPECT_EQ(RenderQuestion(q, {}).Picture, nullptr);

    // Capitals on the stored side only.
    QuestionPictures = {{"other.gif", {}}, {"Exhibit.GIF", {4}}};
    q.PictureName = "exhibit.gif";
    EXPECT_EQ(RenderQuestion(q, {}).Picture, &QuestionPictures[1]);
}

TEST_F(QuestionRendererTest, FullViewHeaderAndStatisticsBlock) {
    RenderOptions options = Options(ChoiceLayout::kLabelInParentheses, false);
    options.HeaderLine = "Question 3 of 9";
    options.Statistics = QuestionStats{1, 29, 20, 50, false};
    auto page = RenderQuestion(BrowserQuestion(1, 4), options);
    const std::string stats = "\r\nAsked 50\r\nCorrect 29\r\nWrong 20\r\nUnanswered 1\r\nRate 57 %";
    EXPECT_EQ(page.Text,
              "\r\nQuestion 3 of 9\r\nExam: Trial\r\nObjective: Routing\r\nLevel: "
              "Beginner" +
                  stats + "\r\n" + std::string(75, '-') + "\r\n\r\nText 1\r\n\r\n\r\n\r\n\r\n");

    options.Statistics = QuestionStats{1, 0, 0, 0, false};
    page = RenderQuestion(BrowserQuestion(1, 4), options);
    EXPECT_NE(page.Text.find("Asked 0\r\nCorrect 0\r\nWrong 0\r\nUnanswered 0\r\nRate  - \r\n"),
              std::string::npos);
    options.Statistics = QuestionStats{1, 2, 1, 3, false};
    page = RenderQuestion(BrowserQuestion(1, 4), options);
    EXPECT_NE(page.Text.find("Unanswered 0\r\nRate 66 %"), std::string::npos);

    // A validly signed file may hold any counters: the figure stays within 32 bits.
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    options.Statistics = QuestionStats{1, kMin, 0, kMax, false};
    page = RenderQuestion(BrowserQuestion(1, 4), options);
    EXPECT_NE(page.Text.find("Unanswered 2147483647\r\n"), std::string::npos);
    options.Statistics = QuestionStats{1, kMax, kMax, kMin, false};
    page = RenderQuestion(BrowserQuestion(1, 4), options);
    EXPECT_NE(page.Text.find("Unanswered -2147483648\r\nRate  - "), std::string::npos);
}

TEST(BrowserFigures, PercentDividesFirstThenTruncatesAndCaptionCountsFromOne) {
    EXPECT_EQ(browsers::TruncatedPercent(29, 50), 57);
    EXPECT_EQ(browsers::TruncatedPercent(2, 3), 66);
    EXPECT_EQ(browsers::TruncatedPercent(3, 3), 100);
    // Counters of a damaged file: far more right than asked.
    EXPECT_EQ(browsers::TruncatedPercent(std::numeric_limits<std::int32_t>::max(), 1),
              std::numeric_limits<int>::max());
    testsupport::SetBrowserTexts();
    EXPECT_EQ(browsers::PositionCaption("V1", 0, 1), "V1   (Q1 / 1)");
}

}  // namespace
