#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include "browsers/FakeBrowserView.h"
#include "browsers/FullViewSteps.h"
#include "browsers/QuestionBrowserPage.h"
#include "core/AppPaths.h"
#include "core/ListView.h"
#include "core/mod_ComboBox.h"
#include "core/mod_ListViewSort.h"
#include "core/mod_Question.h"
#include "core/mod_System.h"
#include "mainscreen/SwitchBoardFixture.h"
#include "notes/NotesEditor.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"
#include "support/GuiTestSupport.h"
#include "support/SampleArchives.h"

namespace {

using testsupport::BytesOf;
using testsupport::movePointer;
using testsupport::tipTexts;
using testsupport::WriteFile;

struct BrowserTabsTest : testsupport::SwitchBoardFixture {
    void SetUp() override {
        SwitchBoardFixture::SetUp();
        SystemVars.ViewAllTexts.at(browser_text::kQuestionPage) = "Browse";
        SystemVars.ExamTexts.at(exam_text::kQuestion) = "Question ";
        SystemVars.BookmarkTexts.at(browser_text::kEmptyList) = "No bookmarks";
        SystemVars.MyNotesTexts.at(browser_text::kEmptyList) = "No notes";
    }

    static std::string Shown(const QTextEdit* box) { return platform::fromQt(box->toPlainText()); }
    static void DoubleClickRow(ListView* list, int row) {
        list->setCurrentRow(row);
        emit list->rowDoubleClicked(row);
    }
    // Beside no question the notes editor holds no note, not even the last one shown.
    static void ExpectNoNote(const QuestionBrowserPage& page, int line = __builtin_LINE()) {
        EXPECT_TRUE(page.NotesContents->toPlainText().isEmpty()) << "line " << line;
        EXPECT_TRUE(page.NotesContents->isReadOnly()) << "line " << line;
        EXPECT_FALSE(page.NoteEditor->LoadedQuestionId()) << "line " << line;
    }
};

TEST_F(BrowserTabsTest, ViewAllShowsEveryQuestionAndStepsThroughThem) {
    QuestionBank[6].Topic = "A much longer objective than the others";
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    EXPECT_EQ(sb.SSTab3->tabText(QuestionBrowserPage::kQuestionPage).toStdString(),
              "Browse   (Question 1 / 8)");
    EXPECT_NE(Shown(sb.RichTextBox1).find("\nQuestion 1\n"), std::string::npos);
    EXPECT_EQ(sb.Combo1->count(), 8);
    EXPECT_EQ(sb.ListView1->rowCount(), 0);  // built once its page shows
    sb.SSTab3->setCurrentIndex(QuestionBrowserPage::kListPage);
    EXPECT_EQ(sb.ListView1->rowCount(), 8);
    EXPECT_EQ(sb.ListView1->columnCount(), 5);
    for (int column = 0; column < 4; ++column)  // every cell fits, whatever its row
        EXPECT_GE(sb.ListView1->columnWidth(column),
                  static_cast<QAbstractItemView*>(sb.ListView1)->sizeHintForColumn(column));
    sb.SSTab3->setCurrentIndex(QuestionBrowserPage::kQuestionPage);
    EXPECT_FALSE(sb.Command6->isEnabled());
    EXPECT_TRUE(sb.Command7->isEnabled());

    sb.Command7->click();
    EXPECT_NE(Shown(sb.RichTextBox1).find("\nQuestion 2\n"), std::string::npos);
    sb.Combo1->setCurrentIndex(7);
    emit sb.Combo1->textActivated(QStringLiteral("8"));
    EXPECT_NE(Shown(sb.RichTextBox1).find("\nQuestion 8\n"), std::string::npos);
    EXPECT_FALSE(sb.Command7->isEnabled());

    // The answers box re-renders the same question.
    sb.Check1->click();
    EXPECT_NE(Shown(sb.RichTextBox1).find("\nQuestion 8\n"), std::string::npos);

    // Leaving and coming back keeps the position.
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kExamsTab);
    EXPECT_FALSE(sb.Command7->isEnabled() || sb.Command6->isEnabled());
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    EXPECT_EQ(sb.SSTab3->tabText(QuestionBrowserPage::kQuestionPage).toStdString(),
              "Browse   (Question 8 / 8)");
    EXPECT_TRUE(sb.Command6->isEnabled());
}

