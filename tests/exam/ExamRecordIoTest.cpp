#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/QuestionBank.h"
#include "core/mod_System.h"
#include "exam/ExamRecordIo.h"
#include "exam/mod_Exam.h"
#include "support/SampleArchives.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;
using formats::Bytes;

namespace {

// Stored bytes assembled by hand, independent of the writer under test.
struct Hand {
    Bytes bytes;
    Hand& i16(int v) {
        bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
        return *this;
    }
    Hand& i32(std::int64_t v) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
        return *this;
    }
    Hand& str(std::string_view text) {
        i16(static_cast<int>(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    Hand& zeros(std::size_t n) {
        bytes.insert(bytes.end(), n, 0);
        return *this;
    }
    Hand& list(std::int32_t count) { return i16(1).i32(count).i32(0); }
};

// Everything up to the group list, for an exam with these fields only.
Hand head(std::int16_t startIndex = 0, std::string_view minutes = "0",
          std::string_view remaining = "00:00:00") {
    Hand h;
    h.i32(0).i16(0).str("").zeros(8).str("").str("T").str(minutes).str(remaining).str("");
    h.i16(0).i16(0).i16(startIndex);
    return h;
}

// The body with another exam date (after the 4-byte number and the 2-byte flag and length).
Bytes dated(Bytes body, double date) {
    std::memcpy(body.data() + 8, &date, sizeof date);
    return body;
}

// The fields between the objectives and the question list, all zero or empty.
Hand& middle(Hand& h) {
    return h.zeros(28).str("").str("");
}

CurrentExamRecord examWith(std::vector<QuestionState> questions) {
    CurrentExamRecord exam;
    exam.Title = "T";
    exam.Minutes = "0";
    exam.RemainingText = "00:00:00";
    exam.Questions = std::move(questions);
    return exam;
}

Bytes written(const CurrentExamRecord& exam) {
    formats::BinaryWriter out;
    exam::WriteExamBody(out, exam);
    EXPECT_FALSE(out.failed());
    return out.bytes();
}

CurrentExamRecord readBack(const Bytes& bytes) {
    formats::BinaryReader in(bytes);
    CurrentExamRecord exam = exam::ReadExamBody(in);
    EXPECT_FALSE(in.failed());
    EXPECT_TRUE(in.atEnd());
    return exam;
}

struct ExamFileTest : ::testing::Test {
    TempProgramFolder folder;
    ScriptedMessageBoxes boxes;
    std::filesystem::path path = AppPaths::SaveFolder() / "a.sav";

    void SetUp() override {
        AbortFlag = false;
        SystemVars = MinimalSystemVars();
        SystemVars.SaveTabTexts.at(save_tab_text::kDamagedCaption) = "Bad save";
        SystemVars.SaveTabTexts.at(save_tab_text::kDamaged) = "Cannot open ";
        DataKey = KeyOf(SystemVars);
        QuestionBank.assign(2, {});
        QuestionBank[0].QuestionID = 5;
        QuestionBank[1].QuestionID = 6;
        CurrentExam = BlankExam;
    }
    void TearDown() override {
        AbortFlag = false;
        QuestionBank.clear();
        CurrentExam = BlankExam;
    }

    void writeSigned(const Bytes& body) {
        formats::BinaryWriter out;
        out.writeBytes(body);
        ASSERT_TRUE(mod_System::WriteSignedFile(path, "", out));
    }
};

}  // namespace

TEST(ExamRecordBytesTest, BlankExamIsSeventyTwoZeroBytesAndReadsBackIdentical) {
    const Bytes blank = written(BlankExam);
    EXPECT_EQ(blank, Bytes(72, 0));
    EXPECT_EQ(readBack(blank), BlankExam);
}

TEST(ExamRecordBytesTest, ASingleCommaAnswerIsTwoEmptyStringsAndStaysAnswered) {
    const auto exam =
        examWith({QuestionState{7, std::nullopt, std::vector<std::string>{"", ""}, true}});
    Hand expected = head();
    expected.i16(0).i16(0);  // no groups, no objectives
    middle(expected).list(1);
    expected.i32(7).i16(0).list(2).i16(0).i16(0).i16(-1);  // id, no key, "" and "", marked
    expected.i16(0);
    EXPECT_EQ(written(exam), expected.bytes);
    const auto back = readBack(expected.bytes);
    EXPECT_EQ(back, exam);
    EXPECT_TRUE(back.Questions->front().GivenAnswers.has_value());
}

TEST(ExamRecordBytesTest, ObjectivesGroupsAndKeysKeepTheirOrderAndWidths) {
    auto exam =
        examWith({QuestionState{-2, std::vector<std::string>{"A", "C"}, std::nullopt, false}});
    exam.Groups = std::vector<std::int16_t>{11, -46};
    exam.Objectives = std::vector<ObjectiveCount>{{true, "Routing", 2, 0, 1}, {false, "", 0, 0, 0}};
    exam.ExamDate = 1.5;  // noon of 31 December 1899
    exam.Continued = true;
    Hand expected;
    expected.i32(0).i16(0).str("");
    expected.bytes.insert(expected.bytes.end(), {0, 0, 0, 0, 0, 0, 0xF8, 0x3F});
    expected.str("").str("T").str("0").str("00:00:00").str("").zeros(6);
    expected.list(2).i16(11).i16(-46);
    expected.list(2).i16(-1).str("Routing").i16(2).i16(0).i16(1).i16(0).str("").zeros(6);
    middle(expected).list(1).i32(-2).list(2).str("A").str("C").i16(0).i16(0);
    expected.i16(-1);
    EXPECT_EQ(written(exam), expected.bytes);
    EXPECT_EQ(readBack(expected.bytes), exam);
}

TEST(ExamRecordBytesTest, BadListShapesFailTheReaderWithoutAllocating) {
    const auto body = [](auto&& groups) {
        Hand h = head();
        groups(h);
        return h.bytes;
    };
    const std::vector<Bytes> broken = {
        body([](Hand& h) { h.i16(1).i32(0x7FFFFFFF).i32(0); }),       // absurd count
        body([](Hand& h) { h.i16(2).i32(1).i32(0).i32(1).i32(0); }),  // two dimensions
        body([](Hand& h) { h.i16(1).i32(1).i32(1).i16(11); }),        // lower bound 1
        body([](Hand& h) { h.i16(-1); }),                             // negative dimensions
    };
    for (const Bytes& bytes : broken) {
        formats::BinaryReader in(bytes);
        const CurrentExamRecord exam = exam::ReadExamBody(in);
        EXPECT_TRUE(in.failed());
        EXPECT_FALSE(exam.Groups.has_value());
    }
}

TEST_F(ExamFileTest, IncoherentBodiesAreRefusedAndCurrentExamIsKept) {
    const auto questions = [](Hand h, std::int32_t count, std::initializer_list<int> ids) {
        h.i16(0).i16(0);
        middle(h).list(count);
        for (const int id : ids)
            h.i32(id).i16(0).i16(0).i16(0);
        h.i16(0);
        return h.bytes;
    };
    using exam::ExamFault;
    const std::vector<std::pair<Bytes, ExamFault>> incoherent = {
        {questions(head(2), 2, {5, 6}), ExamFault::kStartOutside},
        {questions(head(-1), 2, {5, 6}), ExamFault::kStartOutside},
        {questions(head(0, "x"), 1, {5}), ExamFault::kBadMinutes},
        {questions(head(0, "0", "1:75:00"), 1, {5}), ExamFault::kBadRemainingTime},
        {questions(head(), 0, {}), ExamFault::kNoQuestions},
        {questions(head(), 0x7FFFFFFF, {5}), ExamFault::kNoQuestions},  // the list fails
        {dated(questions(head(), 1, {5}), std::numeric_limits<double>::quiet_NaN()),
         ExamFault::kBadDate},
        {dated(questions(head(), 1, {5}), std::numeric_limits<double>::infinity()),
         ExamFault::kBadDate},
        {dated(questions(head(), 1, {5}), 1e300), ExamFault::kBadDate},
        {head().i16(0).i16(0).zeros(32).i16(0).i16(0).bytes, ExamFault::kNoQuestions},
        {[] {
             Hand h = head().i16(0).i16(0);
             middle(h).list(1).i32(5).i16(0).list(0).i16(0).i16(0);
             return h.bytes;
         }(),
         ExamFault::kAnsweredWithoutAnswer},
    };
    CurrentExam.Title = "kept";
    for (const auto& [body, fault] : incoherent) {
        formats::BinaryReader in(body);
        EXPECT_EQ(exam::FindExamFault(exam::ReadExamBody(in)), fault);
        writeSigned(body);
        boxes.queue(platform::kOk);
        EXPECT_FALSE(mod_Exam::LoadSavedExam(path));
        EXPECT_EQ(CurrentExam.Title, "kept");
    }
    // Questions that have left the bank since are no fault of the file.
    writeSigned(questions(head(), 3, {5, 9, 0}));
    ASSERT_TRUE(mod_Exam::LoadSavedExam(path));
    EXPECT_EQ(CurrentExam.Questions->at(1).QuestionID, 9);
    ASSERT_EQ(boxes.shown().size(), incoherent.size());
    EXPECT_EQ(boxes.shown()[0], (ShownBox{"Cannot open " + path.string(), "Bad save", 16}));

    CurrentExamRecord tooMany = BlankExam;
    tooMany.Questions = std::vector<QuestionState>(32768);
    EXPECT_EQ(exam::FindExamFault(tooMany), ExamFault::kTooManyQuestions);

    writeSigned(questions(head(), 1, {0}));  // the lone placeholder is a valid exam
    EXPECT_TRUE(mod_Exam::LoadSavedExam(path));
    EXPECT_EQ(CurrentExam.Title, "T");
}

TEST_F(ExamFileTest, TooLongTextsEmptyAndMissingSavesAreRefused) {
    auto exam = examWith({{5, std::nullopt, std::nullopt, false}});
    ASSERT_TRUE(exam::WriteExamFile(path, exam));
    exam.Title = std::string(65536, 'x');
    const auto before = ReadFile(path);
    EXPECT_FALSE(exam::WriteExamFile(path, exam));  // refused, not cut
    EXPECT_EQ(ReadFile(path), before);

    const auto empty = AppPaths::SaveFolder() / "empty.sav";
    WriteFile(empty, {});
    for (const auto& bad : {empty, AppPaths::SaveFolder() / "missing.sav"}) {
        boxes.queue(platform::kOk);
        EXPECT_FALSE(mod_Exam::LoadSavedExam(bad));
    }
    EXPECT_EQ(CurrentExam, BlankExam);
    EXPECT_FALSE(AbortFlag);

    // A name beyond ASCII reads in the message as the user wrote it.
    boxes.queue(platform::kOk);
    EXPECT_FALSE(
        mod_Exam::LoadSavedExam(AppPaths::SaveFolder() / u8"\u00dcbung \u00e9t\u00e9.sav"));
    const std::string shown = boxes.shown().back().text;
    EXPECT_TRUE(
        shown.ends_with("\xDC"
                        "bung \xE9t\xE9.sav"))
        << shown;
}
