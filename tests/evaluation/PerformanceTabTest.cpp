#include <gtest/gtest.h>

#include <array>
#include <limits>

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

#include <filesystem>

#include "browsers/FullViewSteps.h"
#include "core/AppPaths.h"
#include "core/ListView.h"
#include "core/mod_ListViewSort.h"
#include "core/mod_Question.h"
#include "core/mod_System.h"
#include "evaluation/EvaluationWindow.h"
#include "evaluation/PerformanceFigures.h"
#include "evaluation/frm_Evaluate.h"
#include "evaluation/mod_PerformanceTab.h"
#include "exam/ExamSession.h"
#include "exam/QuestionLookup.h"
#include "exam/mod_Exam.h"
#include "mainscreen/SwitchBoardFixture.h"
#include "support/GuiTestSupport.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

struct PerformanceTabTest : SwitchBoardFixture {
    void SetUp() override {
        SwitchBoardFixture::SetUp();
        for (int k = 0; k <= 41; ++k)
            SystemVars.PerformanceTexts.at(k) = "P" + std::to_string(k);
        SystemVars.LevelNames.at(1) = "Easy";
        exam::InvalidateQuestionLookup();
    }
    void TearDown() override {
        if (frm_Evaluate* window = evaluation::EvaluationWindow()) window->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SwitchBoardFixture::TearDown();
        exam::CurrentExamSession = exam::ExamSession{};
        exam::InvalidateQuestionLookup();
    }

    // Appends the group-51 practice exam, graded, or with the given counts (listed only).
    static void record(std::int16_t correct, std::int16_t total,
                       const std::string& title = "Practice") {
        CurrentExam = BlankExam;
        CurrentExam.Title = title;
        CurrentExam.Minutes = "10";
        CurrentExam.RemainingText = "00:00:00";
        CurrentExam.Groups = std::vector<std::int16_t>{51};
        mod_Exam::BuildExamQuestions();
        mod_Exam::GradeExam();
        if (total > 0) {
            CurrentExam.Total = total;
            CurrentExam.Correct = correct;
            CurrentExam.PercentText = std::to_string(correct * 100 / total) + "%";
        }
        mod_Performance::SavePerformanceRecord();
        CurrentExam = BlankExam;
    }

    static std::vector<std::string> row(const ListView& list, int r) {
        std::vector<std::string> texts;
        texts.reserve(static_cast<std::size_t>(list.columnCount()));
        for (int c = 0; c < list.columnCount(); ++c)
            texts.push_back(list.text(r, c));
        return texts;
    }
};

TEST_F(PerformanceTabTest, AveragesRoundHalvesToEvenAndNeverOverflow) {
    using performance_figures::ExamAverage;
    const auto summary = [](std::int16_t c, std::int16_t t) {
        PerformanceSummary s;
        s.Correct = c;
        s.Total = t;
        return s;
    };
    EXPECT_EQ(ExamAverage({summary(2, 3), summary(3, 4)}), 70);
    EXPECT_EQ(ExamAverage({summary(1, 2), summary(77, 100)}), 64);
    EXPECT_EQ(ExamAverage({summary(1, 1), summary(0, 0)}), 50);  // no questions: 0 %
    EXPECT_EQ(ExamAverage(std::vector<PerformanceSummary>(400, summary(5, 5))), 100);
    EXPECT_EQ(ExamAverage({}), 0);
    // Counters of a damaged file: far more right than asked.
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(performance_figures::TruncatedPercent(kMax, 1), kMax);
    EXPECT_EQ(performance_figures::TruncatedPercent(-kMax, 1),
              std::numeric_limits<std::int32_t>::min());

    // One question of four asked 3 times, 2 right: S = 66, F = 16.5 -> 16.
    QuestionBank.resize(4);
    ResetStats();
    QuestionStatsTable[0] = {1, 2, 1, 3, false};
    EXPECT_EQ(performance_figures::QuestionFigure(), 16);
    EXPECT_EQ(performance_figures::OverallPercent(40, 70, 16), 42);
    QuestionBank.clear();
    EXPECT_EQ(performance_figures::QuestionFigure(), 0);
}

