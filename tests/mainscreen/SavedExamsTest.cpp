#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeWidgetItem>

#include "core/AppPaths.h"
#include "core/ListView.h"
#include "core/mod_User.h"
#include "exam/ExamRecordIo.h"
#include "exam/ExamSession.h"
#include "exam/frm_Exam.h"
#include "mainscreen/OpenSaveDialog.h"
#include "mainscreen/SwitchBoardFixture.h"
#include "mainscreen/mod_Save.h"
#include "platform/SaveDialog.h"
#include "platform/TextCodec.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

std::string text(const QLabel* label) {
    return platform::fromQt(label->text());
}

struct SavedExamsTest : SwitchBoardFixture {
    void TearDown() override {
        mainscreen::SetOpenSaveChooser({});
        UserSettings = {};
        SwitchBoardFixture::TearDown();
    }

    // A save of questions 1 and 2, the second answered and marked.
    static fs::path WriteSave(const std::string& name, const std::string& title,
                              const std::string& minutes, const fs::path& folder = {}) {
        CurrentExamRecord exam;
        exam.Title = title;
        exam.Minutes = minutes;
        exam.RemainingText = "00:12:34";
        exam.StartIndex = 1;
        exam.Questions = {{1, {}, {}, false}, {2, {}, std::vector<std::string>{"A"}, true}};
        exam.Total = 2;
        exam.Unanswered = 1;
        fs::path path = (folder.empty() ? AppPaths::SaveFolder() : folder) / name;
        fs::create_directories(path.parent_path());
        EXPECT_TRUE(exam::WriteExamFile(path, exam));
        return path;
    }

    frm_SwitchBoard& EnterTab() {
        frm_SwitchBoard& sb = board ? *board : Load();
        sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kExamsTab);
        sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kSavedExamsTab);
        return sb;
    }

    int Row(const std::string& number) const {
        for (int k = 0; k < board->ListView3->rowCount(); ++k)
            if (board->ListView3->text(k, 0) == number) return k;
        return -1;
    }

    void Check(const std::string& number, bool checked) const {
        board->ListView3->setChecked(Row(number), checked);
    }

    void ClickRow(const std::string& number) const {
        board->ListView3->setCurrentRow(Row(number));
        board->ListView3_Click();
    }

    std::vector<bool> CheckButtons() const {
        return {board->Command4[0]->isEnabled(), board->Command4[1]->isEnabled(),
                board->Command4[2]->isEnabled()};
    }

    // Title, minutes and unit, remaining time and unit, total, unanswered; resume enabled.
    std::vector<std::string> Details() const {
        const auto& sb = *board;
        return {text(sb.Label6[1]), text(sb.Label6[3]),
                text(sb.Label5[7]), text(sb.Label6[4]),
                text(sb.Label5[8]), text(sb.Label6[5]),
                text(sb.Label6[6]), sb.Command5[1]->isEnabled() ? "on" : "off"};
    }

    void ExpectNoDetails() const {
        EXPECT_TRUE(board->Text1->text().isEmpty());
        EXPECT_TRUE(board->Label6[2]->text().isEmpty());
        EXPECT_EQ(Details(), (std::vector<std::string>{"", "", "", "", "", "", "", "off"}));
        EXPECT_FALSE(board->Command5[2]->isEnabled());
    }

    // Something that cannot be deleted, even by root: a folder with contents.
    static void TurnIntoFolder(const fs::path& save) {
        fs::remove(save);
        WriteFile(save / "inside.txt", BytesOf("x"));
    }
};

