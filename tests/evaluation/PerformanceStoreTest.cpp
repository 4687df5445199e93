#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <regex>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/FileSignature.h"
#include "core/QuestionBank.h"
#include "core/mod_GenKey.h"
#include "core/mod_MD5.h"
#include "core/mod_System.h"
#include "evaluation/mod_Performance.h"
#include "exam/CurrentExam.h"
#include "exam/ExamGrades.h"
#include "exam/ExamRecordIo.h"
#include "exam/mod_Exam.h"
#include "support/SampleArchives.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;
using formats::Bytes;

namespace {

// Little-endian integers and texts with their 16-bit length, written by hand.
void put(Bytes& out, std::int64_t value, int size) {
    for (int k = 0; k < size; ++k)
        out.push_back(static_cast<std::uint8_t>((value >> (8 * k)) & 0xFF));
}

void putText(Bytes& out, std::string_view text) {
    put(out, static_cast<std::int64_t>(text.size()), 2);
    out.insert(out.end(), text.begin(), text.end());
}

PerformanceSummary summary(std::int32_t index, std::string title) {
    PerformanceSummary s;
    s.Index = index;
    s.FilePath = "p" + std::to_string(index);
    s.Title = std::move(title);
    s.ElapsedText = "00:01:02";
    s.Total = 4;
    s.Correct = 3;
    s.Wrong = 1;
    s.PercentText = "75%";
    s.ScoreText = "Score : 75% (3/4)";
    return s;
}

struct PerformanceStoreTest : ::testing::Test {
    TempProgramFolder folder;
    ScriptedMessageBoxes boxes;

    void SetUp() override {
        AbortFlag = false;
        SystemVars = MinimalSystemVars();
        SystemVars.PerformanceTexts.at(performance_text::kDamagedRecord) = "Broken record";
        SystemVars.PerformanceTexts.at(performance_text::kDamagedRecordCaption) = "History";
        DataKey = KeyOf(SystemVars);
        QuestionRecord q;
        q.QuestionID = 8;
        QuestionBank = {q};
        PerformanceHistory.clear();
        mod_Performance::InitPerformancePaths();
        CurrentExam = BlankExam;
        CurrentExam.Title = "Trial";
        CurrentExam.Minutes = "90";
        CurrentExam.RemainingText = "01:00:00";
        CurrentExam.ElapsedText = "00:30:00";
        CurrentExam.Groups = std::vector<std::int16_t>{11, 46};
        CurrentExam.Questions = std::vector<QuestionState>{QuestionState{8, {}, {}, true}};
        CurrentExam.Total = 1;
        CurrentExam.Unanswered = 1;
        CurrentExam.PercentText = "0%";
        CurrentExam.ScoreText = "Score : 0% (0/1)";
        CurrentExam.Continued = true;
    }
    void TearDown() override {
        AbortFlag = false;
        QuestionBank.clear();
        PerformanceHistory.clear();
        CurrentExam = BlankExam;
    }

    static void writeIndex(const std::vector<PerformanceSummary>& records,
                           const std::string& header) {
        formats::BinaryWriter body;
        for (const auto& s : records)
            mod_Performance::WriteSummary(body, s);
        ASSERT_TRUE(
            mod_System::WriteSignedFile(mod_Performance::PerformanceIndexPath, header, body));
    }

    static std::size_t filesInStore() {
        return static_cast<std::size_t>(std::distance(
            std::filesystem::directory_iterator(mod_Performance::PerformanceDir), {}));
    }
};

}  // namespace