TEST_F(BrowserTabsTest, DoubleClickAfterSortingShowsTheClickedQuestion) {
    QuestionBank[2].QuestionText = "A first by text";
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    sb.SSTab3->setCurrentIndex(QuestionBrowserPage::kListPage);
    mod_ListViewSort::SortListViewColumn(*sb.ListView1, 4);
    ASSERT_EQ(sb.ListView1->text(0, 0), "3");
    DoubleClickRow(sb.ListView1, 0);
    EXPECT_EQ(sb.SSTab3->currentIndex(), QuestionBrowserPage::kQuestionPage);
    EXPECT_NE(Shown(sb.RichTextBox1).find("\nA first by text\n"), std::string::npos);
}

TEST_F(BrowserTabsTest, BookmarkTickedOnViewAllIsListedAndReachesResourceDat) {
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    sb.Command7->click();
    sb.Check2->click();
    EXPECT_TRUE(QuestionStatsTable[1].Bookmarked);

    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kBookmarksTab);
    ASSERT_EQ(sb.SSTab1->currentIndex(), frm_SwitchBoard::kBookmarksTab);
    sb.SSTab4->setCurrentIndex(QuestionBrowserPage::kListPage);
    EXPECT_EQ(sb.ListView5->rowCount(), 1);
    EXPECT_TRUE(sb.Check3->isChecked());
    EXPECT_NE(Shown(sb.RichTextBox2).find("\nA.  yes\n"), std::string::npos);

    ASSERT_TRUE(mod_Question::WriteStatistics());
    std::vector<QuestionStats> onDisk;
    ASSERT_TRUE(mod_System::ReadSignedFile(AppPaths::ResourceDat(), [&](auto& in) {
        onDisk = mod_Question::ReadStatsBody(in, QuestionStatsTable.size());
    }));
    EXPECT_TRUE(onDisk[1].Bookmarked);
}

TEST_F(BrowserTabsTest, DoubleClickOnAnEmptiedBookmarkListIsRefused) {
    QuestionStatsTable[4].Bookmarked = true;
    WriteFile(AppPaths::MyNotesFolder() / "5.html", BytesOf("<p>Mine</p>"));
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kBookmarksTab);
    ASSERT_EQ(sb.BookmarkPage->NotesContents->toPlainText(), QStringLiteral("Mine"));
    sb.Check3->click();  // the only bookmark
    EXPECT_FALSE(QuestionStatsTable[4].Bookmarked);
    sb.SSTab4->setCurrentIndex(QuestionBrowserPage::kListPage);
    ASSERT_EQ(sb.ListView5->rowCount(), 1);
    boxes.queue(platform::kOk);
    DoubleClickRow(sb.ListView5, 0);
    EXPECT_EQ(sb.SSTab1->currentIndex(), frm_SwitchBoard::kExamsTab);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "No bookmarks");
    EXPECT_TRUE(sb.RichTextBox2->toPlainText().isEmpty());
    ExpectNoNote(*sb.BookmarkPage);
    sb.SSTab4->setCurrentIndex(QuestionBrowserPage::kListPage);
    EXPECT_EQ(sb.ListView5->rowCount(), 0);
}

TEST_F(BrowserTabsTest, MyNotesListsTheNoteFilesThatExist) {
    WriteFile(AppPaths::MyNotesFolder() / "5.html", BytesOf("<p>a</p>"));
    WriteFile(AppPaths::MyNotesFolder() / "2.html", BytesOf("<p>b</p>"));
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kMyNotesTab);
    ASSERT_EQ(sb.SSTab1->currentIndex(), frm_SwitchBoard::kMyNotesTab);
    EXPECT_EQ(sb.Combo3->count(), 2);
    EXPECT_NE(Shown(sb.RichTextBox3).find("\nQuestion 2\n"), std::string::npos);
    sb.SSTab5->setCurrentIndex(QuestionBrowserPage::kListPage);
    EXPECT_EQ(sb.ListView6->text(1, 4), "Question 5");
}

