#include <gtest/gtest.h>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/mod_Question.h"
#include "support/SampleArchives.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;

TEST(QuestionParseTest, TrimsAndSortsObjectivesAndPracticeGroups) {
    const auto bank = mod_Question::ParseQuestions(JoinQuestions({
        Question(1, 52, "Routing  ", 1, 1, "  Which route?  "),
        Question(2, 51, "routing"),
        Question(3, 11, "Routing"),
        Question(4, 52, " Addressing"),
        Question(5, 51, "Routing"),
    }));
    ASSERT_TRUE(bank.has_value());
    // Texts equal but for case both stay, in the order the exchange sort leaves them.
    EXPECT_EQ(bank->objectives, (std::vector<std::string>{"Addressing", "routing", "Routing"}));
    EXPECT_EQ(bank->practiceGroups, (std::vector<std::int16_t>{51, 52}));
    EXPECT_EQ(bank->questions[0].QuestionText, "Which route?");
    EXPECT_EQ(bank->questions[0].Topic, "Routing  ");  // the record keeps the spaces
    EXPECT_EQ(bank->questions[3].Choices, "1<f><f>A<f>yes<c>0<f><f>B<f>no");
}

TEST(QuestionParseTest, RefusesMalformedBanks) {
    const std::string good = Question(1, 51, "Routing");
    using mod_Question::BankError;
    std::string flipped = JoinQuestions({good, Question(2, 51, "Routing")});
    flipped[flipped.size() - 5] = '\0';  // a NUL cutting the bank short
    const std::vector<std::pair<std::string, BankError>> malformed = {
        {JoinQuestions({good,
                        "2\x1F"
                        "51\x1Ftoo\x1F"
                        "few"}),
         BankError::kTooFewFields},
        {JoinQuestions({good, Question(2, 51, "R", 1, 1).replace(0, 1, "x")}),
         BankError::kNotANumber},
        {JoinQuestions({good, ""}), BankError::kTooFewFields},  // empty piece
        {good + "\x1E", BankError::kTooFewFields},              // trailing separator
        {JoinQuestions({Question(1, 11, "Routing")}), BankError::kNoPracticeSet},
        {JoinQuestions({Question(1, 40000, "Routing")}), BankError::kNotANumber},  // 17 bits
        {flipped, BankError::kTextAfterNul},
        {good + std::string("\0\x1Egarbage", 9), BankError::kTextAfterNul},
    };
    for (const auto& [text, reason] : malformed) {
        BankError why = BankError::kNone;
        EXPECT_FALSE(mod_Question::ParseQuestions(text, &why)) << text;
        EXPECT_EQ(why, reason) << text;
    }
    // The text ends at its NULs.
    EXPECT_TRUE(mod_Question::ParseQuestions(good + std::string("\0\0", 2)));
}

namespace {

struct QuestionBankTest : ::testing::Test {
    TempProgramFolder folder;
    ScriptedMessageBoxes boxes;
    SystemVarsRecord record = MinimalSystemVars();

    void SetUp() override {
        AbortFlag = false;
        SystemVars = record;
        DataKey = KeyOf(record);
    }
    void TearDown() override { AbortFlag = false; }
};

}  // namespace

TEST_F(QuestionBankTest, PicturesFollowTheTwoLeadingEntriesAndStatisticsStartAtZero) {
    WriteDataDat(record, JoinQuestions({Question(7, 51, "R"), Question(8, 11, "R")}),
                 {{"a.gif", BytesOf("A")}, {"b.gif", BytesOf("B")}});
    mod_Question::LoadQuestionBank();
    boxes.expectNone();
    ASSERT_EQ(QuestionPictures.size(), 3u);
    EXPECT_TRUE(QuestionPictures[0].Name.empty());
    EXPECT_EQ(QuestionPictures[1].Name, "a.gif" + std::string(95, ' '));
    EXPECT_EQ(QuestionPictures[2].Bytes, BytesOf(std::string("B\0", 2)));
    EXPECT_EQ(mod_Question::CountQuestionsInGroup(51), 1);
    EXPECT_EQ(mod_Question::CountQuestionsInGroup(99), 0);
    ASSERT_EQ(QuestionStatsTable.size(), 2u);
    EXPECT_EQ(QuestionStatsTable[1].QuestionID, 8);
    EXPECT_EQ(QuestionStatsTable[1].TimesAsked, 0);
}

TEST_F(QuestionBankTest, APictureInFirstPlaceOrNoBankIsAMalformedArchive) {
    for (const ArchiveFiles& files :
         {ArchiveFiles{{"a.gif", BytesOf("A")}, {"questions.db", BytesOf(Question(1, 51, "R"))}},
          ArchiveFiles{{"header.dat", BytesOf("x")}}}) {
        AbortFlag = false;
        WriteFile(AppPaths::DataDat(), Archive(files));
        boxes.queue(platform::kOk);
        mod_Question::LoadQuestionBank();
        EXPECT_TRUE(AbortFlag);
        EXPECT_EQ(boxes.shown().size(), 1u);
        boxes.clear();
        EXPECT_TRUE(std::filesystem::exists(AppPaths::DataDat()));
    }
}

TEST_F(QuestionBankTest, StatisticsRoundTripThroughResourceDat) {
    WriteDataDat(record, JoinQuestions({Question(7, 51, "R"), Question(8, 11, "R")}));
    mod_Question::LoadQuestionBank();
    QuestionStatsTable[1] = {8, 3, 2, 5, true};
    ASSERT_TRUE(mod_Question::WriteStatistics());
    QuestionStatsTable.clear();
    mod_Question::LoadQuestionBank();
    boxes.expectNone();
    ASSERT_EQ(QuestionStatsTable.size(), 2u);
    EXPECT_EQ(QuestionStatsTable[1].CorrectCount, 3);
    EXPECT_EQ(QuestionStatsTable[1].WrongCount, 2);
    EXPECT_EQ(QuestionStatsTable[1].TimesAsked, 5);
    EXPECT_TRUE(QuestionStatsTable[1].Bookmarked);
}

TEST(DataDigestTest, BindsProductCodeAndKeyAsTheShippedHeaderExpects) {
    // Computed outside this code base: MD5 of "NetPrepNP-110pto-enefData.dat".
    EXPECT_EQ(mod_Question::DataDigest("NetPrep", "NP-110", "pto-enef"),
              "A942226083B8334799F5E640C986D166");
}