TEST_F(PerformanceStoreTest, AnIndexOfTwoRecordsHasTheDocumentedBytes) {
    std::vector<PerformanceSummary> records = {summary(0, "Trial"), summary(1, "Final")};
    records[0].ExamDate = 2.0;
    records[1].Groups = std::vector<std::int16_t>{31};
    Bytes expected;
    for (const auto& s : records) {
        put(expected, s.Index, 4);
        putText(expected, s.FilePath);
        putText(expected, s.Title);
        put(expected, s.ExamDate == 2.0 ? 0x4000'0000'0000'0000 : 0, 8);
        put(expected, 0, 8);  // saved at
        putText(expected, "00:01:02");
        if (s.Groups) {
            put(expected, 1, 2);  // one dimension of one element from 0
            put(expected, 1, 4);
            put(expected, 0, 4);
            put(expected, 31, 2);
        } else {
            put(expected, 0, 2);
        }
        for (const int count : {4, 3, 1, 0})
            put(expected, count, 2);
        putText(expected, "75%");
        putText(expected, "Score : 75% (3/4)");
    }
    formats::BinaryWriter body;
    for (const auto& s : records)
        mod_Performance::WriteSummary(body, s);
    EXPECT_EQ(body.bytes(), expected);

    formats::BinaryWriter hand;
    hand.writeBytes(expected);
    ASSERT_TRUE(mod_System::WriteSignedFile(mod_Performance::PerformanceIndexPath, "1", hand));
    EXPECT_TRUE(mod_Performance::HasPerformanceHistory());
    EXPECT_EQ(PerformanceHistory, records);
}

TEST_F(PerformanceStoreTest, AppendsWriteTheHistoryFileAndExtendTheIndex) {
    std::filesystem::remove_all(mod_Performance::PerformanceDir);
    EXPECT_FALSE(mod_Performance::HasPerformanceHistory());  // no folder: made, no message
    mod_Performance::SavePerformanceRecord();
    ASSERT_FALSE(AbortFlag);
    EXPECT_TRUE(PerformanceHistory.empty());
    EXPECT_FALSE(CurrentExam.Continued);
    const std::filesystem::path first = CurrentExam.PerformanceFile;
    EXPECT_EQ(first.parent_path(), mod_Performance::PerformanceDir);
    EXPECT_TRUE(std::regex_match(first.filename().string(), std::regex("[0-9A-F]{32}")));
    EXPECT_EQ(exam::ReadExamFile(first), CurrentExam);  // its own path, not continued

    const auto firstExam = CurrentExam;
    CurrentExam.Title = "Final";
    mod_Performance::SavePerformanceRecord();
    ASSERT_TRUE(mod_Performance::HasPerformanceHistory());
    EXPECT_EQ(SignatureHeader.ExtraText, "1");
    ASSERT_EQ(PerformanceHistory.size(), 2u);
    const PerformanceSummary& older = PerformanceHistory[0];
    EXPECT_EQ(older.Index, 0);
    EXPECT_EQ(older.FilePath, first.string());
    EXPECT_EQ(older.Title, "Trial");
    EXPECT_EQ(older.Groups, firstExam.Groups);
    EXPECT_EQ(older.ElapsedText, "00:30:00");
    EXPECT_GT(older.SavedAt, 40000.0);  // a date of this century
    EXPECT_EQ(PerformanceHistory[1].Index, 1);
    EXPECT_EQ(PerformanceHistory[1].Title, "Final");
    EXPECT_EQ(filesInStore(), 3u);

    ASSERT_TRUE(mod_Performance::OpenPerformanceRecord(0));
    EXPECT_EQ(CurrentExam, firstExam);
}

TEST_F(PerformanceStoreTest, ATakenHistoryNameIsDrawnAgain) {
    mod_GenKey::SeedForTesting(11);
    const std::string taken = mod_MD5::MD5String(mod_GenKey::GenKey(8));
    const std::string next = mod_MD5::MD5String(mod_GenKey::GenKey(8));
    WriteFile(mod_Performance::PerformanceDir / taken, {1});
    mod_GenKey::SeedForTesting(11);
    mod_Performance::SavePerformanceRecord();
    EXPECT_EQ(CurrentExam.PerformanceFile, (mod_Performance::PerformanceDir / next).string());
    EXPECT_EQ(ReadFile(mod_Performance::PerformanceDir / taken), Bytes{1});
}

TEST_F(PerformanceStoreTest, ABrokenIndexIsReportedAndNothingIsWritten) {
    const std::vector<std::pair<std::string, formats::ReadError>> headers = {
        {"x", formats::ReadError::kBadRecordIndex},
        {"-1", formats::ReadError::kBadRecordIndex},
        {"4", formats::ReadError::kCountBeyondData},  // promises absent records
    };
    for (const auto& [header, reason] : headers) {
        writeIndex({summary(0, "Trial")}, header);
        boxes.queue(platform::kOk);
        mod_Performance::SavePerformanceRecord();
        EXPECT_TRUE(AbortFlag);
        EXPECT_EQ(mod_System::LastBodyError(), reason) << header;
        EXPECT_FALSE(CurrentExam.Continued);
        EXPECT_TRUE(CurrentExam.PerformanceFile.empty());
        // The broken index is set aside, nothing is added.
        EXPECT_EQ(filesInStore(), 1u);
        EXPECT_TRUE(std::filesystem::exists(
            mod_System::SetAsidePath(mod_Performance::PerformanceIndexPath)));
        AbortFlag = false;
    }
    ASSERT_EQ(boxes.shown().size(), headers.size());
    EXPECT_NE(boxes.shown()[0].text.find(mod_Performance::PerformanceIndexPath.string()),
              std::string::npos);

    WriteFile(mod_Performance::PerformanceIndexPath, {1, 2, 3});
    boxes.queue(platform::kOk);
    EXPECT_FALSE(mod_Performance::HasPerformanceHistory());
    EXPECT_TRUE(AbortFlag);
    EXPECT_TRUE(PerformanceHistory.empty());
}

TEST_F(PerformanceStoreTest, AMissingEditedOrIncoherentRecordIsRefusedWithItsMessage) {
    mod_Performance::SavePerformanceRecord();
    const std::string path = CurrentExam.PerformanceFile;
    ASSERT_TRUE(mod_Performance::HasPerformanceHistory());
    CurrentExam.Title = "kept";

    QuestionBank.front().QuestionID = 9;  // the recorded question left the bank: still shown
    EXPECT_TRUE(mod_Performance::OpenPerformanceRecord(0));
    QuestionBank.front().QuestionID = 8;
    CurrentExam.Title = "kept";

    Bytes edited = ReadFile(path);
    edited[3] ^= 1;
    WriteFile(path, edited);
    boxes.queue(platform::kOk);
    EXPECT_FALSE(mod_Performance::OpenPerformanceRecord(0));

    std::filesystem::remove(path);
    boxes.queue(platform::kOk);
    EXPECT_FALSE(mod_Performance::OpenPerformanceRecord(0));

    EXPECT_EQ(CurrentExam.Title, "kept");
    EXPECT_FALSE(AbortFlag);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[1], (ShownBox{"Broken record\r\n\r\n" + path, "History", 16}));
}

