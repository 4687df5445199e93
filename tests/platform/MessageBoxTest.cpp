#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>

#include <string>

#include "platform/MessageBox.h"
#include "platform/mod_Forms.h"
#include "support/GuiTestSupport.h"

namespace {

using platform::kNo;
using platform::kOk;
using platform::kYes;
using testsupport::ScriptedMessageBoxes;
using testsupport::ShownBox;

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetApplicationTitle("Exam Simulator \x96 Test"); }
    void TearDown() override { platform::SetApplicationTitle(previousTitle_); }

private:
    std::string previousTitle_ = platform::ApplicationTitle();
};

TEST_F(MessageBoxTest, ScriptedBoxesRecordWhatWasAskedAndAnswerInOrderNestingRestores) {
    ScriptedMessageBoxes boxes;
    boxes.queue(kYes);
    boxes.queue(kNo);
    boxes.queue(kOk);
    {
        ScriptedMessageBoxes inner;
        inner.queue(kNo);
        EXPECT_EQ(platform::MsgBox("inner", 36), kNo);
    }
    EXPECT_EQ(platform::MsgBox("Save the answers?", 36), kYes);
    EXPECT_EQ(platform::MsgBox("Quit \x93now\x94?", 36 + 256, "Leave"), kNo);
    EXPECT_EQ(platform::MsgBox("Done.", 64), kOk);
    EXPECT_EQ(boxes.shown(), (std::vector<ShownBox>{
                                 {"Save the answers?", "Exam Simulator \x96 Test", 36},
                                 {"Quit \x93now\x94?", "Leave", 292},
                                 {"Done.", "Exam Simulator \x96 Test", 64},
                             }));
}

TEST_F(MessageBoxTest, UnexpectedBoxFailsTheTestAndGetsTheSafeAnswer) {
    ScriptedMessageBoxes boxes;
    int answer = 0;
    EXPECT_NONFATAL_FAILURE(answer = platform::MsgBox("Delete everything?", 36),
                            "unexpected message box");
    EXPECT_EQ(answer, kNo);
    EXPECT_NONFATAL_FAILURE(answer = platform::MsgBox("File missing", 16), "File missing");
    EXPECT_EQ(answer, kOk);
    EXPECT_EQ(boxes.shown().size(), 2u);
    EXPECT_NONFATAL_FAILURE(boxes.expectNone(), "Delete everything?");
    boxes.clear();
    boxes.expectNone();
}

TEST_F(MessageBoxTest, AnswerLeftUnusedFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessageBoxes boxes;
            boxes.queue(kYes);
        },
        "never used");
}

TEST_F(MessageBoxTest, RealBoxShowsTheHistoricStyles) {
    using Box = QMessageBox;
    struct Case {
        int style = 0;
        Box::Icon icon = Box::NoIcon;
        Box::StandardButtons buttons;
        Qt::Key key = Qt::Key_unknown;
        int result = 0;
    };
    const Case cases[] = {
        {0, Box::NoIcon, Box::Ok, Qt::Key_Return, kOk},
        {16, Box::Critical, Box::Ok, Qt::Key_Escape, kOk},
        {32, Box::Question, Box::Ok, Qt::Key_Return, kOk},
        {48, Box::Warning, Box::Ok, Qt::Key_Return, kOk},
        {64, Box::Information, Box::Ok, Qt::Key_Return, kOk},
        // Return presses the default button: Yes, or No with "default button 2".
        {4, Box::NoIcon, Box::Yes | Box::No, Qt::Key_Return, kYes},
        {36, Box::Question, Box::Yes | Box::No, Qt::Key_Escape, kNo},
        {36 + 256, Box::Question, Box::Yes | Box::No, Qt::Key_Return, kNo},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style);
        const testsupport::ModalWatcher watcher([&c](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->standardButtons(), c.buttons);
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            EXPECT_EQ(box->text(), QString::fromUtf8("Score <b>80%</b> €"));
            EXPECT_EQ(box->windowTitle(), QString::fromUtf8("Exam Simulator – Test"));
            QTest::keyClick(box, c.key);
        });
        EXPECT_EQ(platform::MsgBox("Score <b>80%</b> \x80", c.style), c.result);
        EXPECT_TRUE(watcher.acted());
    }
}

TEST_F(MessageBoxTest, ABoxCentresOnTheMainWindowWhenNoWindowIsActive) {
    QWidget main;
    mod_Forms::Register(&main, "mdi_Main");
    main.setGeometry(300, 200, 640, 480);
    main.show();
    QWidget* owner = nullptr;
    QPoint centre;
    const testsupport::ModalWatcher watcher([&](QWidget* modal) {
        owner = modal->parentWidget();
        centre = modal->frameGeometry().center();
        QTest::keyClick(modal, Qt::Key_Return);
    });
    QApplication::setActiveWindow(nullptr);
    platform::MsgBox("Centred", platform::kInformation);
    ASSERT_TRUE(watcher.acted());
    EXPECT_EQ(owner, &main);
    EXPECT_LE((centre - main.frameGeometry().center()).manhattanLength(), 4);
}

}  // namespace