TEST_F(BrowserTabsTest, PictureGoesIntoTheBoxWithoutTheClipboard) {
    QuestionPictures = {{"pic.gif", testsupport::PngBytes(QSize(4, 4), Qt::red)}};
    QuestionBank[0].PictureName = " PIC.gif";
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));
    const QString text = sb.RichTextBox1->toPlainText();
    const int picture = static_cast<int>(text.indexOf(QChar::ObjectReplacementCharacter));
    ASSERT_GE(picture, 0);
    EXPECT_LT(text.indexOf(QStringLiteral("Question 1")), picture);
    QuestionPictures.clear();
}

// Whether the box, as drawn, shows a pixel of that colour.
bool drawsColour(QTextEdit* box, QRgb colour) {
    const QImage drawn = box->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (drawn.pixel(x, y) == colour) return true;
    return false;
}

TEST_F(BrowserTabsTest, APictureStoredInCapitalsShowsOnTheTabAndInTheFullView) {
    const QRgb red = qRgb(255, 0, 0);
    QuestionPictures = {{"Exhibit.GIF", testsupport::PngBytes(QSize(24, 24), red)}};
    QuestionBank[0].PictureName = "exhibit.gif";
    frm_SwitchBoard& sb = Load();
    sb.show();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    EXPECT_TRUE(drawsColour(sb.RichTextBox1, red));
    bool inFullView = false;
    {
        testsupport::ModalWatcher watcher(testsupport::InFullView(
            [&](frm_FullView& w) { inFullView = drawsColour(w.RichTextBox1, red); }));
        sb.Command14->click();
        EXPECT_TRUE(watcher.acted());
    }
    EXPECT_TRUE(inFullView);
    QuestionPictures.clear();
}

TEST_F(BrowserTabsTest, TheQuestionBoxHandsTheFocusToTheFullViewButton) {
    frm_SwitchBoard& sb = Load();
    sb.show();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    sb.RichTextBox1->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(sb.Command14->hasFocus());
}

}  // namespace

namespace {

TEST_F(BrowserTabsTest, TabSwitchFullViewAndUnloadSaveTheOpenNote) {
    testsupport::RecordingNotes notes;
    frm_SwitchBoard& sb = Load();
    sb.BuildTab(frm_SwitchBoard::kViewAllTab);
    sb.ViewAllPage->Browser().SetNoteSlot(notes);
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    sb.Command7->click();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kExamsTab);
    EXPECT_EQ(notes.Take(), (std::vector<std::string>{"load 1", "save 1", "load 2", "save 2"}));

    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    {
        testsupport::ModalWatcher watcher(
            testsupport::ModalWatcher::clickButton(QStringLiteral("Command14")));
        sb.Command14->click();
    }
    // Saved before the window opens; reloaded from its file after it closed.
    EXPECT_EQ(notes.Take(), (std::vector<std::string>{"load 2", "save 2", "load 2"}));

    delete board;
    EXPECT_EQ(notes.Take(), (std::vector<std::string>{"save 2"}));
}

TEST_F(BrowserTabsTest, TypingANumberInTheJumpListShowsThatQuestion) {
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    QTest::keyClick(sb.Combo1, Qt::Key_6);
    EXPECT_NE(Shown(sb.RichTextBox1).find("\nQuestion 6\n"), std::string::npos);
    QTest::keyClick(sb.Combo1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(sb.Combo1, Qt::Key_7);
    EXPECT_NE(Shown(sb.RichTextBox1).find("\nQuestion 7\n"), std::string::npos);
    sb.Command6->click();
    EXPECT_TRUE(sb.Combo1->currentText().isEmpty());
    EXPECT_NE(Shown(sb.RichTextBox1).find("\nQuestion 6\n"), std::string::npos);
}

}  // namespace