TEST_F(SavedExamsTest, TheListShowsEverySaveAndARowLoadsIt) {
    frm_SwitchBoard& sb = EnterTab();  // no folder yet
    EXPECT_EQ(text(sb.Label7), "Saved exams: 0");
    EXPECT_EQ(sb.ListView3->columnCount(), 0);
    EXPECT_EQ(CheckButtons(), (std::vector<bool>{false, false, false}));
    ExpectNoDetails();

    WriteSave("b.sav", "Timed", "1");
    WriteSave("a.sav", "Untimed", "0");
    WriteFile(AppPaths::SaveFolder() / "notes.txt", BytesOf("x"));
    EnterTab();
    ASSERT_EQ(sb.ListView3->rowCount(), 2);
    EXPECT_EQ(text(sb.Label7), "Saved exams: 2");
    EXPECT_EQ(CheckButtons(), (std::vector<bool>{true, false, false}));

    // The row number finds its file whatever the order shown.
    sb.ListView3->columnClicked(1);
    sb.ListView3->columnClicked(1);
    ASSERT_EQ(sb.ListView3->text(0, 1), "b.sav");
    ClickRow("2");
    EXPECT_EQ(sb.Text1->text().toStdU16String(), (AppPaths::SaveFolder() / "b.sav").u16string());
    EXPECT_FALSE(sb.Label6[2]->text().isEmpty());
    EXPECT_EQ(Details(), (std::vector<std::string>{"Timed", "1", "minute", "00:12:34", "(hh:mm:ss)",
                                                   "2", "1", "on"}));
    // Each unit stands right after its value.
    sb.resize(1000, 700);
    sb.show();
    QApplication::processEvents();
    for (const auto& [value, unit] :
         {std::pair{sb.Label6[3], sb.Label5[7]}, {sb.Label6[4], sb.Label5[8]}}) {
        const int gap = unit->mapTo(sb.Frame7, QPoint()).x() -
                        value->mapTo(sb.Frame7, QPoint(value->sizeHint().width(), 0)).x();
        EXPECT_LT(gap, 20) << platform::fromQt(unit->text());
    }
    EXPECT_EQ(CurrentExam.Title, "Timed");
    EXPECT_EQ(CurrentExam.Questions->at(1).GivenAnswers, std::vector<std::string>{"A"});

    ClickRow("1");
    EXPECT_EQ(Details(),
              (std::vector<std::string>{"Untimed", "Untimed", "", "Untimed", "", "2", "1", "on"}));

    // Entering the tab again reads the shown save back into the exam.
    CurrentExam = BlankExam;
    EnterTab();
    EXPECT_EQ(CurrentExam.Title, "Untimed");
}

// A unit stands as far from its value as every caption stands from its own: "20 minutes",
// never "20minutes".
TEST_F(SavedExamsTest, AUnitKeepsTheGapOfACaptionFromItsValue) {
    const char* captions[] = {"File:",           "Exam:",      "Exam date:", "Time limit:",
                              "Time remaining:", "Questions:", "Unanswered:"};
    for (int k = 0; k < 7; ++k)
        SystemVars.SaveTabTexts.at(save_tab_text::kFirstDetail + k) = captions[k];
    frm_SwitchBoard& sb = EnterTab();
    sb.resize(1000, 700);
    sb.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sb));
    // From the right edge of one label to the left edge of the next.
    const auto gap = [&sb](const QWidget* left, const QWidget* right) {
        return right->mapTo(sb.Frame7, QPoint()).x() -
               left->mapTo(sb.Frame7, QPoint(left->width(), 0)).x();
    };

    struct Row {
        const char* minutes;
        const char* unit;
    };
    for (const Row& row : {Row{"20", "minutes"}, Row{"1", "minute"}}) {
        SCOPED_TRACE(row.minutes);
        WriteSave("a.sav", "Timed", row.minutes);
        EnterTab();
        ClickRow("1");
        QApplication::processEvents();
        ASSERT_EQ(text(sb.Label5[7]), row.unit);
        ASSERT_EQ(text(sb.Label5[8]), "(hh:mm:ss)");
        const int captionGap = gap(sb.Label5[4], sb.Label6[4]);
        EXPECT_GT(captionGap, 0);
        EXPECT_EQ(gap(sb.Label6[3], sb.Label5[7]), captionGap);
        EXPECT_EQ(gap(sb.Label6[4], sb.Label5[8]), captionGap);
    }
}