// An objective's figure is its own success rate, right answers of all asked, truncated, in
// whatever order the bank lists the questions the user met.
TEST_F(PerformanceTabTest, AnObjectivesFigureIsItsSuccessRateInAnyBankOrder) {
    struct Row {
        const char* what;
        std::vector<std::array<std::int32_t, 2>> rightAndAsked;  // per question, in bank order
        std::int32_t figure;
    };
    const Row rows[] = {
        {"wrong, then right", {{0, 1}, {1, 1}}, 50},
        {"right, then wrong", {{1, 1}, {0, 1}}, 50},
        {"only the last of three asked", {{0, 0}, {0, 0}, {2, 2}}, 100},
        {"4 of 18, the misses listed first", {{0, 6}, {0, 6}, {4, 6}}, 22},
        {"4 of 21, the hits listed first", {{4, 7}, {0, 7}, {0, 7}}, 19},
        {"29 of 50: the quotient first", {{29, 50}}, 57},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QuestionBank.assign(row.rightAndAsked.size(), QuestionRecord{});
        QuestionStatsTable.clear();
        for (std::size_t k = 0; k < row.rightAndAsked.size(); ++k) {
            const auto [right, asked] = row.rightAndAsked[k];
            const auto id = static_cast<std::int32_t>(k + 1);
            QuestionBank[k].QuestionID = id;
            QuestionBank[k].Topic = "Routing";
            QuestionStatsTable.push_back({id, right, asked - right, asked, false});
        }
        exam::InvalidateQuestionLookup();
        exam::QuestionLookup lookup;
        EXPECT_EQ(performance_figures::ObjectiveFiguresOf("Routing", lookup).Figure(), row.figure);
    }
}

// The mean of the objectives' figures is brought to the nearest whole number, halves to even;
// an objective never asked counts 0 and still divides.
TEST_F(PerformanceTabTest, TheObjectiveAverageRoundsHalvesToEven) {
    using performance_figures::ObjectiveFigures;
    const auto asked = [](std::int64_t right, std::int64_t times) {
        return ObjectiveFigures{1, times, right, times - right};
    };
    const ObjectiveFigures neverAsked{1, 0, 0, 0};
    struct Row {
        const char* what;
        std::vector<ObjectiveFigures> objectives;
        std::int16_t average;
    };
    const Row rows[] = {
        {"116 / 4", {asked(2, 3), asked(0, 1), asked(1, 2), neverAsked}, 29},
        {"116 / 3 = 38.67", {asked(2, 3), asked(0, 1), asked(1, 2)}, 39},
        {"100 / 3 = 33.33", {asked(1, 1), asked(0, 1), asked(0, 1)}, 33},
        {"125 / 2 = 62.5", {asked(1, 2), asked(3, 4)}, 62},
        {"127 / 2 = 63.5", {asked(1, 2), asked(77, 100)}, 64},
        {"no objective", {}, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(performance_figures::ObjectiveAverage(row.objectives), row.average) << row.what;
}

TEST_F(PerformanceTabTest, TheOverallPercentageTruncatesWhereRoundingWouldDiffer) {
    using performance_figures::OverallPercent;
    EXPECT_EQ(OverallPercent(40, 70, 18), 42);    // 42.67
    EXPECT_EQ(OverallPercent(0, 0, 2), 0);        // 0.67
    EXPECT_EQ(OverallPercent(99, 100, 100), 99);  // 99.67: never 100 % before it is
    EXPECT_EQ(OverallPercent(100, 100, 100), 100);
}

TEST_F(PerformanceTabTest, EnteringTheTabListsTheHistoryAndTheStatisticsOnce) {
    record(2, 3);
    record(3, 4);
    QuestionStatsTable[1] = {2, 0, 1, 1, false};  // Switching: wrong, then
    QuestionStatsTable[6] = {7, 1, 0, 1, false};  // right: 25
    QuestionStatsTable[5] = {6, 2, 0, 3, false};  // Routing: only the last asked: 22.33
    QuestionStatsTable[7] = {8, 0, 0, 2, false};  // Security: asked, never answered: 0
    QuestionStatsTable.erase(QuestionStatsTable.begin() + 4);  // Wireless: no record
    QuestionBank[0].Topic = " routing ";
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kPerformanceTab);
    boxes.expectNone();

    EXPECT_EQ(sb.lbl_Title[3]->text(), "P1");
    EXPECT_EQ(sb.SSTab2->tabText(frm_SwitchBoard::kQuestionsTab), "P4");
    ASSERT_EQ(sb.ListView7->rowCount(), 2);
    EXPECT_EQ(sb.ListView7->key(1), "a1");
    const std::vector<std::string> second = row(*sb.ListView7, 1);
    EXPECT_EQ(second[0], "2");
    EXPECT_EQ(std::vector(second.begin() + 3, second.end()),
              (std::vector<std::string>{"Practice", "75%", "4", "3", "0", "1"}));
    EXPECT_EQ(mod_PerformanceTab::ExamAverage, 70);

    ASSERT_EQ(sb.ListView8->rowCount(), 4);
    EXPECT_EQ(row(*sb.ListView8, 0),
              (std::vector<std::string>{"1", "Routing", "3", "66 % ", "3", "2", "0", "1"}));
    EXPECT_EQ(sb.ListView8->text(1, 3), "0 % ");
    EXPECT_EQ(sb.ListView8->text(2, 3), "50 % ");
    EXPECT_EQ(row(*sb.ListView8, 3),
              (std::vector<std::string>{"4", "Wireless", "1", " - ", "0", "0", "0", "0"}));
    EXPECT_EQ(mod_PerformanceTab::ObjectiveAverage, 29);  // 66 + 0 + 50 = 116, over 4

    EXPECT_EQ(row(*sb.ListView9, 5),
              (std::vector<std::string>{"6", "3", "2", "0", "1", "66 %", "Easy", "Question 6"}));
    EXPECT_EQ(sb.ListView9->text(0, 5), " - ");
    EXPECT_EQ(sb.ListView9->text(4, 1), "");  // no record: its number only
    // Questions 0 + 100 + 66 + 0 over 8 = 20.75 -> 21; (29 + 70 + 21) / 3 = 40.
    EXPECT_EQ(sb.Label14->text(), "40 % ");

    // Nothing new recorded: a second visit keeps the sorted order.
    mod_ListViewSort::SortListViewColumn(*sb.ListView8, 1);
    mod_ListViewSort::SortListViewColumn(*sb.ListView8, 1);
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kExamsTab);
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kPerformanceTab);
    EXPECT_EQ(sb.ListView8->text(0, 1), "Wireless");
}

