#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>

#include <chrono>
#include <memory>
#include <vector>

#include "core/ReadOnlyTextBox.h"
#include "core/frm_Confirm.h"
#include "core/mod_System_Icons.h"
#include "platform/mod_Forms.h"
#include "support/GuiTestSupport.h"

namespace {

using testsupport::ModalWatcher;

ConfirmRequest stopTimerQuestion() {
    return {.title = "Stop timer",
            .message = "Stop the clock?\r\nThe time left is kept.",
            .rememberCaption = "Do not ask again",
            .yesCaption = "Yes",
            .noCaption = "No",
            .icon = mod_System_Icons::kQuestionIcon};
}

void deletePostedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Checks what the box shows, ticks Remember, then ends the box with `then`.
ModalWatcher::Action rememberThen(const ModalWatcher::Action& then) {
    return [then](QWidget* modal) {
        auto* box = qobject_cast<frm_Confirm*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->Message->text(), "Stop the clock?\nThe time left is kept.");
        EXPECT_EQ(box->Yes->text(), "&Yes");
        EXPECT_FALSE(box->Confirm_Icon->pixmap().isNull());
        box->Remember->setChecked(true);
        then(modal);
    };
}

TEST(Confirm, OnlyYesCountsAsYesAndRememberIsReadHoweverTheBoxEnds) {
    struct Case {
        const char* how;
        ModalWatcher::Action action;
        bool yes;
    };
    const Case cases[] = {
        {"Yes", ModalWatcher::clickButton("Yes"), true},
        {"No", ModalWatcher::clickButton("No"), false},
        {"Return", ModalWatcher::pressKey(Qt::Key_Return), true},
        {"Escape", ModalWatcher::pressKey(Qt::Key_Escape), false},
        {"title bar", [](QWidget* modal) { modal->close(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        const ModalWatcher watcher(rememberThen(c.action));
        const ConfirmAnswer given = AskConfirm(nullptr, stopTimerQuestion());
        EXPECT_TRUE(watcher.acted());
        EXPECT_EQ(given.yes, c.yes);
        EXPECT_TRUE(given.remember);
    }
    EXPECT_FALSE(mod_Forms::IsFormLoaded("frm_Confirm"));
    deletePostedWindows();
}

TEST(Confirm, NoticeShowsOnlyYes) {
    ConfirmRequest notice = stopTimerQuestion();
    notice.noCaption.clear();
    const ModalWatcher watcher([](QWidget* modal) {
        EXPECT_FALSE(modal->findChild<QPushButton*>("No")->isVisible());
        ModalWatcher::clickButton("Yes")(modal);
    });
    const ConfirmAnswer given = AskConfirm(nullptr, notice);
    EXPECT_TRUE(given.yes);
    EXPECT_FALSE(given.remember);
    deletePostedWindows();
}

TEST(Confirm, OwnerTornDownWhileOpenGivesNo) {
    auto owner = std::make_unique<QWidget>();
    const ModalWatcher watcher([&owner](QWidget*) { owner.reset(); });
    EXPECT_FALSE(AskConfirm(owner.get(), stopTimerQuestion()).yes);
    EXPECT_FALSE(mod_Forms::IsFormLoaded("frm_Confirm"));
}

TEST(Confirm, UnloadClearsTheIcon) {
    const QPointer<frm_Confirm> box = new frm_Confirm;  // deleted by Unload
    mod_System_Icons::DrawSystemIcon(box->Confirm_Icon, mod_System_Icons::kStopIcon);
    ASSERT_FALSE(box->Confirm_Icon->pixmap().isNull());
    box->Unload();
    EXPECT_TRUE(box->Confirm_Icon->pixmap().isNull());
    EXPECT_FALSE(mod_Forms::IsFormLoaded("frm_Confirm"));
    deletePostedWindows();
    EXPECT_TRUE(box.isNull());
}

TEST(SystemIcons, EachNumberDrawsItsOwnIconAtTheLargeSize) {
    QWidget window;
    std::vector<QImage> pictures;
    for (int number = 1; number <= 6; ++number) {
        SCOPED_TRACE(number);
        auto* box = new QLabel(&window);
        box->hide();
        mod_System_Icons::DrawSystemIcon(box, number);
        const int extent = box->style()->pixelMetric(QStyle::PM_LargeIconSize);
        EXPECT_FALSE(box->isHidden());
        EXPECT_EQ(box->pixmap().deviceIndependentSize().toSize(), QSize(extent, extent));
        pictures.push_back(box->pixmap().toImage());
    }
    for (std::size_t i = 0; i < pictures.size(); ++i)
        for (std::size_t j = i + 1; j < pictures.size(); ++j)
            EXPECT_NE(pictures[i], pictures[j]) << "icons " << i + 1 << " and " << j + 1;

    for (const int number : {0, 7, -1}) {
        SCOPED_TRACE(number);
        QLabel box(&window);
        box.hide();
        mod_System_Icons::DrawSystemIcon(&box, number);
        EXPECT_TRUE(box.pixmap().isNull());
        EXPECT_TRUE(box.isHidden());
    }
}

// The safety net of every modal test: an unanswered box must not hang the run.
void openBoxNobodyAnswers() {
    frm_Confirm box;
    const ModalWatcher watcher([](QWidget*) {}, std::chrono::milliseconds(50));
    box.exec();
}

TEST(ModalWatcher, ClosesAnUnansweredModalAndFails) {
    EXPECT_NONFATAL_FAILURE(openBoxNobodyAnswers(), "still open");
}

}  // namespace