// The details' buttons stand apart and show their texts as the exam kinds' do; a value wraps
// only when the frame has no room for it.
TEST_F(SavedExamsTest, TheDetailsLayOutLikeTheOtherTabs) {
    SystemVars.SaveTabTexts.at(save_tab_text::kResume) = "Resume Exam";
    SystemVars.SaveTabTexts.at(save_tab_text::kDelete) = "Delete";
    frm_SwitchBoard& sb = Load();
    sb.resize(1000, 700);
    sb.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sb));
    sb.Practice_Customize->setText(QStringLiteral("Delete"));
    sb.Practice_Start->setText(QStringLiteral("Resume Exam"));
    QApplication::processEvents();
    const auto gap = [](const QWidget* left, const QWidget* right) {
        return right->x() - (left->x() + left->width());
    };
    const int examsGap = gap(sb.Practice_Customize, sb.Practice_Start);
    const QSize examsResume = sb.Practice_Start->size();

    struct Row {
        const char* what;
        std::string title;
        int windowWidth;
        bool wraps;
    };
    const std::string longTitle =
        "Custom Practice / Set 1 Exam of routing, switching, security and wireless questions "
        "taken again after the review of every wrong answer";
    const Row rows[] = {
        {"a title with room", "Custom Practice / Set 1 Exam", 1000, false},
        {"a title longer than its room", longTitle, 1000, true},
        {"a title with room in a narrow window", "Custom Practice / Set 1 Exam", 800, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WriteSave("a.sav", row.title, "20");
        sb.resize(row.windowWidth, 700);
        EnterTab();
        ClickRow("1");
        QApplication::processEvents();
        ASSERT_EQ(text(sb.Label6[1]), row.title);
        EXPECT_EQ(gap(sb.Command5[2], sb.Command5[1]), examsGap);
        EXPECT_EQ(sb.Command5[1]->size(), examsResume);
        // The text stands clear of the frame by the style's button margin on either side.
        for (const QPushButton* button : {sb.Command5[1], sb.Command5[2]}) {
            const int room =
                button->width() - button->fontMetrics().horizontalAdvance(button->text());
            EXPECT_GE(room, 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin))
                << platform::fromQt(button->text());
        }

        const QLabel* title = sb.Label6[1];
        const int lines = title->height() / title->fontMetrics().lineSpacing();
        EXPECT_EQ(lines > 1, row.wraps) << lines << " lines";
        // Wrapped or not, the value stays within its frame.
        EXPECT_LE(title->mapTo(sb.Frame7, QPoint(title->width(), 0)).x(), sb.Frame7->width());
    }
}

TEST_F(SavedExamsTest, CheckBoxesDriveTheThreeListButtons) {
    for (const char* name : {"a.sav", "b.sav", "c.sav"})
        WriteSave(name, name, "5");
    frm_SwitchBoard& sb = EnterTab();
    Check("1", true);
    EXPECT_EQ(CheckButtons(), (std::vector<bool>{true, true, true}));
    Check("2", true);
    Check("3", true);
    EXPECT_EQ(CheckButtons(), (std::vector<bool>{false, true, true}));
    Check("2", false);
    EXPECT_EQ(CheckButtons(), (std::vector<bool>{true, true, true}));
    sb.Command4[1]->click();
    EXPECT_EQ(CheckButtons(), (std::vector<bool>{true, false, false}));
    EXPECT_FALSE(board->ListView3->isChecked(Row("1")));
    sb.Command4[0]->click();
    EXPECT_EQ(CheckButtons(), (std::vector<bool>{false, true, true}));
    EXPECT_TRUE(board->ListView3->isChecked(Row("2")));
}

TEST_F(SavedExamsTest, DeletingAsksAndReportsASaveThatCannotGo) {
    const fs::path a = WriteSave("a.sav", "A", "5");
    const fs::path b = WriteSave("b.sav", "B", "5");
    const fs::path c = WriteSave("c.sav", "C", "5");
    const fs::path d = WriteSave("d.sav", "D", "5");
    frm_SwitchBoard& sb = EnterTab();
    ClickRow("1");

    boxes.queue(platform::kYes);  // nothing checked (the button is off): nothing changes
    mod_Save::DeleteSaveFiles();
    EXPECT_FALSE(sb.Text1->text().isEmpty());

    Check("1", true);
    boxes.queue(platform::kNo);
    sb.Command4[2]->click();
    EXPECT_TRUE(fs::exists(a));

    // b turns into a folder with contents after listing: it cannot be deleted.
    Check("2", true);
    TurnIntoFolder(b);
    boxes.clear();
    boxes.queue(platform::kYes);
    boxes.queue(platform::kOk);
    sb.Command4[2]->click();
    EXPECT_EQ(boxes.shown(),
              (std::vector<ShownBox>{
                  {"Delete checked?", "Delete Saved Exam", platform::kYesNo + platform::kQuestion},
                  {"This saved exam could not be deleted:\n\n" + b.string(), "Delete Saved Exam",
                   platform::kCritical}}));
    EXPECT_FALSE(fs::exists(a));
    EXPECT_TRUE(fs::exists(c));
    EXPECT_EQ(sb.ListView3->rowCount(), 2);
    EXPECT_EQ(text(sb.Label7), "Saved exams: 2");
    ExpectNoDetails();

    // The shown save: c goes, d cannot.
    ClickRow("1");
    boxes.clear();
    boxes.queue(platform::kYes);
    sb.Command5[2]->click();
    EXPECT_EQ(boxes.shown().at(0).text, "Delete this? " + c.string());
    EXPECT_FALSE(fs::exists(c));
    EXPECT_EQ(sb.ListView3->rowCount(), 1);
    ExpectNoDetails();

    ClickRow("1");
    TurnIntoFolder(d);
    boxes.clear();
    boxes.queue(platform::kYes);
    boxes.queue(platform::kOk);
    sb.Command5[2]->click();
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[1].style, platform::kCritical);
    EXPECT_EQ(sb.ListView3->rowCount(), 0);
    ExpectNoDetails();
}