namespace {

TEST_F(BrowserTabsTest, ARowTipNamesTheTypeAndShowsTheQuestion) {
    SystemVars.TypeNames.at(6) = "Fill";
    QuestionBank[2].QuestionType = kFillInAnswerType;
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    sb.SSTab3->setCurrentIndex(QuestionBrowserPage::kListPage);
    emit sb.ListView1->rowEntered(2);
    const QStringList texts = tipTexts();
    EXPECT_TRUE(texts.contains(QStringLiteral("Fill     (Double-Click to go to question)")))
        << texts.join(u'|').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Question 3")));
}

TEST_F(BrowserTabsTest, ARowTipShowsOnlyOverItsRowWhileThePointerIsThere) {
    frm_SwitchBoard& sb = Load();
    sb.resize(900, 700);
    sb.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sb));
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    sb.SSTab3->setCurrentIndex(QuestionBrowserPage::kListPage);
    ListView& list = *sb.ListView1;
    QWidget* rows = list.viewport();
    const auto rowCentre = [&list](int row) {
        return list.visualRect(list.model()->index(row, 1)).center();
    };
    const auto tipShows = [](const QString& text) {
        return QTest::qWaitFor([&text] { return tipTexts(true).contains(text); }, 1000);
    };
    const auto noTipShows = [] {
        return !QTest::qWaitFor([] { return !tipTexts(true).isEmpty(); }, 500);
    };

    movePointer(rows, rowCentre(6));
    ASSERT_TRUE(tipShows(QStringLiteral("Question 7")));
    DoubleClickRow(&list, 6);
    ASSERT_EQ(sb.SSTab3->currentIndex(), QuestionBrowserPage::kQuestionPage);
    // Back on the list with the pointer resting on the headings.
    movePointer(list.header(), list.header()->rect().center());
    sb.SSTab3->setCurrentIndex(QuestionBrowserPage::kListPage);
    EXPECT_TRUE(noTipShows()) << tipTexts(true).join(u'|').toStdString();

    movePointer(rows, rowCentre(1));
    EXPECT_TRUE(tipShows(QStringLiteral("Question 2")));
    movePointer(rows, QPoint(rowCentre(1).x(), rows->height() - 5));  // below the last row
    EXPECT_TRUE(noTipShows()) << tipTexts(true).join(u'|').toStdString();
}

TEST_F(BrowserTabsTest, ABankReplacedUnderTheListShowsItsOwnTextsOrNone) {
    WriteFile(AppPaths::MyNotesFolder() / "1.html", BytesOf("<p>Mine</p>"));
    frm_SwitchBoard& sb = Load();
    sb.SSTab1->setCurrentIndex(frm_SwitchBoard::kViewAllTab);
    ASSERT_EQ(sb.ViewAllPage->NotesContents->toPlainText(), QStringLiteral("Mine"));
    sb.SSTab3->setCurrentIndex(QuestionBrowserPage::kListPage);
    ASSERT_EQ(sb.ListView1->text(2, 4), "Question 3");
    emit sb.ListView1->rowEntered(1);
    ASSERT_TRUE(tipTexts().contains(QStringLiteral("Question 2")));

    // A filtered copy: question 3 is gone and question 4 reads differently.
    std::vector<QuestionRecord> bank;
    for (const QuestionRecord& q : QuestionBank)
        if (q.QuestionID != 3) bank.push_back(q);
    bank[2].QuestionText = "Reworded";
    QuestionBank = std::move(bank);

    EXPECT_EQ(sb.ListView1->text(2, 0), "3");
    EXPECT_EQ(sb.ListView1->text(2, 2), "");
    EXPECT_EQ(sb.ListView1->text(2, 4), "");
    EXPECT_EQ(sb.ListView1->text(3, 4), "Reworded");
    EXPECT_FALSE(sb.ListView1->grab().isNull());
    emit sb.ListView1->rowEntered(2);
    EXPECT_TRUE(tipTexts().isEmpty()) << tipTexts().join(u'|').toStdString();

    DoubleClickRow(sb.ListView1, 2);
    EXPECT_EQ(sb.SSTab3->currentIndex(), QuestionBrowserPage::kQuestionPage);
    EXPECT_EQ(sb.SSTab3->tabText(QuestionBrowserPage::kQuestionPage).toStdString(),
              "Browse   (Question 3 / 8)");
    EXPECT_TRUE(sb.RichTextBox1->toPlainText().isEmpty());
    ExpectNoNote(*sb.ViewAllPage);
    sb.Command7->click();
    EXPECT_NE(Shown(sb.RichTextBox1).find("\nReworded\n"), std::string::npos);
    EXPECT_FALSE(sb.ViewAllPage->NotesContents->isReadOnly());
}

}  // namespace
