#include <gtest/gtest.h>

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <array>

#include "core/ImageStore.h"
#include "core/PictureButton.h"
#include "support/GuiTestSupport.h"

namespace {

constexpr int kPressedSlot = 12;    // 12..15 all filled
constexpr int kNoDisabledSlot = 4;  // 5 stays empty

const QColor kPressed(200, 0, 0);
const QColor kDisabled(90, 90, 90);
const QColor kHover(0, 200, 0);
const QColor kNormal(0, 0, 200);

formats::Bytes solidPng(const QColor& colour) {
    return testsupport::PngBytes(QSize(16, 16), colour, QImage::Format_ARGB32);
}

class PictureButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = ImageStore;
        const std::array<QColor, 4> colours = {kPressed, kDisabled, kHover, kNormal};
        for (std::size_t i = 0; i < colours.size(); ++i)
            ImageStore[kPressedSlot + i].Bytes = solidPng(colours[i]);
        ImageStore[kNoDisabledSlot].Bytes = solidPng(kPressed);
        ImageStore[kNoDisabledSlot + 1].Bytes.clear();
        ImageStore[kNoDisabledSlot + 3].Bytes = solidPng(kNormal);

        window.resize(200, 100);
        button = new PictureButton(kPressedSlot, &window);
        button->setGeometry(50, 20, 40, 40);
        button->setHoverAllowed([this] { return hoverAllowed; });
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void TearDown() override { ImageStore = saved; }

    static QColor shown(const PictureButton& b) { return b.picture().toImage().pixelColor(0, 0); }

    void moveInside() { QTest::mouseMove(button, QPoint(8, 8)); }
    void moveOutside() { QTest::mouseMove(&window, QPoint(150, 80)); }

    decltype(ImageStore) saved;
    QWidget window;
    PictureButton* button = nullptr;
    bool hoverAllowed = true;
};

TEST_F(PictureButtonTest, EnterPressReleaseAndLeaveShowTheirSlots) {
    QSignalSpy clicks(button, &PictureButton::clicked);
    EXPECT_EQ(shown(*button), kNormal);

    moveInside();
    EXPECT_EQ(shown(*button), kHover);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(shown(*button), kPressed);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(clicks.size(), 1);
    EXPECT_EQ(shown(*button), kPressed);  // the click leaves the pressed look until a move

    QTest::mouseMove(button, QPoint(9, 9));
    EXPECT_EQ(shown(*button), kHover);
    moveOutside();
    EXPECT_EQ(shown(*button), kNormal);

    // Any button presses; only a left release inside clicks.
    QTest::mousePress(button, Qt::RightButton, {}, QPoint(8, 8));
    EXPECT_EQ(shown(*button), kPressed);
    QTest::mouseRelease(button, Qt::RightButton, {}, QPoint(8, 8));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_EQ(clicks.size(), 1);
}

TEST_F(PictureButtonTest, HoverWaitsUntilAllowed) {
    hoverAllowed = false;
    moveInside();
    EXPECT_EQ(shown(*button), kNormal);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(shown(*button), kPressed);  // pressing does not wait
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(8, 8));

    hoverAllowed = true;
    QTest::mouseMove(button, QPoint(10, 10));
    EXPECT_EQ(shown(*button), kHover);
}

TEST_F(PictureButtonTest, LatchedKeepsThePressedLook) {
    button->setLatched(true);
    EXPECT_EQ(shown(*button), kPressed);
    moveInside();
    moveOutside();
    EXPECT_EQ(shown(*button), kPressed);
    button->setLatched(false);
    EXPECT_EQ(shown(*button), kNormal);
}

TEST_F(PictureButtonTest, DisabledShowsTheDisabledSlotOrTheNormalImageGreyed) {
    button->setEnabled(false);
    EXPECT_EQ(shown(*button), kDisabled);
    button->setEnabled(true);
    EXPECT_EQ(shown(*button), kNormal);

    PictureButton noDisabled(kNoDisabledSlot, &window);
    noDisabled.setEnabled(false);
    ASSERT_FALSE(noDisabled.picture().isNull());
    const QColor greyed = shown(noDisabled);
    EXPECT_NE(greyed, kNormal);
    EXPECT_LT(std::abs(greyed.red() - greyed.blue()), 40);  // colour drained
}

}  // namespace