TEST_F(PerformanceTabTest, NumbersAndPercentagesSortByValue) {
    record(2, 3);
    QuestionStatsTable[0] = {1, 1, 0, 1, false};     // 100 %
    QuestionStatsTable[1] = {2, 2, 9, 11, false};    // 18 %
    QuestionStatsTable[2] = {3, 1, 0, 9, false};     // 11 %
    QuestionStatsTable[3] = {4, 10, 0, 100, false};  // 10 %
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kPerformanceTab);
    // The values of the cells that hold one, top to bottom.
    const auto values = [](const ListView& list, int c) {
        std::vector<int> found;
        for (int r = 0; r < list.rowCount(); ++r) {
            QString cell = list.cellText(r, c).remove(QLatin1Char('%'));
            bool ok = false;
            const int value = cell.trimmed().toInt(&ok);
            if (ok) found.push_back(value);
        }
        return found;
    };
    for (const auto& [list, column] : {std::pair{sb.ListView9, 5}, std::pair{sb.ListView9, 1},
                                       std::pair{sb.ListView8, 3}, std::pair{sb.ListView7, 4}}) {
        mod_ListViewSort::SortListViewColumn(*list, column);
        const std::vector<int> sorted = values(*list, column);
        EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()))
            << list->objectName().toStdString() << " column " << column;
    }
    EXPECT_EQ(values(*sb.ListView9, 1).back(), 100);
}

TEST_F(PerformanceTabTest, ARowTipGoesWhenThePointerLeavesTheRows) {
    record(2, 3);
    frm_SwitchBoard& sb = Load();
    sb.resize(900, 700);
    sb.show();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kPerformanceTab);
    const auto rowTip = [&sb] {
        return sb.PerformanceTipOwner->findChild<QObject*>(QStringLiteral("PerformanceRowTip"));
    };
    QWidget* rows = sb.ListView7->viewport();
    const QPoint onRow = sb.ListView7->visualRect(sb.ListView7->model()->index(0, 0)).center();
    QTest::mouseMove(rows, onRow);
    ASSERT_NE(rowTip(), nullptr);
    QTest::mouseMove(rows, QPoint(onRow.x(), rows->height() - 5));  // below the last row
    EXPECT_EQ(rowTip(), nullptr);
}

// Longer than the list: its scroll bar reads as the question boxes' do, the handle darker than
// the track.
TEST_F(PerformanceTabTest, AListsScrollHandleStandsOutFromItsTrack) {
    for (std::int32_t id = 9; id <= 60; ++id)
        QuestionBank.push_back(BankQuestion(id, 51, "Routing"));
    ResetStats();
    record(2, 3);
    frm_SwitchBoard& sb = Load();
    sb.resize(900, 700);
    sb.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sb));
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kPerformanceTab);
    sb.SSTab2->setCurrentIndex(frm_SwitchBoard::kQuestionsTab);
    ExpectScrollHandleAtTheTop(*sb.ListView9->verticalScrollBar());
}