// The signature leaves the body's counts open to an edit: a record whose results grading its
// own answers could not have given is refused as altered, and every record grading wrote opens,
// also once its questions have left the bank.
TEST_F(PerformanceStoreTest, ARecordWhoseResultsAreNotItsOwnIsRefusedWithItsMessage) {
    // Thirteen questions of the three answer types: 1 to 7 answered right (the multiple
    // answers in another order, the fill-ins in another case and spacing), 8 to 10 wrong,
    // 11 to 13 left open.
    const std::int16_t types[] = {kFillInAnswerType, kSingleAnswerType, kMultipleAnswerType};
    const char* choices[] = {"1<f><f><f>Paris", "1<f><f>A<f>yes<c>0<f><f>B<f>no",
                             "1<f><f>A<f>x<c>1<f><f>B<f>y<c>0<f><f>C<f>z"};
    using Texts = std::vector<std::string>;
    const Texts right[] = {{"  PARIS "}, {"A"}, {"B", "A"}};
    const Texts wrong[] = {{"Rome"}, {"B"}, {"A"}};
    QuestionBank.clear();
    for (std::int32_t id = 1; id <= 13; ++id) {
        QuestionRecord q;
        q.QuestionID = id;
        q.GroupCode = 51;
        q.QuestionType = types[id % 3];
        q.Choices = choices[id % 3];
        QuestionBank.push_back(q);
    }
    const std::vector<QuestionRecord> bank = QuestionBank;
    CurrentExam.Groups = std::vector<std::int16_t>{51};
    mod_Exam::BuildExamQuestions();
    mod_Exam::BuildAnswerKey();
    for (QuestionState& state : CurrentExam.Questions.value()) {
        const auto type = static_cast<std::size_t>(state.QuestionID % 3);
        if (state.QuestionID <= 7) state.GivenAnswers = right[type];
        if (state.QuestionID >= 8 && state.QuestionID <= 10) state.GivenAnswers = wrong[type];
    }
    mod_Exam::GradeExam();
    ASSERT_EQ(CurrentExam.ScoreText, "Score : 53% (7/13)");
    ASSERT_EQ(CurrentExam.Unanswered, 3);
    mod_Performance::SavePerformanceRecord();
    const CurrentExamRecord graded = CurrentExam;
    ASSERT_TRUE(mod_Performance::HasPerformanceHistory());

    const auto score = [](CurrentExamRecord& e, std::int16_t correct, std::int16_t wrong,
                          std::int16_t unanswered) {
        e.Correct = correct;
        e.Wrong = wrong;
        e.Unanswered = unanswered;
        e.PercentText = exam::GradedPercentText(correct, e.Total);
        e.ScoreText = exam::GradedScoreText(correct, e.Total);
    };
    struct Row {
        const char* what;
        std::function<void(CurrentExamRecord&)> edit;
        std::vector<std::int32_t> gone;  // ids no longer in the bank
        bool opens;
    };
    const Row rows[] = {
        {"as graded", [](CurrentExamRecord&) {}, {}, true},
        {"every question left the bank",
         [](CurrentExamRecord&) {},
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13},
         true},
        {"a right, a wrong and an open question left the bank",
         [](CurrentExamRecord&) {},
         {3, 9, 12},
         true},
        {"questions not in the bank when graded: the three add up to less",
         [&score](CurrentExamRecord& e) { score(e, 7, 3, 1); },
         {11, 12},
         true},
        {"nothing answered",
         [&score](CurrentExamRecord& e) {
             for (QuestionState& state : e.Questions.value())
                 state.GivenAnswers.reset();
             score(e, 0, 0, 13);
         },
         {},
         true},
        {"the placeholder of an exam that no question qualified for",
         [](CurrentExamRecord& e) {
             e.Questions = std::vector<QuestionState>{QuestionState{}};
             e.Total = 1;
             e.Correct = e.Wrong = e.Unanswered = 0;
             e.PercentText = "0%";
             e.ScoreText = "Score : 0% (0/1)";
         },
         {},
         true},
        {"a wrong answer counted right, its texts made to agree",
         [&score](CurrentExamRecord& e) { score(e, 8, 2, 3); },
         {},
         false},
        {"a right answer counted wrong",
         [&score](CurrentExamRecord& e) { score(e, 6, 4, 3); },
         {},
         false},
        {"an open question counted wrong",
         [&score](CurrentExamRecord& e) { score(e, 7, 4, 2); },
         {},
         false},
        {"a wrong answer counted open",
         [&score](CurrentExamRecord& e) { score(e, 7, 2, 4); },
         {},
         false},
        {"a gone question's answer, wrong under every type, counted right",
         [&score](CurrentExamRecord& e) { score(e, 8, 2, 3); },
         {9},
         false},
        {"a gone open question counted wrong",
         [&score](CurrentExamRecord& e) { score(e, 7, 4, 2); },
         {12},
         false},
        {"counts together above the total",
         [&score](CurrentExamRecord& e) { score(e, 7, 4, 3); },
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13},
         false},
        {"a count below zero",
         [&score](CurrentExamRecord& e) { score(e, 7, -1, 7); },
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13},
         false},
        {"a count above the total",
         [](CurrentExamRecord& e) { e.Unanswered = 14; },
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13},
         false},
        {"a total other than its questions",
         [&score](CurrentExamRecord& e) {
             e.Total = 14;
             score(e, 7, 3, 4);
         },
         {},
         false},
        {"only its total raised, its texts made to agree",
         [&score](CurrentExamRecord& e) {
             e.Total = 14;
             score(e, 7, 3, 3);
         },
         {},
         false},
        {"only its total lowered, its texts made to agree",
         [&score](CurrentExamRecord& e) {
             e.Total = 12;
             score(e, 7, 3, 3);
         },
         {},
         false},
        {"an open question dropped from its counts",
         [&score](CurrentExamRecord& e) { score(e, 7, 3, 2); },
         {},
         false},
        {"a percentage of other counts",
         [](CurrentExamRecord& e) { e.PercentText = "61%"; },
         {},
         false},
        {"a score line of other counts",
         [](CurrentExamRecord& e) { e.ScoreText = "Score : 53% (8/13)"; },
         {},
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QuestionBank = bank;
        std::erase_if(QuestionBank, [&row](const QuestionRecord& q) {
            return std::find(row.gone.begin(), row.gone.end(), q.QuestionID) != row.gone.end();
        });
        CurrentExamRecord edited = graded;
        row.edit(edited);
        ASSERT_TRUE(exam::WriteExamFile(graded.PerformanceFile, edited));
        CurrentExam = BlankExam;
        if (!row.opens) boxes.queue(platform::kOk);
        EXPECT_EQ(mod_Performance::OpenPerformanceRecord(0), row.opens);
        EXPECT_EQ(CurrentExam, row.opens ? edited : BlankExam);
        const std::vector<ShownBox> refused{
            {"Broken record\r\n\r\n" + graded.PerformanceFile, "History", 16}};
        EXPECT_EQ(boxes.shown(), row.opens ? std::vector<ShownBox>{} : refused);
        boxes.clear();
    }
}

