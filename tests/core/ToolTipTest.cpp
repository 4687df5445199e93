#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QTest>

#include <memory>
#include <string>

#include "core/cls_ToolTipText.h"

namespace {

int tipWindowCount() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += widget->objectName() == QLatin1String("ToolTipWindow") ? 1 : 0;
    return count;
}

class ToolTipTest : public ::testing::Test {
protected:
    void SetUp() override {
        control.resize(200, 100);
        control.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&control));
    }

    // The way the windows use it.
    void build(const std::string& title, const std::string& text) {
        tip.ParentControl(&control);
        tip.Style(0);
        tip.Title(title);
        tip.TipText(text);
        tip.Create();
    }

    void pointerEnters() {
        QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), control.mapToGlobal(QPointF(10, 10)));
        QApplication::sendEvent(&control, &enter);
    }

    bool waitShown() {
        return QTest::qWaitFor([this] { return tip.isShowing(); }, 5000);
    }

    QWidget control;
    cls_ToolTipText tip;
};

TEST_F(ToolTipTest, CreateReplacesTheTipAndWithoutParentMakesNone) {
    build("T", "one");
    build("T", "two");
    EXPECT_EQ(tipWindowCount(), 1);
    EXPECT_EQ(tip.shownText(), "two");

    QWidget other;
    tip.ParentControl(&other);
    tip.Create();
    EXPECT_EQ(tipWindowCount(), 1);

    tip.ParentControl(nullptr);
    tip.Create();
    EXPECT_FALSE(tip.hasTip());
    EXPECT_EQ(tipWindowCount(), 0);
}

TEST_F(ToolTipTest, ShowsAsPlainTextAfterTheDelayAndHidesOnLeaveOrAfterTheVisibleTime) {
    build("<b>x</b> \xe9", "a < b & <i>c</i>");
    EXPECT_EQ(tip.DelayTime(), 100);
    EXPECT_EQ(tip.VisibleTime(), 10000);
    EXPECT_EQ(tip.TipWidth(), 800);

    // Not shown during the delay, shown after it; no exact timing, which a loaded machine
    // cannot promise.
    tip.DelayTime(1000);
    pointerEnters();
    QTest::qWait(100);
    EXPECT_FALSE(tip.isShowing());
    ASSERT_TRUE(waitShown());
    EXPECT_EQ(tip.shownTitle(), "<b>x</b> \xe9");
    EXPECT_EQ(tip.shownText(), "a < b & <i>c</i>");
    for (const QLabel* label : tip.tipWindow()->findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
        }
    }

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&control, &leave);
    EXPECT_FALSE(tip.isShowing());

    tip.DelayTime(0);
    tip.VisibleTime(50);
    pointerEnters();
    ASSERT_TRUE(waitShown());
    EXPECT_TRUE(QTest::qWaitFor([this] { return !tip.isShowing(); }, 2000));
}

TEST_F(ToolTipTest, LongTextsWrapAtTheTipWidth) {
    std::string longText;
    for (int i = 0; i < 120; ++i)
        longText += "word ";
    build("Title", longText);
    const int lineHeight = tip.tipWindow()->fontMetrics().height();
    EXPECT_LE(tip.tipWindow()->width(), 800);
    EXPECT_GT(tip.tipWindow()->width(), 400);
    EXPECT_GT(tip.tipWindow()->height(), 4 * lineHeight);

    tip.TipWidth(300);
    EXPECT_LE(tip.tipWindow()->width(), 300);

    build("Title", "short");
    EXPECT_LT(tip.tipWindow()->width(), 200);
    EXPECT_LT(tip.tipWindow()->height(), 4 * lineHeight);
}

// Row tips are made one after another as the pointer moves down a list.
TEST_F(ToolTipTest, EachShownTipHoldsItsWholeText) {
    std::string longText;
    for (int i = 0; i < 60; ++i)
        longText += "word" + std::to_string(i) + " ";
    for (const std::string& text : {std::string("short"), longText, std::string("short")}) {
        build("Title", text);
        pointerEnters();
        ASSERT_TRUE(waitShown());
        EXPECT_EQ(tip.shownText(), text);
        const QWidget* window = tip.tipWindow();
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->isHidden() || label->text().isEmpty()) continue;
            EXPECT_GE(label->height(), label->heightForWidth(label->width())) << text;
            EXPECT_TRUE(window->rect().contains(label->geometry())) << text;
        }
    }
}

TEST_F(ToolTipTest, LivePropertiesAndTheTitleThatNeedsAnIcon) {
    build("A", "text");
    EXPECT_EQ(tip.shownTitle(), "A");
    tip.Title("B");
    EXPECT_EQ(tip.shownTitle(), "A");
    tip.Icon(1);
    EXPECT_EQ(tip.shownTitle(), "B");
    tip.TipText("new text");
    EXPECT_EQ(tip.shownText(), "new text");

    // Black, the platform's colour 0, means the default colour.
    const QColor defaultText = tip.tipWindow()->palette().color(QPalette::WindowText);
    tip.ForeColor(Qt::red);
    EXPECT_EQ(tip.tipWindow()->palette().color(QPalette::WindowText), QColor(Qt::red));
    tip.ForeColor(Qt::black);
    EXPECT_EQ(tip.tipWindow()->palette().color(QPalette::WindowText), defaultText);
}

TEST(ToolTipLifetime, ControlGoingFirstLeavesNoTip) {
    cls_ToolTipText tip;
    auto control = std::make_unique<QWidget>();
    tip.ParentControl(control.get());
    tip.TipText("text");
    tip.Create();
    control.reset();
    EXPECT_EQ(tip.ParentControl(), nullptr);
    EXPECT_FALSE(tip.isShowing());
    EXPECT_EQ(tipWindowCount(), 0);
}

}  // namespace