TEST_F(SavedExamsTest, DamagedAndEmptySavesAreRefused) {
    WriteSave("good.sav", "Good", "5");
    const fs::path damaged = WriteSave("damaged.sav", "Damaged", "5");
    formats::Bytes bytes = ReadFile(damaged);
    bytes.resize(bytes.size() * 2 / 3);
    WriteFile(damaged, bytes);
    const fs::path empty = AppPaths::SaveFolder() / "empty.sav";
    WriteFile(empty, {});
    frm_SwitchBoard& sb = EnterTab();
    ASSERT_EQ(sb.ListView3->rowCount(), 3);  // damaged, empty, good

    ClickRow("3");
    for (const auto& [row, path] : {std::pair{"1", damaged}, std::pair{"2", empty}}) {
        boxes.clear();
        boxes.queue(platform::kOk);
        ClickRow(row);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0],
                  (ShownBox{"Cannot open: " + path.string(), "Damaged", platform::kCritical}));
        ExpectNoDetails();
        EXPECT_EQ(sb.ListView3->currentRow(), -1);
        EXPECT_EQ(CurrentExam.Title, "Good");
    }
}

TEST_F(SavedExamsTest, TheToolbarOpensASaveFromAnywhere) {
    const fs::path elsewhere = WriteSave("away.sav", "Away", "3", folder.path() / "elsewhere");
    std::vector<fs::path> startFolders;
    std::optional<fs::path> answer;
    mainscreen::SetOpenSaveChooser([&](QWidget*, const fs::path& start) {
        startFolders.push_back(start);
        return answer;
    });
    frm_SwitchBoard& sb = EnterTab();
    sb.Toolbar1->actions().at(0)->trigger();
    ExpectNoDetails();
    answer = elsewhere;
    sb.Toolbar1->actions().at(0)->trigger();
    EXPECT_EQ(CurrentExam.Title, "Away");
    EXPECT_EQ(Details()[0], "Away");
    EXPECT_EQ(startFolders, (std::vector<fs::path>(2, AppPaths::SaveFolder())));
}

// Start -> exam window -> save -> saved-exams list -> resume -> finish.
TEST_F(SavedExamsTest, TheMainRoadFromStartToResume) {
    UserSettings.SkipSaveExamNotice = true;
    fs::path savePath = AppPaths::SaveFolder() / "road.sav";
    platform::SetSavePathChooser([&](QWidget*) { return savePath; });
    frm_SwitchBoard& sb = Load();
    sb.Trial_Start->click();
    frm_Exam* window = exam::ExamWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(exam::CurrentExamSession.GoTo(1));
    ASSERT_TRUE(exam::CurrentExamSession.RecordAnswer("A", true));
    const std::int32_t answeredId = CurrentExam.Questions->at(1).QuestionID;
    window->button_save_Click();
    exam::UnloadExamWindow();
    platform::SetSavePathChooser({});
    ASSERT_TRUE(fs::exists(savePath));

    EnterTab();
    ASSERT_EQ(sb.ListView3->rowCount(), 1);
    ClickRow("1");
    EXPECT_EQ(Details(),
              (std::vector<std::string>{"Exam 1", "45", "minutes", CurrentExam.RemainingText,
                                        "(hh:mm:ss)", "3", "2", "on"}));
    sb.Command5[1]->click();
    ASSERT_NE(exam::ExamWindow(), nullptr);
    EXPECT_EQ(exam::CurrentExamSession.SavePath(), savePath);
    EXPECT_EQ(CurrentQuestionIndex, 1);
    EXPECT_EQ(CurrentExam.Questions->at(1).QuestionID, answeredId);
    EXPECT_EQ(CurrentExam.Questions->at(1).GivenAnswers, std::vector<std::string>{"A"});

    // Resume, like Start, does nothing over a running exam.
    const CurrentExamRecord running = CurrentExam;
    sb.Command5[1]->click();
    EXPECT_EQ(CurrentExam, running);

    EXPECT_TRUE(exam::CurrentExamSession.GradeAndRecord());
    exam::UnloadExamWindow();
    EXPECT_TRUE(mod_Performance::HasPerformanceHistory());
}

}  // namespace