TEST_F(PerformanceStoreTest, AFullIndexIsLeftUntouched) {
    writeIndex(std::vector(mod_Performance::kMaxRecords, summary(0, "T")), "32767");
    const Bytes before = ReadFile(mod_Performance::PerformanceIndexPath);
    mod_Performance::SavePerformanceRecord();
    EXPECT_EQ(ReadFile(mod_Performance::PerformanceIndexPath), before);
    EXPECT_EQ(filesInStore(), 1u);
    EXPECT_TRUE(CurrentExam.PerformanceFile.empty());
    EXPECT_FALSE(AbortFlag);
}

TEST_F(PerformanceStoreTest, AFailedIndexWriteRemovesTheNewHistoryFile) {
    // A folder in the index's place makes the rename over it fail.
    WriteFile(mod_Performance::PerformanceIndexPath / "blocker", {1});
    boxes.queue(platform::kOk);
    mod_Performance::SavePerformanceRecord();
    EXPECT_FALSE(AbortFlag);  // reported; the session goes on
    EXPECT_FALSE(std::filesystem::exists(CurrentExam.PerformanceFile));
    EXPECT_EQ(filesInStore(), 1u);
    EXPECT_EQ(ReadFile(mod_Performance::PerformanceIndexPath / "blocker"), Bytes{1});
}