// A question wider than the list: opening it from its text, or moving down the list, must not
// scroll the numbers away.
TEST_F(PerformanceTabTest, OpeningAQuestionKeepsTheListsScrollPosition) {
    QuestionBank[0].QuestionText = std::string(300, 'w');
    record(2, 3);
    frm_SwitchBoard& sb = Load();
    sb.resize(900, 700);
    sb.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sb));
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kPerformanceTab);
    sb.SSTab2->setCurrentIndex(frm_SwitchBoard::kQuestionsTab);
    ListView& list = *sb.ListView9;
    constexpr int kText = 7;
    ASSERT_GT(list.columnWidth(kText), list.viewport()->width());
    const QScrollBar& sideways = *list.horizontalScrollBar();
    ASSERT_EQ(sideways.value(), 0);

    const QRect cell = list.visualRect(list.model()->index(0, kText));
    const QPoint onText(cell.left() + 20, cell.center().y());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, onText);
    // A press schedules a scroll to the pressed cell, due a double-click time later; the
    // double-click's own press comes due while the full view is open.
    const int doubleClickTime = QApplication::doubleClickInterval();
    QApplication::setDoubleClickInterval(10);
    {
        ModalWatcher watcher(InFullView([&sideways](frm_FullView&) {
            EXPECT_FALSE(QTest::qWaitFor([&sideways] { return sideways.value() != 0; }, 500));
        }));
        doubleClick(list.viewport(), onText);
        EXPECT_TRUE(watcher.acted());
    }
    QApplication::setDoubleClickInterval(doubleClickTime);
    EXPECT_EQ(list.selectedRow(), 0);
    EXPECT_EQ(sideways.value(), 0);

    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.selectedRow(), 1);
    EXPECT_EQ(sideways.value(), 0);
}

TEST_F(PerformanceTabTest, TheResetEmptiesTheHistoryAndCountersButKeepsBookmarks) {
    QuestionStatsTable[2] = {3, 1, 1, 2, true};
    record(1, 2);
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kPerformanceTab);
    const fs::path folder = AppPaths::PerformanceFolder();
    fs::create_directories(folder / "kept");

    boxes.queue(platform::kNo);
    sb.Command15->click();
    EXPECT_EQ(boxes.shown().back().text, "P6");
    EXPECT_EQ(boxes.shown().back().title, "P7");
    EXPECT_EQ(QuestionStatsTable[2].TimesAsked, 2);
    EXPECT_EQ(sb.SSTab1->currentIndex(), frm_SwitchBoard::kPerformanceTab);

    boxes.queue(platform::kYes);
    boxes.queue(platform::kOk);
    sb.Command15->click();
    EXPECT_EQ(boxes.shown().back().text, "P8");
    EXPECT_EQ(sb.SSTab1->currentIndex(), frm_SwitchBoard::kExamsTab);
    EXPECT_EQ(sb.ListView7->rowCount() + sb.ListView9->rowCount(), 0);
    EXPECT_TRUE(sb.Label14->text().isEmpty());
    EXPECT_TRUE(fs::is_directory(folder / "kept"));
    EXPECT_FALSE(fs::exists(folder / "index.dat"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    std::vector<QuestionStats> onDisk;
    ASSERT_TRUE(mod_System::ReadSignedFile(AppPaths::ResourceDat(), [&](auto& in) {
        onDisk = mod_Question::ReadStatsBody(in, QuestionStatsTable.size());
    }));
    EXPECT_TRUE(mod_System::IsFileSignatureValid());
    EXPECT_EQ(onDisk[2].TimesAsked + onDisk[2].CorrectCount + onDisk[2].WrongCount, 0);
    EXPECT_TRUE(onDisk[2].Bookmarked);
    EXPECT_TRUE(QuestionStatsTable[2].Bookmarked);
    EXPECT_EQ(QuestionStatsTable[2].TimesAsked, 0);
}

TEST_F(PerformanceTabTest, ADoubleClickedRowIsReviewedUnlessAnExamIsOpen) {
    record(0, 0, "First");
    record(0, 0, "Second");
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kPerformanceTab);

    CurrentExam = BlankExam;
    CurrentExam.Minutes = "10";
    CurrentExam.RemainingText = "00:00:00";
    CurrentExam.Groups = std::vector<std::int16_t>{51};
    mod_Exam::BuildExamQuestions();
    ASSERT_TRUE(exam::LoadExamWindow(exam::ExamOpening::kNew));
    const CurrentExamRecord running = CurrentExam;
    sb.ListView7->setCurrentRow(1);
    mod_PerformanceTab::OpenSelectedRecord(sb);
    EXPECT_EQ(CurrentExam, running);
    EXPECT_FALSE(evaluation::EvaluationWindow());
    exam::UnloadExamWindow();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    emit sb.ListView7->rowDoubleClicked(1);
    EXPECT_EQ(CurrentExam.Title, "Second");
    EXPECT_TRUE(exam::ExamWindow());
    EXPECT_TRUE(evaluation::EvaluationWindow());
    EXPECT_TRUE(exam::CurrentExamSession.InReview());
}

}  // namespace