TEST_F(PerformanceStoreTest, AStoredPathNamesAHistoryFileOfThisFolderOnly) {
    const std::string name = "0123456789ABCDEF0123456789ABCDEF";
    const std::filesystem::path own = AppPaths::PerformanceFolder() / name;
    const std::vector<std::pair<std::string, std::optional<std::filesystem::path>>> cases = {
        {"C:\\Exam Simulator\\Data\\Performance\\" + name, own},
        {"/media/backup/Data/Performance/" + name, own},
        {name, own},
        {"/old/Data/Performance/../../" + name, own},
        {"", std::nullopt},
        {"C:\\Data\\Performance\\", std::nullopt},
        {"/old/Data/Performance/" + name + "/", std::nullopt},
        {"/old/Data/Performance/" + name + "\\..", std::nullopt},
        {"..\\..\\Config.dat", std::nullopt},
        {"/old/Data/Performance/index.dat", std::nullopt},
        {"/old/" + name + ".bad", std::nullopt},
        {"/old/0123456789abcdef0123456789abcdef", std::nullopt},
        {"/old/" + name.substr(1), std::nullopt},
        {"/old/" + name + "0", std::nullopt},
        {"/old/0123456789ABCDEF0123456789ABCDEG", std::nullopt},
    };
    for (const auto& [stored, expected] : cases)
        EXPECT_EQ(mod_Performance::HistoryFileOf(stored), expected) << stored;
}

TEST_F(PerformanceStoreTest, ACopiedProgramFolderReadsOnlyItsOwnHistoryFiles) {
    ASSERT_TRUE(mod_Performance::SavePerformanceRecord());
    const CurrentExamRecord recorded = CurrentExam;
    const std::filesystem::path original = recorded.PerformanceFile;

    TempProgramFolder copy;
    std::filesystem::copy(folder.path() / "Data", copy.path() / "Data",
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(mod_Performance::HasPerformanceHistory());
    ASSERT_EQ(PerformanceHistory.at(0).FilePath, original.string());
    const std::filesystem::path own = AppPaths::PerformanceFolder() / original.filename();
    const Bytes intact = ReadFile(own);

    // The original still stands, but the copy's own file is the one read: damaged, refused.
    Bytes damaged = intact;
    damaged[3] ^= 1;
    WriteFile(own, damaged);
    CurrentExam = BlankExam;
    boxes.queue(platform::kOk);
    EXPECT_FALSE(mod_Performance::OpenPerformanceRecord(0));
    EXPECT_EQ(boxes.shown(),
              (std::vector<ShownBox>{{"Broken record\r\n\r\n" + own.string(), "History", 16}}));
    EXPECT_EQ(CurrentExam, BlankExam);

    // The original gone, the copy reads its own file.
    WriteFile(own, intact);
    std::filesystem::remove_all(folder.path() / "Data");
    ASSERT_TRUE(mod_Performance::OpenPerformanceRecord(0));
    EXPECT_EQ(CurrentExam, recorded);
}
